// Prints a text file's text through the window's own "Print text" menu item, with the help shown
// in the editor's place: the printout must still be the editor's text, in the tone font.
#include "app/Form1.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPrinterInfo>

#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
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
    Form1 form;
    form.show();
    form.findChild<QPlainTextEdit*>("Text2")->setPlainText(QString::fromUtf8(textFile.readAll()));
    form.findChild<QCheckBox*>("Check1")->setChecked(true);
    form.findChild<QAction*>("print")->trigger();
    return 0;
}
