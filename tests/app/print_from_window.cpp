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
    QFile text(app.arguments().value(2));
    const char* problem =
        app.arguments().size() != 3 ? "usage: print_from_window FONT_FILE TEXT_FILE"
        : QFontDatabase::addApplicationFont(app.arguments()[1]) < 0 ? "cannot load the font"
        : !text.open(QIODevice::ReadOnly)                           ? "cannot read the text"
        : QPrinterInfo::defaultPrinterName().isEmpty()              ? "no default printer"
                                                                    : nullptr;
    if (problem) {
        std::fprintf(stderr, "%s\n", problem);
        return 2;
    }
    Form1 form;
    form.show();
    form.findChild<QPlainTextEdit*>("Text2")->setPlainText(QString::fromUtf8(text.readAll()));
    form.findChild<QCheckBox*>("Check1")->setChecked(true);
    form.findChild<QAction*>("print")->trigger();
    return 0;
}
