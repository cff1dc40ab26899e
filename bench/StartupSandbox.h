#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QTemporaryDir>

#include <string>
#include <vector>

namespace bench {

// A copy of the program folder and an empty home of its own, so that starting the program
// neither reads nor writes the user's files and fonts.
class StartupSandbox {
  public:
    explicit StartupSandbox(const QString& programFolder);

    bool ready() const { return ready_; }
    std::string program() const;
    QByteArray marker() const;
    void rewriteMarker();

    // The caller's environment with every variable of tools/sandbox.list pointed into the
    // sandbox's home and the X platform chosen.
    std::vector<std::string> environment() const;

  private:
    bool copyProgramFolder(const QString& programFolder);
    bool makeHome();

    QTemporaryDir root_;
    QList<QPair<QString, QString>> homeVariables_;
    bool ready_ = false;
};

} // namespace bench
