#include "CommandLine.h"

#include "files/PinyinFile.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>

namespace {

// As QGuiApplication, QApplication and the X11 platform take them, with one dash or two.
constexpr std::array qtFlags{"reverse", "widgetcount", "nograb", "dograb", "sync", "testability"};
constexpr std::array qtOptionsWithValue{
    "platform",     "platformpluginpath", "platformtheme", "plugin",  "qwindowgeometry",
    "qwindowicon",  "qwindowtitle",       "session",       "display", "geometry",
    "style",        "stylesheet",         "title",         "icon",    "name",
    "qmljsdebugger"};

bool isOneOf(const QString& name, const auto& names) {
    return std::ranges::any_of(names, [&name](const char* known) { return name == known; });
}

} // namespace

CommandLine::CommandLine(int argc, char* argv[]) {
    QCoreApplication::setApplicationName(QStringLiteral("tonquill"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TONQUILL_VERSION));
    QStringList arguments;
    for (int at = 0; at < argc; ++at)
        arguments << QFile::decodeName(argv[at]);
    describe(parser_);
    if (!parser_.parse(withoutQtOptions(arguments)))
        stop(parser_.errorText());
    if (parser_.positionalArguments().size() > 1)
        stop(QCoreApplication::translate("main", "one FILE at a time"));
    if (parser_.isSet("help") || parser_.isSet("version")) {
        const QCoreApplication probe(argc, argv); // whose name the help gives
        if (parser_.isSet("help"))
            parser_.showHelp(0);
        parser_.showVersion();
    }
    file_ = parser_.positionalArguments().value(0);
    for (int at = 1; at < argc && !file_.isEmpty(); ++at) {
        if (arguments[at] == file_)
            fileNameKept_ = fileNameKept_ && files::PinyinFile::keepsName(argv[at]);
    }
}

void CommandLine::describe(QCommandLineParser& parser) {
    parser.setApplicationDescription(
        QCoreApplication::translate("main", "Write Chinese pinyin with tone marks."));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(
        QStringLiteral("FILE"),
        QCoreApplication::translate("main", "The pinyin text file to open, or to create."),
        QStringLiteral("[FILE]"));
}

void CommandLine::answerHelpAll(const QCoreApplication& application) {
    if (!parser_.isSet("help-all"))
        return;
    QCommandLineParser all;
    describe(all);
    all.process({application.arguments().value(0), QStringLiteral("--help-all")});
}

QStringList CommandLine::withoutQtOptions(const QStringList& arguments) {
    QStringList ours;
    for (qsizetype at = 0; at < arguments.size(); ++at) {
        const QString& argument = arguments[at];
        if (argument == u"--") {
            ours << arguments.mid(at);
            break;
        }
        const QString name = argument.startsWith(u"--")  ? argument.mid(2).section(u'=', 0, 0)
                             : argument.startsWith(u'-') ? argument.mid(1).section(u'=', 0, 0)
                                                         : QString();
        if (at > 0 && isOneOf(name, qtFlags))
            continue;
        if (at > 0 && isOneOf(name, qtOptionsWithValue)) {
            if (!argument.contains(u'='))
                ++at;
            continue;
        }
        ours << argument;
    }
    return ours;
}

void CommandLine::stop(const QString& reason) {
    std::fprintf(stderr, "tonquill: %s\n", qPrintable(reason));
    std::exit(2);
}
