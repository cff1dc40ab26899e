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

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    QFile text(arguments.value(2));
    if (arguments.size() != 3 || QFontDatabase::addApplicationFont(arguments[1]) < 0 ||
        !text.open(QIODevice::ReadOnly) || QPrinterInfo::defaultPrinterName().isEmpty()) {
        qCritical("usage: print_from_window FONT_FILE TEXT_FILE, with a default printer");
        return 2;
    }
    Form1 form;
    form.show();
    form.findChild<QPlainTextEdit*>("Text2")->setPlainText(QString::fromUtf8(text.readAll()));
    form.findChild<QCheckBox*>("Check1")->setChecked(true);
    form.findChild<QAction*>("print")->trigger();
}
