#pragma once

#include <QCommandLineParser>
#include <QString>

class QCoreApplication;

// The command line of a Qt program that opens one FILE: Qt's own options (-style, -platform,
// -geometry …) are left to Qt, --help and --version answer without a display, and a command line
// it cannot take stops the program with its reason and status 2 before any window is made.
class CommandLine {
  public:
    CommandLine(int argc, char* argv[]);

    // --help-all lists Qt's options too, which only the application knows.
    void answerHelpAll(const QCoreApplication& application);
    // False when the answer is all that is asked for, which needs no window and no fonts.
    bool showsWindow() const { return !parser_.isSet("help-all"); }

    QString file() const { return file_; }
    // False when the FILE's bytes do not survive the round trip through a QString.
    bool fileNameKept() const { return fileNameKept_; }

    // `arguments` without Qt's own options and their values.
    static QStringList withoutQtOptions(const QStringList& arguments);

  private:
    static void describe(QCommandLineParser& parser);
    [[noreturn]] static void stop(const QString& reason);

    QCommandLineParser parser_;
    QString file_;
    bool fileNameKept_ = true;
};
