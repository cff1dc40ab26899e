#include "FontconfigRefresh.h"

#include "InstallLog.h"

#include <QFile>
#include <QProcess>

namespace install {

bool refreshFontconfig(const std::string& folder, int timeoutMs) {
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(QStringLiteral("fc-cache"),
                  {QFile::decodeName(QByteArray::fromStdString(folder))});
    if (!process.waitForStarted(timeoutMs)) {
        qCDebug(lcInstall) << "fc-cache did not start:" << process.errorString();
        return false;
    }
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        qCDebug(lcInstall) << "fc-cache took longer than" << timeoutMs << "ms and was stopped";
        return false;
    }
    const bool refreshed = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (!refreshed)
        qCDebug(lcInstall) << "fc-cache failed on" << folder.c_str() << "with exit code"
                           << process.exitCode();
    return refreshed;
}

} // namespace install
