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

    // Refuses a folder, a file it cannot read, a file with NUL bytes and one over sizeLimit.
    static OpenedFile open(const QString& path);

    // Writes a temporary file beside `path` and renames it over `path`, so that a failure leaves
    // the file as it was. Returns the reason of a failure, or an empty text.
    static QString save(const QString& path, const QString& editorText);
};

} // namespace files
