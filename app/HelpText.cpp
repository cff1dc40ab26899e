#include "HelpText.h"

#include <QString>
#include <QStringList>

QString helpText() {
    static const QStringList lines{
        "To write pinyin pinyin you just have to add a ",
        "number to each letter. To write \"a\" in the ",
        "first tone you write \"a1\". Then the \"a1\" will ",
        "be automatically changed into an \"a\" in the ",
        "first tone. Repeat this with all other ",
        "letters you want to have a tone mark on. ",
        "",
        "You can copy this text into MS word or other ",
        "text editor. The font from this program will ",
        "be available for all other program on your ",
        "computer.",
        "",
        "You can also send your messages as E-mail if ",
        "the reader of your mail have the same or ",
        "similar font installed. If he/she do not have ",
        "any font you can enclose the font from this ",
        "program in your mail for the receiver to ",
        "install on his/her computer.  ",
        "",
        "",
        "E-mail:vantor@marrowfen.example.org",
        "",
        "Homepage:  ",
        "http://www.example.org/tonquill",
    };
    return lines.join("\r\n") + "\r\n";
}
