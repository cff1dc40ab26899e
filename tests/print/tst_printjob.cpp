#include "RecordingSurface.h"
#include "print/PrintJob.h"
#include "tone/ToneFont.h"

#include <QElapsedTimer>
#include <QTest>

using print::PrintJob;

namespace {

constexpr float roomyPage = 10000.0f;

// Failures are written "operation" (every call fails) or "operation:n" (only the n-th call).
RecordingSurface surfaceFor(float width, float height, const QStringList& failures) {
    RecordingSurface surface(width, height);
    for (const QString& failure : failures) {
        const QStringList parts = failure.split(u':');
        surface.failOn(parts[0], parts.size() > 1 ? parts[1].toInt() : 0);
    }
    return surface;
}

QString printed(const QString& text, float width, float height, const QStringList& failures = {}) {
    RecordingSurface surface = surfaceFor(width, height, failures);
    PrintJob(surface).run(text);
    return surface.log();
}

QString toneFace() {
    return QString::fromUtf8(tone::toneFontFace.data(), qsizetype(tone::toneFontFace.size()));
}

} // namespace

class TestPrintJob : public QObject {
    Q_OBJECT

  private slots:
    void wrapping_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<float>("width");
        QTest::addColumn<float>("height");
        QTest::addColumn<QString>("log");

        const float w = 1000.0f;
        const float h = roomyPage;
        QTest::newRow("empty text only ends the document") << "" << w << h << "$";
        QTest::newRow("one word") << "ma" << w << h << "[ma]/$";
        QTest::newRow("no line break wraps as one paragraph")
            << "aaaa bbbb cccc" << w << h << "[aaaa ][bbbb ]/[cccc]/$";
        QTest::newRow("only a line break") << "\r\n" << w << h << "/$";
        QTest::newRow("two line breaks give an empty line")
            << "ab\r\n\r\ncd" << w << h << "[ab]//[cd]/$";
        QTest::newRow("final line break adds no empty line") << "ab\r\n" << w << h << "[ab]/$";
        QTest::newRow("too wide at the start is preceded by a line end")
            << "aaaaaaaaaaa" << w << h << "/[aaaaaaaaaaa]/$";
        QTest::newRow("too wide inside a line is printed whole")
            << "ab aaaaaaaaaaaa cd" << w << h << "[ab ]/[aaaaaaaaaaaa ]/[cd]/$";
        QTest::newRow("exactly the width still fits")
            << "aaaaa aaaa b" << w << h << "[aaaaa ][aaaa ]/[b]/$";
        QTest::newRow("fits only without its blank moves")
            << "aaaaa aaaa b" << 990.0f << h << "[aaaaa ]/[aaaa ][b]/$";
        QTest::newRow("leading blanks are one-blank words") << "  ab" << w << h << "[ ][ ][ab]/$";
        QTest::newRow("run of blanks") << "ab   cd" << w << h << "[ab ][ ][ ][cd]/$";
        QTest::newRow("trailing blank stays with its word") << "ab " << w << h << "[ab ]/$";
        QTest::newRow("wrapped line can begin with a blank")
            << "aaaaaaaaa   b" << w << h << "[aaaaaaaaa ][ ]/[ ][b]/$";
        QTest::newRow("tab does not separate") << "a\tb c" << w << h << "[a\tb ][c]/$";
        QTest::newRow("lone CR stays in its word") << "a\rb c" << w << h << "[a\rb ][c]/$";
        QTest::newRow("lone LF stays in its word") << "a\nb" << w << h << "[a\nb]/$";
        QTest::newRow("LF CR is no line break") << "a\n\rb" << w << h << "[a\n\rb]/$";
        QTest::newRow("CR before CR LF") << "a\r\r\nb" << w << h << "[a\r]/[b]/$";
        QTest::newRow("short lines never start a page")
            << "a\r\nb\r\nc\r\nd\r\ne" << w << 1000.0f << "[a]/[b]/[c]/[d]/[e]/$";
        QTest::newRow("page test adds 12 to the position: room left")
            << "aaaaa bbbbb ccccc ddddd eeeee" << w << 912.0f
            << "[aaaaa ]/[bbbbb ]/[ccccc ]/[ddddd ]/#[eeeee]/$";
        QTest::newRow("page test adds 12 to the position: page full")
            << "aaaaa bbbbb ccccc ddddd eeeee" << w << 911.0f
            << "[aaaaa ]/[bbbbb ]/[ccccc ]/#[ddddd ]/[eeeee]/$";
        QTest::newRow("line end below the bottom starts no page")
            << "aaaaa bbbbb\r\nc" << w << 100.0f << "[aaaaa ]/#[bbbbb]/[c]/$";
    }

    void wrapping() {
        QFETCH(QString, text);
        QFETCH(float, width);
        QFETCH(float, height);
        QFETCH(QString, log);
        QCOMPARE(printed(text, width, height), log);
    }

    void failingSteps_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<float>("height");
        QTest::addColumn<QStringList>("failures");
        QTest::addColumn<QString>("log");

        const QString three = "aaaaa bbbbb ccccc";
        const float h = roomyPage;
        const QString onTheLine = "[aaaaa ][bbbbb ][ccccc]/$";
        QTest::newRow("text width: on the line")
            << three << h << QStringList{"textWidth"} << onTheLine;
        QTest::newRow("position x: on the line")
            << three << h << QStringList{"currentX"} << onTheLine;
        QTest::newRow("area width: on the line") << three << h << QStringList{"width"} << onTheLine;
        QTest::newRow("one width test")
            << three << h << QStringList{"textWidth:2"} << "[aaaaa ][bbbbb ]/[ccccc]/$";
        const QString newPages = "[aaaaa ]/#[bbbbb ]/#[ccccc]/$";
        QTest::newRow("font size: new page") << three << h << QStringList{"fontSize"} << newPages;
        QTest::newRow("position y: new page") << three << h << QStringList{"currentY"} << newPages;
        QTest::newRow("area height: new page") << three << h << QStringList{"height"} << newPages;
        QTest::newRow("one print skipped, walk goes on")
            << three << h << QStringList{"print:2"} << "[aaaaa ]/[ccccc]/$";
        QTest::newRow("no print at all") << "ab cd\r\nef" << h << QStringList{"print"} << "//$";
        QTest::newRow("no line end")
            << "aaaaa bbbbb\r\nc" << h << QStringList{"endLine"} << "[aaaaa ][bbbbb][c]$";
        QTest::newRow("no new page")
            << "aaaaa bbbbb" << 100.0f << QStringList{"newPage"} << "[aaaaa ]/[bbbbb]/$";
        QTest::newRow("no document end") << "ab" << h << QStringList{"endDocument"} << "[ab]/";
        QTest::newRow("font size not set: printer's own size counts")
            << "aaaaa bbbbb ccccc ddddd eeeee" << 911.0f << QStringList{"setFontSize"}
            << "[aaaaa ]/[bbbbb ]/[ccccc ]/[ddddd ]/#[eeeee]/$";
        QTest::newRow("every step")
            << "ab cd\r\nef" << h
            << QStringList{"setFontSize", "setFontName", "fontSize", "currentX",
                           "currentY",    "width",       "height",   "textWidth",
                           "print",       "endLine",     "newPage",  "endDocument"}
            << "";
    }

    void failingSteps() {
        QFETCH(QString, text);
        QFETCH(float, height);
        QFETCH(QStringList, failures);
        QFETCH(QString, log);
        QCOMPARE(printed(text, 1000.0f, height, failures), log);
    }

    void fontSetUp_data() {
        QTest::addColumn<QStringList>("failures");
        QTest::addColumn<QStringList>("fontLog");

        const QString name = "name " + toneFace();
        QTest::newRow("size then name") << QStringList{} << QStringList{"size 12", name};
        QTest::newRow("size fails") << QStringList{"setFontSize"} << QStringList{name};
        QTest::newRow("name fails") << QStringList{"setFontName"} << QStringList{"size 12"};
    }

    void fontSetUp() {
        QFETCH(QStringList, failures);
        QFETCH(QStringList, fontLog);
        RecordingSurface surface = surfaceFor(1000.0f, roomyPage, failures);
        PrintJob(surface).run(u"ma");
        QCOMPARE(surface.fontLog(), fontLog);
    }

    void longWord_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");

        QTest::newRow("at the start") << ""
                                      << "";
        QTest::newRow("inside a line") << "ab "
                                       << " cd";
    }

    void longWord() {
        QFETCH(QString, before);
        QFETCH(QString, after);
        const QString word(100000, u'w');
        const QString log = printed(before + word + after, 1000.0f, roomyPage);
        const QString start = before.isEmpty() ? "" : "[" + before + "]";
        const QString end = after.isEmpty() ? "/$" : "/[" + after.trimmed() + "]/$";
        const QString wordAndBlank = after.isEmpty() ? word : word + " ";
        QCOMPARE(log, start + "/[" + wordAndBlank + "]" + end);
    }

    // A megabyte of words on one line: printed unchanged, wrapped at every line's end, and in a
    // time that only a walk linear in the text's length can keep.
    void megabyteLine() {
        const QString word = "abcdefg ";
        const qsizetype words = (1 << 20) / word.size();
        const QString line = word.repeated(words);
        RecordingSurface surface(10000.0f, roomyPage);
        QElapsedTimer timer;
        timer.start();
        PrintJob(surface).run(line);
        QVERIFY2(timer.elapsed() < 20000, qPrintable(QString::number(timer.elapsed()) + " ms"));

        QString paper = surface.log();
        QVERIFY(paper.endsWith("/$"));
        paper.remove(u'[').remove(u']').remove(u'/').remove(u'#').remove(u'$');
        QCOMPARE(paper, line);
        QCOMPARE(surface.printedCount(), words);
        const qsizetype perLine = qsizetype(10000.0f / 750.0f);
        QCOMPARE(surface.lineEnds(), (words + perLine - 1) / perLine);
    }
};

QTEST_GUILESS_MAIN(TestPrintJob)
#include "tst_printjob.moc"
