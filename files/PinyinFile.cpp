#include "PinyinFile.h"

#include "PosixFile.h"
#include "SafeSave.h"

#include <QCoreApplication>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

namespace files {

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("PinyinFile", text);
}

OpenedFile refused(const QString& reason) {
    return {{}, reason};
}

QString notAFile(mode_t mode) {
    if (S_ISDIR(mode))
        return tr("it is a folder");
    if (S_ISFIFO(mode))
        return tr("it is a named pipe (FIFO), not a file");
    if (S_ISSOCK(mode))
        return tr("it is a socket, not a file");
    return tr("it is a device, not a file");
}

} // namespace

OpenedFile PinyinFile::open(const QString& path) {
    // Without O_NONBLOCK, opening a FIFO waits for a writer that may never come.
    PosixFile file = PosixFile::open(path, O_RDONLY | O_NONBLOCK);
    if (!file.isOpen())
        return refused(file.error() == ENOENT ? tr("there is no such file") : file.errorText());
    struct stat info {};
    if (!file.status(info))
        return refused(file.errorText());
    if (!S_ISREG(info.st_mode))
        return refused(notAFile(info.st_mode));
    if (info.st_size > sizeLimit)
        return refused(tr("it is larger than 64 MiB"));
    // Read one byte past the limit, in case the file grew since it was measured.
    const std::optional<QByteArray> bytes = file.read(sizeLimit + 1);
    if (!bytes)
        return refused(file.errorText());
    if (bytes->size() > sizeLimit)
        return refused(tr("it is larger than 64 MiB"));
    if (bytes->contains('\0'))
        return refused(tr("it holds NUL bytes, so it is not a text file"));
    return {PinyinFormat::decode(*bytes), {}};
}

QString PinyinFile::save(const QString& path, const QString& editorText, FileFormat format) {
    return SafeSave::write(path, PinyinFormat::encode(editorText, format));
}

bool PinyinFile::keepsName(const QByteArray& name) {
    return QFile::encodeName(QFile::decodeName(name)) == name;
}

} // namespace files
