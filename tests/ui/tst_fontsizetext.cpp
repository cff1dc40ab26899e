#include "ui/FontSizeText.h"

#include <QLocale>
#include <QTest>

namespace {

constexpr int none = -99999;

// Test data cannot hold an empty optional, so `none` stands for it.
int orNone(std::optional<int> value) {
    return value ? *value : none;
}

} // namespace

class TestFontSizeText : public QObject {
    Q_OBJECT

    static void addColumns() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected");
    }

  private slots:
    void toInteger_data() {
        addColumns();
        QTest::newRow("14") << "en_US"
                            << "14" << 14;
        QTest::newRow("blanks around") << "en_US"
                                       << " 14 " << 14;
        QTest::newRow("blank after") << "en_US"
                                     << "14 " << 14;
        QTest::newRow("tab before") << "en_US"
                                    << "\t14" << 14;
        QTest::newRow("half down to even") << "en_US"
                                           << "12.5" << 12;
        QTest::newRow("half up to even") << "en_US"
                                         << "13.5" << 14;
        QTest::newRow("above half") << "en_US"
                                    << "12.6" << 13;
        QTest::newRow("below half") << "en_US"
                                    << "12.4" << 12;
        QTest::newRow("just above half") << "en_US"
                                         << "12.500001" << 13;
        QTest::newRow("half of zero") << "en_US"
                                      << "0.5" << 0;
        QTest::newRow("negative half") << "en_US"
                                       << "-12.5" << -12;
        QTest::newRow("plus sign") << "en_US"
                                   << "+14" << 14;
        QTest::newRow("negative") << "en_US"
                                  << "-5" << -5;
        QTest::newRow("zero") << "en_US"
                              << "0" << 0;
        QTest::newRow("largest") << "en_US"
                                 << "32767" << 32767;
        QTest::newRow("smallest") << "en_US"
                                  << "-32768" << -32768;
        QTest::newRow("rounds to largest") << "en_US"
                                           << "32767.4" << 32767;
        QTest::newRow("rounds past largest") << "en_US"
                                             << "32767.5" << none;
        QTest::newRow("one past largest") << "en_US"
                                          << "32768" << none;
        QTest::newRow("one past smallest") << "en_US"
                                           << "-32769" << none;
        QTest::newRow("99999") << "en_US"
                               << "99999" << none;
        QTest::newRow("exponent") << "en_US"
                                  << "1e2" << 100;
        QTest::newRow("huge exponent") << "en_US"
                                       << "1e9" << none;
        QTest::newRow("grouped thousands") << "en_US"
                                           << "1,000" << 1000;
        QTest::newRow("misplaced group separator") << "en_US"
                                                   << "12,5" << none;
        QTest::newRow("empty") << "en_US"
                               << "" << none;
        QTest::newRow("one blank") << "en_US"
                                   << " " << none;
        QTest::newRow("letters") << "en_US"
                                 << "abc" << none;
        QTest::newRow("number then letters") << "en_US"
                                             << "14pt" << none;
        QTest::newRow("blank inside") << "en_US"
                                      << "1 4" << none;
        QTest::newRow("hexadecimal") << "en_US"
                                     << "0x10" << none;
        QTest::newRow("infinity") << "en_US"
                                  << "inf" << none;
        QTest::newRow("not a number") << "en_US"
                                      << "nan" << none;
        QTest::newRow("Arabic-Indic digits elsewhere") << "en_US"
                                                       << "\u0661\u0664" << none;
        QTest::newRow("comma decimal") << "de_DE"
                                       << "12,5" << 12;
        QTest::newRow("comma decimal up") << "de_DE"
                                          << "12,6" << 13;
        QTest::newRow("comma decimal odd half") << "de_DE"
                                                << "13,5" << 14;
        QTest::newRow("point groups in German") << "de_DE"
                                                << "1.000" << 1000;
        QTest::newRow("point as decimal in German") << "de_DE"
                                                    << "12.5" << none;
        QTest::newRow("comma in French") << "fr_FR"
                                         << " 14,5 " << 14;
        QTest::newRow("Arabic-Indic digits at home") << "ar_EG"
                                                     << "\u0661\u0664" << 14;
        QTest::newRow("Latin digits in Egypt") << "ar_EG"
                                               << "14" << 14;
    }
    void toInteger() {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(int, expected);
        const std::optional<std::int16_t> whole = FontSizeText::toInteger(text, QLocale(locale));
        QCOMPARE(whole ? int(*whole) : none, expected);
    }

    void toPoints_data() {
        addColumns();
        const int cap = FontSizeText::largestPoints;
        QTest::newRow("14") << "en_US"
                            << "14" << 14;
        QTest::newRow("smallest size") << "en_US"
                                       << "1" << 1;
        QTest::newRow("rounds up to one") << "en_US"
                                          << "0.6" << 1;
        QTest::newRow("rounds down to zero") << "en_US"
                                             << "0.5" << none;
        QTest::newRow("zero") << "en_US"
                              << "0" << none;
        QTest::newRow("negative") << "en_US"
                                  << "-5" << none;
        QTest::newRow("smallest integer") << "en_US"
                                          << "-32768" << none;
        QTest::newRow("at the cap") << "en_US" << QString::number(cap) << cap;
        QTest::newRow("below the cap") << "en_US" << QString::number(cap - 1) << cap - 1;
        QTest::newRow("above the cap") << "en_US" << QString::number(cap + 1) << cap;
        QTest::newRow("largest integer") << "en_US"
                                         << "32767" << cap;
        QTest::newRow("grouped thousands") << "en_US"
                                           << "1,000" << cap;
        QTest::newRow("out of range") << "en_US"
                                      << "99999" << none;
        QTest::newRow("one blank") << "en_US"
                                   << " " << none;
        QTest::newRow("letters") << "en_US"
                                 << "abc" << none;
        QTest::newRow("comma decimal") << "de_DE"
                                       << " 12,5 " << 12;
    }
    void toPoints() {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(int, expected);
        QCOMPARE(orNone(FontSizeText::toPoints(text, QLocale(locale))), expected);
    }
};

QTEST_GUILESS_MAIN(TestFontSizeText)
#include "tst_fontsizetext.moc"
