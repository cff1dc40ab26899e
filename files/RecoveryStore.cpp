#include "RecoveryStore.h"

#include "Utf8Escapes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <limits>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace files {

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("RecoveryStore", text);
}

struct OwnName {
    QString id;
    QString kind;
    QString length; // of a write under way, with its checksum
    QString checksum;
};

// The end of the run of characters from `from` that `accepts` takes.
template <typename Accepts> qsizetype runEnd(QStringView name, qsizetype from, Accepts accepts) {
    while (from < name.size() && accepts(name[from]))
        ++from;
    return from;
}

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

bool isHexDigit(QChar c) {
    return isDigit(c) || (c >= u'a' && c <= u'f');
}

// `<id>.txt`, `<id>.path` and `<id>.lock`, and a write under way: `<id>.txt.<length>.<checksum>`,
// where the id is three runs of digits joined by '-' and the checksum 16 hex digits. Read by hand:
// a regular expression would cost every start its compilation.
std::optional<OwnName> ownName(QStringView name) {
    qsizetype at = 0;
    for (const char16_t after : {u'-', u'-', u'.'}) {
        const qsizetype end = runEnd(name, at, isDigit);
        if (end == at || end == name.size() || name[end] != after)
            return std::nullopt;
        at = end + 1;
    }
    OwnName own;
    own.id = name.first(at - 1).toString();
    const qsizetype kindEnd = runEnd(name, at, [](QChar c) { return c != u'.'; });
    own.kind = name.sliced(at, kindEnd - at).toString();
    if (own.kind != u"txt" && own.kind != u"path" && own.kind != u"lock")
        return std::nullopt;
    if (kindEnd == name.size())
        return own;
    const qsizetype lengthEnd = runEnd(name, kindEnd + 1, isDigit);
    const qsizetype sumEnd = runEnd(name, lengthEnd + 1, isHexDigit);
    if (lengthEnd == kindEnd + 1 || lengthEnd == name.size() || name[lengthEnd] != u'.' ||
        sumEnd != name.size() || sumEnd - lengthEnd - 1 != 16)
        return std::nullopt;
    own.length = name.sliced(kindEnd + 1, lengthEnd - kindEnd - 1).toString();
    own.checksum = name.sliced(lengthEnd + 1).toString();
    return own;
}

// FNV-1a: enough to tell a write that was cut short from a whole one.
QByteArray checksum(QByteArrayView bytes) {
    quint64 hash = 14695981039346656037ull;
    for (const char byte : bytes)
        hash = (hash ^ static_cast<unsigned char>(byte)) * 1099511628211ull;
    return QByteArray::number(hash, 16).rightJustified(16, '0');
}

QByteArray writingName(const QString& name, QByteArrayView bytes) {
    return QFile::encodeName(name) + '.' + QByteArray::number(bytes.size()) + '.' + checksum(bytes);
}

// A running instance holds its lock for hours; only a lock whose process is gone is stale.
std::unique_ptr<QLockFile> takeLock(const QString& path) {
    auto lock = std::make_unique<QLockFile>(path);
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return nullptr;
    return lock;
}

} // namespace

RecoveryStore::RecoveryStore(QString folder) : folder_(std::move(folder)) {}

RecoveryStore::~RecoveryStore() = default;

QString RecoveryStore::defaultFolder() {
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (!QDir::isAbsolutePath(state))
        state = QDir::homePath() + "/.local/state";
    return state + "/tonquill";
}

QString RecoveryStore::textFile() const {
    return folder_ + '/' + id_ + ".txt";
}

bool RecoveryStore::off(const QString& reason) {
    folderFile_ = PosixFile();
    failure_ = reason;
    return false;
}

// As ssh checks its own folder: a link could lead anywhere, and a folder that others may write
// could hold their files under names of ours.
bool RecoveryStore::claim() {
    QDir().mkpath(QFileInfo(folder_).path());
    if (::mkdir(QFile::encodeName(folder_).constData(), 0700) != 0 && errno != EEXIST)
        return off(PosixFile::reason(errno));
    folderFile_ = PosixFile::open(folder_, O_RDONLY | O_DIRECTORY | O_NOFOLLOW);
    struct stat info {};
    if (!folderFile_.isOpen()) {
        const int error = folderFile_.error();
        return off(error == ELOOP || error == ENOTDIR ? tr("it is a link or a file, not a folder")
                                                      : PosixFile::reason(error));
    }
    if (!folderFile_.status(info))
        return off(folderFile_.errorText());
    if (info.st_uid != ::geteuid())
        return off(tr("it belongs to another user"));
    if (info.st_mode & (S_IWGRP | S_IWOTH))
        return off(tr("other users may write to it"));
    // Two stores claimed within one millisecond of one process still get ids of their own.
    static std::atomic<int> claims = 0;
    id_ = QStringLiteral("%1-%2-%3")
              .arg(QCoreApplication::applicationPid())
              .arg(QDateTime::currentMSecsSinceEpoch())
              .arg(++claims);
    lock_ = takeLock(folder_ + '/' + id_ + ".lock");
    if (!lock_)
        return off(tr("its lock file could not be made"));
    return true;
}

QStringList RecoveryStore::entries() const {
    QStringList names;
    const int copy = ::dup(folderFile_.get());
    DIR* folder = copy >= 0 ? ::fdopendir(copy) : nullptr;
    if (!folder) {
        if (copy >= 0)
            ::close(copy);
        return names;
    }
    ::rewinddir(folder);
    while (const dirent* entry = ::readdir(folder)) {
        const QString name = QFile::decodeName(entry->d_name);
        if (ownName(name))
            names << name;
    }
    ::closedir(folder);
    return names;
}

PosixFile RecoveryStore::ownFile(const QString& name) const {
    PosixFile file = PosixFile::openAt(folderFile_.get(), QFile::encodeName(name),
                                       O_RDONLY | O_NOFOLLOW | O_NONBLOCK);
    struct stat info {};
    if (file.isOpen() && file.status(info) && S_ISREG(info.st_mode) && info.st_uid == ::geteuid())
        return file;
    return {};
}

std::optional<QByteArray> RecoveryStore::readOwn(const QString& name) const {
    PosixFile file = ownFile(name);
    return file.isOpen() ? file.read(std::numeric_limits<qint64>::max()) : std::nullopt;
}

void RecoveryStore::removeOwn(const QString& name) const {
    if (ownFile(name).isOpen())
        ::unlinkat(folderFile_.get(), QFile::encodeName(name).constData(), 0);
}

void RecoveryStore::clearStaleLocks() const {
    const QStringList names = entries();
    for (const QString& name : names) {
        const QString id = ownName(name)->id;
        if (id == id_ || !name.endsWith(".lock") || !ownFile(name).isOpen() ||
            std::ranges::any_of(
                names, [&id](const QString& other) { return other.startsWith(id + ".txt"); }))
            continue;
        if (auto lock = takeLock(folder_ + '/' + name))
            lock->unlock();
    }
}

// Newest first, by the time of the text or of a write of it under way.
QStringList RecoveryStore::orphans() const {
    std::vector<std::pair<qint64, QString>> found;
    for (const QString& name : entries()) {
        const OwnName own = *ownName(name);
        struct stat info {};
        if (own.id != id_ && own.kind == u"txt" &&
            ::fstatat(folderFile_.get(), QFile::encodeName(name).constData(), &info,
                      AT_SYMLINK_NOFOLLOW) == 0)
            found.emplace_back(qint64(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec,
                               own.id);
    }
    std::ranges::sort(found, std::greater{});
    QStringList ids;
    for (const auto& [time, id] : found) {
        if (!ids.contains(id))
            ids << id;
    }
    return ids;
}

std::optional<Recovery> RecoveryStore::takeOrphan() {
    if (!folderFile_.isOpen())
        return std::nullopt;
    for (const QString& id : orphans()) {
        auto lock = takeLock(folder_ + '/' + id + ".lock");
        if (!lock)
            continue;
        finishInterruptedWrites(id);
        if (auto orphan = read(id)) {
            orphanLock_ = std::move(lock);
            return orphan;
        }
        if (readOwn(id + ".txt").value_or("-").isEmpty()) {
            removeOwn(id + ".txt");
            removeOwn(id + ".path");
        }
    }
    return std::nullopt;
}

// A write under way whose length and checksum match was whole: only its rename was missed.
void RecoveryStore::finishInterruptedWrites(const QString& id) const {
    for (const QString& name : entries()) {
        const OwnName own = *ownName(name);
        if (own.id != id || own.length.isEmpty())
            continue;
        const auto bytes = readOwn(name);
        if (!bytes)
            continue;
        const QByteArray finished = QFile::encodeName(id + '.' + own.kind);
        if (bytes->size() == own.length.toLongLong() && checksum(*bytes) == own.checksum.toLatin1())
            ::renameat(folderFile_.get(), QFile::encodeName(name).constData(), folderFile_.get(),
                       finished.constData());
        else
            removeOwn(name);
    }
}

std::optional<Recovery> RecoveryStore::read(const QString& id) const {
    PosixFile file = ownFile(id + ".txt");
    struct stat info {};
    const auto bytes = file.isOpen() && file.status(info)
                           ? file.read(std::numeric_limits<qint64>::max())
                           : std::nullopt;
    if (!bytes || bytes->isEmpty())
        return std::nullopt;
    const QString text = PinyinFormat::decode(*bytes, PinyinFormat::Origin::ownFile).text;
    const QByteArray document = readOwn(id + ".path").value_or(QByteArray());
    const qsizetype end = document.contains('\0') ? document.indexOf('\0') : document.size();
    return Recovery{id,
                    QDateTime::fromMSecsSinceEpoch(qint64(info.st_mtim.tv_sec) * 1000 +
                                                   info.st_mtim.tv_nsec / 1'000'000),
                    text,
                    QString::fromUtf8(document.first(end)),
                    PinyinFormat::formatNamed(document.sliced(std::min(end + 1, document.size()))),
                    Utf8Escapes::characterCount(text)};
}

void RecoveryStore::adopt(const Recovery& orphan) {
    remove();
    for (const char* suffix : {".txt", ".path"}) {
        ::renameat(folderFile_.get(), QFile::encodeName(orphan.id + suffix).constData(),
                   folderFile_.get(), QFile::encodeName(id_ + suffix).constData());
    }
    orphanLock_.reset();
}

void RecoveryStore::discard(const Recovery& orphan) {
    removeOwn(orphan.id + ".txt");
    removeOwn(orphan.id + ".path");
    orphanLock_.reset();
}

// Made afresh under a name of its own and renamed into place, so that no link placed in the
// folder is followed and a write cut short is never taken for the text.
QString RecoveryStore::writeWhole(const QString& name, const QByteArray& bytes) const {
    const QByteArray writing = writingName(name, bytes);
    const int folder = folderFile_.get();
    ::unlinkat(folder, writing.constData(), 0);
    PosixFile file = PosixFile::openAt(folder, writing, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW,
                                       S_IRUSR | S_IWUSR);
    if (file.isOpen() && file.writeAll(bytes) && file.syncAndClose() &&
        ::renameat(folder, writing.constData(), folder, QFile::encodeName(name).constData()) == 0)
        return {};
    const int error = file.error() ? file.error() : errno;
    ::unlinkat(folder, writing.constData(), 0);
    return PosixFile::reason(error);
}

QString RecoveryStore::write(const QString& editorText, const QString& documentPath,
                             FileFormat format) {
    if (!lock_)
        return failure_.isEmpty() ? tr("recovery is off") : failure_;
    const QString pathFile = id_ + ".path";
    if (documentPath.isEmpty())
        ::unlinkat(folderFile_.get(), QFile::encodeName(pathFile).constData(), 0);
    else if (QString failure = writeWhole(pathFile, documentPath.toUtf8() + '\0' +
                                                        PinyinFormat::formatName(format));
             !failure.isEmpty())
        return failure;
    return writeWhole(id_ + ".txt", PinyinFormat::encode(editorText));
}

void RecoveryStore::remove() {
    if (id_.isEmpty() || !folderFile_.isOpen())
        return;
    for (const char* suffix : {".txt", ".path"})
        ::unlinkat(folderFile_.get(), QFile::encodeName(id_ + suffix).constData(), 0);
}

} // namespace files
