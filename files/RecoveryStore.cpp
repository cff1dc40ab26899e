#include "RecoveryStore.h"

#include "PinyinFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>

#include <atomic>
#include <utility>

namespace files {

namespace {

constexpr auto ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

// A running instance holds its lock for hours; only a lock whose process is gone is stale.
std::unique_ptr<QLockFile> takeLock(const QString& path) {
    auto lock = std::make_unique<QLockFile>(path);
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return nullptr;
    return lock;
}

bool writeWhole(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return false;
    QFile::setPermissions(path, ownerOnly);
    return true;
}

qsizetype characterCount(const QString& text) {
    qsizetype count = 0;
    for (QChar c : text)
        count += c.isLowSurrogate() ? 0 : 1;
    return count;
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

QString RecoveryStore::fileOf(const QString& id, const char* suffix) const {
    return folder_ + '/' + id + QLatin1String(suffix);
}

QString RecoveryStore::textFile() const {
    return fileOf(id_, ".txt");
}

bool RecoveryStore::claim() {
    if (!QDir().mkpath(folder_) ||
        !QFile::setPermissions(folder_, ownerOnly | QFileDevice::ExeOwner))
        return false;
    // Two stores claimed within one millisecond of one process still get ids of their own.
    static std::atomic<int> claims = 0;
    id_ = QStringLiteral("%1-%2-%3")
              .arg(QCoreApplication::applicationPid())
              .arg(QDateTime::currentMSecsSinceEpoch())
              .arg(++claims);
    lock_ = takeLock(fileOf(id_, ".lock"));
    return lock_ != nullptr;
}

std::optional<Recovery> RecoveryStore::takeOrphan() {
    const QFileInfoList texts =
        QDir(folder_).entryInfoList({QStringLiteral("*.txt")}, QDir::Files, QDir::Time);
    for (const QFileInfo& text : texts) {
        const QString id = text.completeBaseName();
        if (id == id_)
            continue;
        auto lock = takeLock(fileOf(id, ".lock"));
        if (!lock)
            continue;
        if (auto orphan = read(id)) {
            orphanLock_ = std::move(lock);
            return orphan;
        }
    }
    return std::nullopt;
}

std::optional<Recovery> RecoveryStore::read(const QString& id) const {
    const QString path = fileOf(id, ".txt");
    const OpenedFile opened = PinyinFile::open(path);
    if (!opened.refusal.isEmpty() || opened.content.text.isEmpty())
        return std::nullopt;
    QFile documentPath(fileOf(id, ".path"));
    const QString document = documentPath.open(QIODevice::ReadOnly)
                                 ? QString::fromUtf8(documentPath.readAll())
                                 : QString();
    return Recovery{id, QFileInfo(path).lastModified(), opened.content.text, document,
                    characterCount(opened.content.text)};
}

void RecoveryStore::adopt(const Recovery& orphan) {
    remove();
    QFile::rename(fileOf(orphan.id, ".txt"), textFile());
    QFile::rename(fileOf(orphan.id, ".path"), fileOf(id_, ".path"));
    orphanLock_.reset();
}

void RecoveryStore::discard(const Recovery& orphan) {
    QFile::remove(fileOf(orphan.id, ".txt"));
    QFile::remove(fileOf(orphan.id, ".path"));
    orphanLock_.reset();
}

bool RecoveryStore::write(const QString& editorText, const QString& documentPath) {
    if (!lock_)
        return false;
    const QString pathFile = fileOf(id_, ".path");
    if (documentPath.isEmpty())
        QFile::remove(pathFile);
    else if (!writeWhole(pathFile, documentPath.toUtf8()))
        return false;
    return writeWhole(textFile(), PinyinFormat::encode(editorText));
}

void RecoveryStore::remove() {
    if (id_.isEmpty())
        return;
    QFile::remove(textFile());
    QFile::remove(fileOf(id_, ".path"));
}

} // namespace files
