#include "LineBreaks.h"

namespace print {

namespace {

bool isLineBreak(QChar c) {
    return c == u'\n' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

} // namespace

QString toCrLf(QStringView plainText) {
    QString result;
    result.reserve(plainText.size() + plainText.count(u'\n') + 16);
    for (qsizetype i = 0; i < plainText.size(); ++i) {
        const QChar c = plainText[i];
        if (c == u'\r' && i + 1 < plainText.size() && plainText[i + 1] == u'\n') {
            result += u"\r\n";
            ++i;
        } else if (isLineBreak(c)) {
            result += u"\r\n";
        } else {
            result += c;
        }
    }
    return result;
}

} // namespace print
