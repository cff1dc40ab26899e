#include "Sandbox.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

Sandbox::Sandbox() : savedCwd_(QDir::currentPath()) {
    for (const char* name : {"HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
        savedVariables_.append(
            {name, qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt});
    for (const QString& folder : {program, outside, dataHome, root + "/cwd"})
        QDir().mkpath(folder);
    setVariable("HOME", QFile::encodeName(root + "/home").constData());
    setVariable("XDG_DATA_HOME", QFile::encodeName(dataHome).constData());
    setVariable("XDG_CACHE_HOME", QFile::encodeName(root + "/cache").constData());
    QDir::setCurrent(root + "/cwd");
}

Sandbox::~Sandbox() {
    QDir::setCurrent(savedCwd_);
    for (const auto& [name, value] : savedVariables_)
        setVariable(name, value ? value->constData() : nullptr);
    // Folders a test made read-only must not keep the temporary folder from going away.
    for (const QString& folder : {program, fonts()})
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void Sandbox::setVariable(const char* name, const char* value) {
    value ? qputenv(name, value) : qunsetenv(name);
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

QByteArray Sandbox::describe(const QString& path) {
    const QFileInfo entry(path);
    if (entry.isSymLink())
        return "link to " + QFile::encodeName(entry.symLinkTarget());
    if (!entry.exists() || entry.isDir() || !entry.isFile())
        return !entry.exists() ? "missing" : entry.isDir() ? "folder" : "special";
    const QByteArray digest = QCryptographicHash::hash(readFile(path), QCryptographicHash::Sha1);
    return "file of " + QByteArray::number(entry.size()) + ", " + digest.toHex();
}

QMap<QString, QByteArray> Sandbox::untouchableState() const {
    QMap<QString, QByteArray> state;
    QDirIterator entries(root,
                         QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
    while (entries.hasNext()) {
        const QString path = entries.next();
        bool owned = false;
        for (const QString& folder : {program, fonts(), root + "/cache"})
            owned = owned || path == folder || path.startsWith(folder + '/');
        if (!owned)
            state.insert(path, describe(path));
    }
    return state;
}
