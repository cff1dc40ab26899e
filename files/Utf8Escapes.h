#pragma once

#include <QByteArray>
#include <QString>

namespace files {

// Text decoded from bytes that are UTF-8 apart from some stray bytes.
struct EscapedText {
    QString text;
    qsizetype strayBytes = 0;
    qsizetype multiByteCharacters = 0; // valid UTF-8 sequences of two bytes or more
};

// UTF-8 that keeps every byte: a byte that is not part of valid UTF-8 becomes a lone surrogate
// U+DC80 to U+DCFF (its "surrogate escape", as Python keeps such bytes) and is written back as the
// same byte, so that a file with one stray byte is saved as it was read.
class Utf8Escapes {
  public:
    static EscapedText decode(QByteArrayView bytes);
    // Other lone surrogates, which no file can have given, are written as U+FFFD.
    static QByteArray encode(QStringView text);
    // The text for other programs, which would read an escape as a broken character: U+FFFD.
    static QString forCopy(QString text);
    // How many characters a person sees: a surrogate pair counts once, an escape as one.
    static qsizetype characterCount(QStringView text);
};

} // namespace files
