// Stands in for the program's "Print text" command: registers the tone font from a file and
// prints a text file's text, as the editor would hold it, on the default printer.
#include "print/print_Click.h"

#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPrinterInfo>

#include <cstdio>

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: %s FONT_FILE TEXT_FILE\n", qPrintable(args.value(0)));
        return 2;
    }
    if (QFontDatabase::addApplicationFont(args[1]) < 0) {
        std::fprintf(stderr, "cannot load the font %s\n", qPrintable(args[1]));
        return 1;
    }
    QFile textFile(args[2]);
    if (!textFile.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(args[2]));
        return 1;
    }
    if (QPrinterInfo::defaultPrinterName().isEmpty()) {
        std::fprintf(stderr, "no default printer\n");
        return 1;
    }
    print::print_Click(QString::fromUtf8(textFile.readAll()));
    return 0;
}
