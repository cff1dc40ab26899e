#include "DocumentFile.h"
#include "Form1.h"
#include "files/PinyinFile.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>

#include <csignal>

namespace {

struct CommandLineFile {
    QString name;
    bool nameKept = true;
};

// Read before the window system is reached, so that --help and --version work without a display.
CommandLineFile fileFromCommandLine(int argc, char* argv[]) {
    QCoreApplication probe(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(TONQUILL_VERSION));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QCoreApplication::translate("main", "Write Chinese pinyin with tone marks."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(
        QStringLiteral("FILE"),
        QCoreApplication::translate("main", "The pinyin text file to open, or to create."),
        QStringLiteral("[FILE]"));
    parser.process(probe);
    if (parser.positionalArguments().size() > 1)
        parser.showHelp(1);
    CommandLineFile file{parser.positionalArguments().value(0)};
    for (int at = 1; at < argc && !file.name.isEmpty(); ++at) {
        if (QFile::decodeName(argv[at]) == file.name)
            file.nameKept = file.nameKept && files::PinyinFile::keepsName(argv[at]);
    }
    return file;
}

} // namespace

int main(int argc, char* argv[]) {
    // A file size limit then fails the write that reaches it, and the save reports it, instead of
    // killing the program with the text unsaved.
    std::signal(SIGXFSZ, SIG_IGN);
    const CommandLineFile file = fileFromCommandLine(argc, argv);
    QApplication application(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(TONQUILL_VERSION));
    Form1 form;
    form.Form_Load(QCoreApplication::applicationDirPath());
    form.show();
    form.document().start(file.name, file.nameKept);
    return application.exec();
}
