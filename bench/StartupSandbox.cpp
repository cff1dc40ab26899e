#include "StartupSandbox.h"

#include <QDir>
#include <QFile>

#include <unistd.h>

namespace bench {

namespace {

const QStringList shippedFiles{"tonquill", "font.log", "pyserif.ttf", "zhongwen.gif"};
const QStringList replacedVariables{
    "HOME=",           "XDG_DATA_HOME=", "XDG_CACHE_HOME=", "XDG_CONFIG_HOME=", "XDG_RUNTIME_DIR=",
    "QT_QPA_PLATFORM="};

bool isReplaced(const QString& variable) {
    for (const QString& name : replacedVariables) {
        if (variable.startsWith(name))
            return true;
    }
    return false;
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

bool StartupSandbox::makeHome() {
    QDir home(root_.path());
    if (!home.mkpath("home/.local/share") || !home.mkpath("home/.cache") ||
        !home.mkpath("home/.config") || !home.mkpath("home/run"))
        return false;
    return QFile::setPermissions(root_.filePath("home/run"),
                                 QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
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
    std::vector<std::string> variables;
    for (char** variable = environ; *variable != nullptr; ++variable) {
        if (!isReplaced(QString::fromLocal8Bit(*variable)))
            variables.emplace_back(*variable);
    }
    const QString home = root_.filePath("home");
    for (const QString& variable :
         {"HOME=" + home, "XDG_DATA_HOME=" + home + "/.local/share",
          "XDG_CACHE_HOME=" + home + "/.cache", "XDG_CONFIG_HOME=" + home + "/.config",
          "XDG_RUNTIME_DIR=" + home + "/run", QStringLiteral("QT_QPA_PLATFORM=xcb")})
        variables.push_back(variable.toStdString());
    return variables;
}

} // namespace bench
