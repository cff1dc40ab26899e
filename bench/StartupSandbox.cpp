#include "StartupSandbox.h"

#include <QDir>
#include <QFile>

#include <cstdio>

#include <unistd.h>

namespace bench {

namespace {

const QStringList shippedFiles{"tonquill", "font.log", "pyserif.ttf", "zhongwen.gif"};

bool isReplaced(const QString& variable, const QStringList& names) {
    const QString name = variable.section(u'=', 0, 0);
    return name == u"QT_QPA_PLATFORM" || names.contains(name);
}

} // namespace

StartupSandbox::StartupSandbox(const QString& programFolder) {
    ready_ = root_.isValid() && copyProgramFolder(programFolder) && makeHome();
}

bool StartupSandbox::copyProgramFolder(const QString& programFolder) {
    if (!QDir(root_.path()).mkdir("program"))
        return false;
    for (const QString& name : shippedFiles) {
        if (!QFile::copy(programFolder + "/" + name, root_.filePath("program/" + name)))
            return false;
    }
    return true;
}

// The home's variables come from the list that the tests and scripts read too, so that a folder
// added there is never left pointing at the user's own.
bool StartupSandbox::makeHome() {
    QFile list(QStringLiteral(TONQUILL_SANDBOX_LIST));
    if (!list.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "Cannot read %s.\n", qPrintable(list.fileName()));
        return false;
    }
    const QString home = root_.filePath("home");
    while (!list.atEnd()) {
        const QString line = QString::fromUtf8(list.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const qsizetype equals = line.indexOf(u'=');
        if (equals <= 0) {
            std::fprintf(stderr, "%s: not NAME=folder: %s\n", qPrintable(list.fileName()),
                         qPrintable(line));
            return false;
        }
        const QString name = line.left(equals);
        const QString folder = QDir::cleanPath(home + u'/' + line.mid(equals + 1));
        if (!QDir().mkpath(folder))
            return false;
        // The base directory rules require the runtime folder to be the user's alone.
        if (name == u"XDG_RUNTIME_DIR" &&
            !QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
            return false;
        homeVariables_.append({name, folder});
    }
    return !homeVariables_.isEmpty();
}

std::string StartupSandbox::program() const {
    return root_.filePath("program/tonquill").toStdString();
}

QByteArray StartupSandbox::marker() const {
    QFile file(root_.filePath("program/font.log"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void StartupSandbox::rewriteMarker() {
    QFile file(root_.filePath("program/font.log"));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write("\"Ja\"\r\n");
}

std::vector<std::string> StartupSandbox::environment() const {
    QStringList names;
    for (const auto& [name, folder] : homeVariables_)
        names.append(name);
    std::vector<std::string> variables;
    for (char** variable = environ; *variable != nullptr; ++variable) {
        if (!isReplaced(QString::fromLocal8Bit(*variable), names))
            variables.emplace_back(*variable);
    }
    for (const auto& [name, folder] : homeVariables_)
        variables.push_back((name + u'=' + folder).toStdString());
    variables.emplace_back("QT_QPA_PLATFORM=xcb");
    return variables;
}

} // namespace bench
