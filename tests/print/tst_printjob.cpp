#include "print/LineBreaks.h"
#include "print/PrintJob.h"
#include "print/PrinterSurface.h"
#include "tone/ToneFont.h"

#include <QElapsedTimer>
#include <QHash>
#include <QTest>

using print::PrintJob;

namespace {

// A printer of paper-tape simplicity that writes down what reaches the paper: "[word]" for each
// printed text, "/" for a line end, "#" for a new page and "$" for the end of the document.
// Every character is 100 twips wide but the blank, which is 50; a line is 300 twips high.
// Failures are written "operation" (every call fails) or "operation:n" (only the n-th call).
class RecordingSurface final : public print::PrinterSurface {
  public:
    RecordingSurface(float width, float height, const QStringList& failures = {})
        : width_(width), height_(height) {
        for (const QString& failure : failures) {
            const QStringList parts = failure.split(u':');
            failures_[parts[0]] = parts.size() > 1 ? parts[1].toInt() : 0;
        }
    }

    QString log;
    QStringList fontLog;

    void setFontSize(float points) override {
        if (fails("setFontSize"))
            return;
        points_ = points;
        fontLog << QStringLiteral("size %1").arg(points);
    }
    void setFontName(const QString& name) override {
        if (!fails("setFontName"))
            fontLog << "name " + name;
    }
    std::optional<double> fontSize() const override { return answer("fontSize", points_); }
    std::optional<float> currentX() const override { return answer("currentX", x_); }
    std::optional<float> currentY() const override { return answer("currentY", y_); }
    std::optional<float> width() const override { return answer("width", width_); }
    std::optional<float> height() const override { return answer("height", height_); }
    std::optional<float> textWidth(QStringView text) const override {
        return answer("textWidth", measure(text));
    }
    void print(QStringView text) override {
        if (fails("print"))
            return;
        x_ += measure(text);
        log += u'[' + text.toString() + u']';
    }
    void endLine() override {
        if (fails("endLine"))
            return;
        x_ = 0.0f;
        y_ += 300.0f;
        log += u'/';
    }
    void newPage() override {
        if (fails("newPage"))
            return;
        x_ = y_ = 0.0f;
        log += u'#';
    }
    void endDocument() override {
        if (!fails("endDocument"))
            log += u'$';
    }

  private:
    static float measure(QStringView text) {
        const qsizetype blanks = text.count(u' ');
        return float(text.size() - blanks) * 100.0f + float(blanks) * 50.0f;
    }
    bool fails(const QString& operation) const {
        const int call = ++calls_[operation];
        const auto failure = failures_.constFind(operation);
        return failure != failures_.constEnd() && (*failure == 0 || *failure == call);
    }
    template <typename T> std::optional<T> answer(const QString& operation, T value) const {
        return fails(operation) ? std::nullopt : std::optional<T>(value);
    }

    float width_, height_, x_ = 0.0f, y_ = 0.0f;
    double points_ = 8.25;
    QHash<QString, int> failures_;
    mutable QHash<QString, int> calls_;
};

constexpr float roomy = 10000.0f;

QString printed(const QString& text, float width, float height, const QStringList& failures = {}) {
    RecordingSurface surface(width, height, failures);
    PrintJob(surface).run(text);
    return surface.log;
}

} // namespace

class TestPrintJob : public QObject {
    Q_OBJECT

  private slots:
    void toCrLf_data() {
        QTest::addColumn<QString>("plain");
        QTest::addColumn<QString>("crLf");
        const auto row = [](const char* name, const QString& plain, const QString& crLf) {
            QTest::newRow(name) << plain << crLf;
        };
        row("empty", "", "");
        row("LF", "a\nb", "a\r\nb");
        row("final LF", "a\n", "a\r\n");
        row("paragraph separator", QStringLiteral("a\u2029b"), "a\r\nb");
        row("CR LF stays one break", "a\r\nb", "a\r\nb");
        row("lone CR stays", "a\rb", "a\rb");
        row("CR then CR LF", "a\r\r\nb", "a\r\r\nb");
        row("final CR LF", "a\r\n", "a\r\n");
    }
    void toCrLf() {
        QFETCH(QString, plain);
        QFETCH(QString, crLf);
        QCOMPARE(print::toCrLf(plain), crLf);
    }

    void wrapping_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<float>("width");
        QTest::addColumn<float>("height");
        QTest::addColumn<QString>("log");
        const float w = 1000.0f;
        QTest::newRow("empty text only ends the document") << "" << w << roomy << "$";
        QTest::newRow("no line break wraps as one paragraph")
            << "aaaa bbbb cccc" << w << roomy << "[aaaa ][bbbb ]/[cccc]/$";
        QTest::newRow("only a line break") << "\r\n" << w << roomy << "/$";
        QTest::newRow("two line breaks give an empty line")
            << "ab\r\n\r\ncd" << w << roomy << "[ab]//[cd]/$";
        QTest::newRow("final line break adds no empty line") << "ab\r\n" << w << roomy << "[ab]/$";
        QTest::newRow("too wide at the start is preceded by a line end")
            << "aaaaaaaaaaa" << w << roomy << "/[aaaaaaaaaaa]/$";
        QTest::newRow("too wide inside a line is printed whole")
            << "ab aaaaaaaaaaaa cd" << w << roomy << "[ab ]/[aaaaaaaaaaaa ]/[cd]/$";
        QTest::newRow("exactly the width still fits")
            << "aaaaa aaaa b" << w << roomy << "[aaaaa ][aaaa ]/[b]/$";
        QTest::newRow("fits only without its blank moves")
            << "aaaaa aaaa b" << 990.0f << roomy << "[aaaaa ]/[aaaa ][b]/$";
        QTest::newRow("leading blanks are one-blank words")
            << "  ab" << w << roomy << "[ ][ ][ab]/$";
        QTest::newRow("run of blanks") << "ab   cd" << w << roomy << "[ab ][ ][ ][cd]/$";
        QTest::newRow("wrapped line can begin with a blank")
            << "aaaaaaaaa   b" << w << roomy << "[aaaaaaaaa ][ ]/[ ][b]/$";
        QTest::newRow("no-break space does not separate")
            << "aaaa\u00A0bbbb cccc" << w << roomy << "[aaaa\u00A0bbbb ]/[cccc]/$";
        QTest::newRow("tab does not separate") << "a\tb c" << w << roomy << "[a\tb ][c]/$";
        QTest::newRow("lone CR stays in its word") << "a\rb c" << w << roomy << "[a\rb ][c]/$";
        QTest::newRow("lone LF stays in its word") << "a\nb" << w << roomy << "[a\nb]/$";
        QTest::newRow("CR before CR LF") << "a\r\r\nb" << w << roomy << "[a\r]/[b]/$";
        QTest::newRow("short lines never start a page")
            << "a\r\nb\r\nc\r\nd\r\ne" << w << 1000.0f << "[a]/[b]/[c]/[d]/[e]/$";
        // The page test adds the font's points to the position in twips.
        QTest::newRow("page test: 12 left") << "aaaaa bbbbb ccccc ddddd eeeee" << w << 912.0f
                                            << "[aaaaa ]/[bbbbb ]/[ccccc ]/[ddddd ]/#[eeeee]/$";
        QTest::newRow("page test: 11 left") << "aaaaa bbbbb ccccc ddddd eeeee" << w << 911.0f
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

    // A failed width test prints on the line, a failed page test starts a new page, and a failed
    // step is skipped.
    void failingSteps_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<float>("height");
        QTest::addColumn<QStringList>("failures");
        QTest::addColumn<QString>("log");
        const QString three = "aaaaa bbbbb ccccc";
        const QString onTheLine = "[aaaaa ][bbbbb ][ccccc]/$";
        const QString newPages = "[aaaaa ]/#[bbbbb ]/#[ccccc]/$";
        QTest::newRow("textWidth") << three << roomy << QStringList{"textWidth"} << onTheLine;
        QTest::newRow("currentX") << three << roomy << QStringList{"currentX"} << onTheLine;
        QTest::newRow("width") << three << roomy << QStringList{"width"} << onTheLine;
        QTest::newRow("one width test")
            << three << roomy << QStringList{"textWidth:2"} << "[aaaaa ][bbbbb ]/[ccccc]/$";
        QTest::newRow("fontSize") << three << roomy << QStringList{"fontSize"} << newPages;
        QTest::newRow("currentY") << three << roomy << QStringList{"currentY"} << newPages;
        QTest::newRow("height") << three << roomy << QStringList{"height"} << newPages;
        QTest::newRow("one print")
            << three << roomy << QStringList{"print:2"} << "[aaaaa ]/[ccccc]/$";
        QTest::newRow("print") << "ab cd\r\nef" << roomy << QStringList{"print"} << "//$";
        QTest::newRow("endLine") << "aaaaa bbbbb\r\nc" << roomy << QStringList{"endLine"}
                                 << "[aaaaa ][bbbbb][c]$";
        QTest::newRow("newPage") << "aaaaa bbbbb" << 100.0f << QStringList{"newPage"}
                                 << "[aaaaa ]/[bbbbb]/$";
        QTest::newRow("endDocument") << "ab" << roomy << QStringList{"endDocument"} << "[ab]/";
        QTest::newRow("setFontSize: the printer's own size counts")
            << "aaaaa bbbbb ccccc ddddd eeeee" << 911.0f << QStringList{"setFontSize"}
            << "[aaaaa ]/[bbbbb ]/[ccccc ]/[ddddd ]/#[eeeee]/$";
        QTest::newRow("every step")
            << "ab cd\r\nef" << roomy
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
        const QString name =
            "name " + QString::fromUtf8(tone::toneFontFace.data(), tone::toneFontFace.size());
        QTest::newRow("size then name") << QStringList{} << QStringList{"size 12", name};
        QTest::newRow("size fails") << QStringList{"setFontSize"} << QStringList{name};
        QTest::newRow("name fails") << QStringList{"setFontName"} << QStringList{"size 12"};
    }
    void fontSetUp() {
        QFETCH(QStringList, failures);
        QFETCH(QStringList, fontLog);
        RecordingSurface surface(1000.0f, roomy, failures);
        PrintJob(surface).run(u"ma");
        QCOMPARE(surface.fontLog, fontLog);
    }

    void longWordInsideALine() {
        const QString word(100000, u'w');
        QCOMPARE(printed("ab " + word + " cd", 1000.0f, roomy), "[ab ]/[" + word + " ]/[cd]/$");
    }

    // A megabyte of words on one line: printed unchanged, wrapped at every line's end, and in a
    // time that only a walk linear in the text's length can keep.
    void megabyteLine() {
        const QString word = "abcdefg ";
        const qsizetype words = (1 << 20) / word.size();
        const QString line = word.repeated(words);
        QElapsedTimer timer;
        timer.start();
        QString paper = printed(line, 10000.0f, roomy);
        QVERIFY2(timer.elapsed() < 20000, qPrintable(QString::number(timer.elapsed()) + " ms"));
        QVERIFY(paper.endsWith("/$"));
        const qsizetype perLine = 10000 / 750;
        QCOMPARE(paper.count(u'['), words);
        QCOMPARE(paper.count(u'/'), (words + perLine - 1) / perLine);
        paper.remove(u'[').remove(u']').remove(u'/').remove(u'#').remove(u'$');
        QCOMPARE(paper, line);
    }
};

QTEST_GUILESS_MAIN(TestPrintJob)
#include "tst_printjob.moc"
