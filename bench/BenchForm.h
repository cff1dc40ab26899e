#pragma once

#include <QString>
#include <QTemporaryDir>

#include <memory>

class Form1;
class QAction;
class QCoreApplication;
class QCommandLineParser;
class QPlainTextEdit;
class QTimer;

namespace bench {

// The real window, loaded from a copy of the program folder whose marker is already rewritten
// and shown, with the tone font given to the process as an installation would have done.
class BenchForm {
  public:
    explicit BenchForm(const QString& programFolder);
    ~BenchForm();

    // The window from the folder that --program-folder names (the build's by default), once
    // `parser` has read the command line with that option, --help and the options it already has;
    // nothing, and a word on stderr, when the window did not open.
    static std::unique_ptr<BenchForm> fromCommandLine(QCommandLineParser& parser,
                                                      const QCoreApplication& application);

    bool ready() const { return ready_; }
    QPlainTextEdit& Text2() const;
    QTimer& timer(const char* name) const;
    // An item of the "Options" menu.
    QAction& option(const QString& text) const;

  private:
    bool copyProgramFolder(const QString& programFolder);

    QTemporaryDir folder_;
    std::unique_ptr<Form1> form_;
    bool ready_ = false;
};

} // namespace bench
