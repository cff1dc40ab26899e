#include "SimulatedWindows.h"

#include <stdexcept>

bool SimulatedWindows::fails(const char* name, const QStringList& arguments, bool canReport) {
    const QLatin1String operation(name ? name : "");
    if (name)
        calls << QStringLiteral("%1(%2)").arg(operation, arguments.join(QStringLiteral(", ")));
    const bool fail = name && failing.contains(operation);
    if (failing.contains("*") || (name && failing.contains(operation + '!')) ||
        (fail && !canReport))
        throw std::runtime_error("raised by the test");
    return fail;
}
