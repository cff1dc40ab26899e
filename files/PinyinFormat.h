#pragma once

#include <QString>

class QByteArray;
class QByteArrayView;

namespace files {

enum class LineEnd { lf, crLf, cr };

// What a file's bytes had around its text, written back as it was read.
struct FileFormat {
    LineEnd lineEnd = LineEnd::lf;
    bool byteOrderMark = false;

    bool operator==(const FileFormat&) const = default;
};

// Text as the editor holds it, read from a file's bytes.
struct DecodedText {
    QString text;
    QString lookalikeSigns; // signs that will show and be saved as tone letters
    bool windows1252 = false;
    qsizetype strayBytes = 0; // not UTF-8, kept as escapes
    FileFormat format;
};

// The file format: UTF-8 in standard Unicode pinyin. The editor holds tone letters as the tone
// font's glyph codes and every line end as LF, so both directions convert.
class PinyinFormat {
  public:
    enum class Origin { anyFile, ownFile };

    // The first line end (CR LF, CR or LF) is taken for all, and a byte order mark is noted. Bytes
    // that are not UTF-8 are kept as escapes, except in a file where no byte beyond ASCII is part
    // of valid UTF-8: that one is read as Windows-1252 with the glyph codes as they stand, as the
    // tone font's older programs saved them. A file the program wrote itself is never such a file.
    static DecodedText decode(QByteArrayView bytes, Origin origin = Origin::anyFile);
    static QByteArray encode(const QString& editorText, FileFormat format = {});

    // A short name of a format, for a file that records it, and back.
    static QByteArray formatName(FileFormat format);
    static FileFormat formatNamed(QByteArrayView name);
};

} // namespace files
