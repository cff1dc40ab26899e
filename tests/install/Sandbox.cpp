#include "Sandbox.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace {

const char* const variables[] = {"HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"};

std::optional<QByteArray> currentValue(const char* name) {
    if (!qEnvironmentVariableIsSet(name))
        return std::nullopt;
    return qgetenv(name);
}

QByteArray describe(const QFileInfo& entry) {
    if (entry.isSymLink())
        return "link to " + QFile::encodeName(entry.symLinkTarget());
    if (entry.isDir())
        return "folder";
    if (!entry.isFile())
        return "special";
    QFile file(entry.filePath());
    if (!file.open(QIODevice::ReadOnly))
        return "unreadable file of " + QByteArray::number(entry.size());
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(&file);
    return "file " + hash.result().toHex();
}

} // namespace

Sandbox::Sandbox() : savedCwd_(QDir::currentPath()) {
    for (const char* name : variables)
        savedVariables_.append({name, currentValue(name)});
    for (const QString& folder : {program(), home() + "/.local/share", cache(), cwd(), outside()})
        QDir().mkpath(folder);
    dataHome_ = home() + "/.local/share";
    setVariable("HOME", QFile::encodeName(home()));
    setVariable("XDG_DATA_HOME", QFile::encodeName(dataHome_));
    setVariable("XDG_CACHE_HOME", QFile::encodeName(cache()));
    QDir::setCurrent(cwd());
}

Sandbox::~Sandbox() {
    QDir::setCurrent(savedCwd_);
    for (const auto& [name, value] : savedVariables_)
        setVariable(name.constData(), value);
    // Folders a test made read-only must not keep the temporary folder from going away.
    for (const QString& folder : {program(), fonts()})
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void Sandbox::useDataHome(const QString& folder) {
    if (folder.isEmpty()) {
        setVariable("XDG_DATA_HOME", std::nullopt);
        dataHome_ = home() + "/.local/share";
        return;
    }
    QDir().mkpath(folder);
    setVariable("XDG_DATA_HOME", QFile::encodeName(folder));
    dataHome_ = folder;
}

void Sandbox::setVariable(const char* name, const std::optional<QByteArray>& value) {
    if (value)
        qputenv(name, *value);
    else
        qunsetenv(name);
}

void Sandbox::writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

QByteArray Sandbox::readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QMap<QString, QByteArray> Sandbox::untouchableState() const {
    QMap<QString, QByteArray> state;
    QDirIterator entries(root(),
                         QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
    while (entries.hasNext()) {
        const QString path = entries.next();
        if (!isOwnedByProgram(path))
            state.insert(path, describe(entries.fileInfo()));
    }
    return state;
}

bool Sandbox::isOwnedByProgram(const QString& path) const {
    for (const QString& folder : {program(), fonts(), cache()}) {
        if (path == folder || path.startsWith(folder + '/'))
            return true;
    }
    return false;
}
