#pragma once

#include <QString>
#include <QStringView>

namespace print {

// The editor's plain text with every line break as CR LF: LF, U+2028 and U+2029 become CR LF and
// a CR LF pair stays one line break. A CR that is not followed by LF is kept as it is, so it
// stays inside its word as the printout's line rule wants.
QString toCrLf(QStringView plainText);

} // namespace print
