#include "FontconfigRefresh.h"

#include <QFile>
#include <QProcess>

namespace install {

bool refreshFontconfig(const std::string& folder, int timeoutMs) {
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(QStringLiteral("fc-cache"),
                  {QFile::decodeName(QByteArray::fromStdString(folder))});
    if (!process.waitForStarted(timeoutMs))
        return false;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return false;
    }
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

} // namespace install
