#include "HelpText.h"

#include <QCoreApplication>
#include <QString>

// One text for translators, its lines ended by LF; the box shows them ended by CR LF.
QString helpText() {
    QString text = QCoreApplication::translate(
        "HelpText", "To write pinyin pinyin you just have to add a \n"
                    "number to each letter. To write \"a\" in the \n"
                    "first tone you write \"a1\". Then the \"a1\" will \n"
                    "be automatically changed into an \"a\" in the \n"
                    "first tone. Repeat this with all other \n"
                    "letters you want to have a tone mark on. \n"
                    "\n"
                    "You can copy this text into MS word or other \n"
                    "text editor. The font from this program will \n"
                    "be available for all other program on your \n"
                    "computer.\n"
                    "\n"
                    "You can also send your messages as E-mail if \n"
                    "the reader of your mail have the same or \n"
                    "similar font installed. If he/she do not have \n"
                    "any font you can enclose the font from this \n"
                    "program in your mail for the receiver to \n"
                    "install on his/her computer.  \n"
                    "\n"
                    "\n"
                    "E-mail:vantor@marrowfen.example.org\n"
                    "\n"
                    "Homepage:  \n"
                    "http://www.example.org/tonquill\n");
    return text.replace('\n', QStringLiteral("\r\n"));
}
