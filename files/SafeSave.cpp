#include "SafeSave.h"

#include "PosixFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace files {

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("SafeSave", text);
}

// The file a chain of symbolic links ends at, which is the one to replace.
QString linkTarget(QString path) {
    for (int hops = 0; hops < 40 && QFileInfo(path).isSymLink(); ++hops)
        path = QFileInfo(path).symLinkTarget();
    return path;
}

// A new file of that name made by this call alone, never one that someone placed there.
PosixFile createBeside(const QByteArray& target, const char* kind, mode_t mode, QByteArray& name) {
    const qsizetype slash = target.lastIndexOf('/');
    PosixFile file;
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = target.first(slash + 1) + '.' + target.sliced(slash + 1) + kind +
               QByteArray::number(QRandomGenerator::global()->generate(), 36);
        file = PosixFile::openAt(AT_FDCWD, name, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, mode);
        if (file.isOpen() || file.error() != EEXIST)
            break;
    }
    return file;
}

bool sameOwner(PosixFile& file, const struct stat& old) {
    struct stat now {};
    return file.status(now) && now.st_uid == old.st_uid && now.st_gid == old.st_gid;
}

QString copyInto(PosixFile& backup, const QByteArray& target) {
    PosixFile original = PosixFile::open(QFile::decodeName(target), O_RDONLY | O_NOFOLLOW);
    std::optional<QByteArray> bytes;
    if (!original.isOpen() || !(bytes = original.read(std::numeric_limits<qint64>::max())))
        return original.errorText();
    if (!backup.writeAll(*bytes) || !backup.syncAndClose())
        return backup.errorText();
    return {};
}

} // namespace

QString SafeSave::write(const QString& path, const QByteArray& bytes) {
    const QByteArray target = QFile::encodeName(linkTarget(path));
    struct stat old {};
    const bool exists = ::stat(target.constData(), &old) == 0;
    if (!exists && errno != ENOENT)
        return PosixFile::reason(errno);
    if (exists && S_ISDIR(old.st_mode))
        return tr("it is a folder");
    if (exists && !S_ISREG(old.st_mode))
        return tr("it is not a regular file");
    if (exists && old.st_nlink > 1)
        return overwrite(target, bytes, old);
    bool ownerKept = true;
    const QString failure = replace(target, bytes, exists ? &old : nullptr, ownerKept);
    return ownerKept ? failure : overwrite(target, bytes, old);
}

QString SafeSave::replace(const QByteArray& target, const QByteArray& bytes, const struct stat* old,
                          bool& ownerKept) {
    QByteArray temporary;
    PosixFile file = createBeside(target, ".tonquill-", 0666, temporary);
    if (!file.isOpen())
        return file.errorText();
    // The owner first: a change of owner clears the set-id bits that the mode then sets.
    ownerKept =
        !old || sameOwner(file, *old) || ::fchown(file.get(), old->st_uid, old->st_gid) == 0;
    const bool written = ownerKept && (!old || ::fchmod(file.get(), old->st_mode & 07777) == 0) &&
                         file.writeAll(bytes) && file.syncAndClose() &&
                         ::rename(temporary.constData(), target.constData()) == 0;
    const int error = file.error() ? file.error() : errno;
    if (written)
        return {};
    ::unlink(temporary.constData());
    return PosixFile::reason(error);
}

QString SafeSave::overwrite(const QByteArray& target, const QByteArray& bytes,
                            const struct stat& old) {
    QByteArray backupName;
    PosixFile backup = createBeside(target, ".backup-", old.st_mode & 0644, backupName);
    const QString copied = backup.isOpen() ? copyInto(backup, target) : backup.errorText();
    if (!copied.isEmpty()) {
        ::unlink(backupName.constData());
        return tr("no backup copy could be made beside it (%1), so it was left as it was")
            .arg(copied);
    }
    PosixFile file = PosixFile::open(QFile::decodeName(target), O_WRONLY | O_NOFOLLOW);
    if (file.isOpen() && file.writeAll(bytes) && ::ftruncate(file.get(), bytes.size()) == 0 &&
        file.syncAndClose()) {
        ::unlink(backupName.constData());
        return {};
    }
    const int error = file.error() ? file.error() : errno;
    return tr("%1; its old text is kept in %2")
        .arg(PosixFile::reason(error), QFile::decodeName(backupName));
}

} // namespace files
