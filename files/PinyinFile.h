#pragma once

#include "PinyinFormat.h"

#include <QString>

namespace files {

// A file opened for the editor, or the reason why it was refused.
struct OpenedFile {
    DecodedText content;
    QString refusal; // empty when the file was read
};

// Opening and saving whole pinyin text files.
class PinyinFile {
  public:
    static constexpr qint64 sizeLimit = qint64{64} << 20;

    // Refuses anything but a regular file (a folder, a FIFO, a device), a file it cannot read, a
    // file with NUL bytes and one over sizeLimit. It never waits for another process.
    static OpenedFile open(const QString& path);

    // The file's bytes are replaced by SafeSave, so that a failure leaves the file as it was.
    // Returns the reason of a failure, or an empty text.
    static QString save(const QString& path, const QString& editorText, FileFormat format = {});

    // Whether a file name given as bytes comes back as the same bytes from the name the program
    // holds; otherwise opening or saving it would reach another file.
    static bool keepsName(const QByteArray& name);
};

} // namespace files
