#pragma once

#include <QString>

class QByteArray;
class QByteArrayView;

namespace files {

// Text as the editor holds it, read from a file's bytes.
struct DecodedText {
    QString text;
    QString lookalikeSigns; // signs that will show and be saved as tone letters
    bool windows1252 = false;
};

// The file format: UTF-8 in standard Unicode pinyin, lines ending in LF, no byte order mark. The
// editor holds tone letters as the tone font's glyph codes, so both directions convert.
class PinyinFormat {
  public:
    // A byte order mark is skipped and CR LF and CR become LF. Bytes that are not valid UTF-8 are
    // read as Windows-1252 with the glyph codes as they stand, as the tone font's older programs
    // saved them.
    static DecodedText decode(QByteArrayView bytes);
    static QByteArray encode(const QString& editorText);
};

} // namespace files
