#include "CommandLine.h"
#include "DeferredIconStyle.h"
#include "DocumentFile.h"
#include "Form1.h"
#include "StartupTrace.h"
#include "install/FontconfigWarmUp.h"

#include <QApplication>

#include <csignal>

int main(int argc, char* argv[]) {
    StartupTrace::step("main");
    // A file size limit then fails the write that reaches it, and the save reports it, instead of
    // killing the program with the text unsaved.
    std::signal(SIGXFSZ, SIG_IGN);
    CommandLine commandLine(argc, argv);
    StartupTrace::step("command line read");
    install::FontconfigWarmUp fontconfig(commandLine.showsWindow());
    QApplication application(argc, argv);
    QApplication::setStyle(new DeferredIconStyle);
    // Desktops match the window to its menu entry by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.Tonquill"));
    fontconfig.wait();
    commandLine.answerHelpAll(application);
    StartupTrace::step("application");
    Form1 form;
    form.Form_Load(QCoreApplication::applicationDirPath());
    form.show();
    StartupTrace::step("window shown");
    StartupTrace::untilFirstFrame(*form.windowHandle());
    form.document().start(commandLine.file(), commandLine.fileNameKept());
    StartupTrace::step("recovery store and file");
    return application.exec();
}
