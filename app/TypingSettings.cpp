#include "TypingSettings.h"

#include <QSettings>

namespace {

const QString key = QStringLiteral("typing/toneAfterSyllable");
// Named in full rather than through the application's names, so that every program built on the
// window (tests and benchmarks too) reads and writes the one file the user knows.
const QString name = QStringLiteral("tonquill");

} // namespace

bool TypingSettings::toneAfterSyllable() {
    const QSettings settings(QSettings::NativeFormat, QSettings::UserScope, name, name);
    return settings.value(key).toString().compare("true", Qt::CaseInsensitive) == 0;
}

void TypingSettings::setToneAfterSyllable(bool on) {
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, name, name);
    settings.setValue(key, on);
}
