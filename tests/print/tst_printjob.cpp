#include "print/LineBreaks.h"
#include "print/PrintJob.h"
#include "print/PrinterSurface.h"
#include "tone/ToneFont.h"

#include <QElapsedTimer>
#include <QHash>
#include <QTest>

using print::PrintJob;
using namespace Qt::StringLiterals;

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
        step("setFontSize", [&] { fontLog << QStringLiteral("size %1").arg(points_ = points); });
    }
    void setFontName(const QString& name) override {
        step("setFontName", [&] { fontLog << "name " + name; });
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
        step("print", [&] { x_ += measure(text), log += u'[' + text.toString() + u']'; });
    }
    void endLine() override {
        step("endLine", [&] { x_ = 0.0f, y_ += 300.0f, log += u'/'; });
    }
    void newPage() override {
        step("newPage", [&] { x_ = y_ = 0.0f, log += u'#'; });
    }
    void endDocument() override {
        step("endDocument", [&] { log += u'$'; });
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
    template <typename Done> void step(const QString& operation, Done done) {
        if (!fails(operation))
            done();
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

// Data rows of the fields of rows written "field|field|...", rows one after another, each ended
// by a semicolon.
void table(const QString& text, std::initializer_list<const char*> columns) {
    for (const char* column : columns)
        QTest::addColumn<QString>(column);
    for (const QString& row : text.split(u';', Qt::SkipEmptyParts)) {
        QTestData& data = QTest::newRow(qPrintable(row));
        const QStringList fields = row.split(u'|');
        for (qsizetype i = 0; i < qsizetype(columns.size()); ++i)
            data << fields.value(i);
    }
}

} // namespace

class TestPrintJob : public QObject {
    Q_OBJECT

  private slots:
    void toCrLf_data() {
        table(u"|;a\nb|a\r\nb;a\n|a\r\n;a\u2029b|a\r\nb;a\u2028b|a\r\nb;a\r\nb|a\r\nb;a\rb|a\rb;"
              u"a\r\r\nb|a\r\r\nb;a\r\n|a\r\n;a\r|a\r;"_s,
              {"plain", "crLf"});
    }
    void toCrLf() {
        QFETCH(QString, plain);
        QTEST(print::toCrLf(plain), "crLf");
    }

    // Rows "text|paper|width|height" on a page 1000 twips wide and roomy, unless said otherwise.
    // The page test adds the font's points to the position in twips.
    void wrapping_data() {
        table(u"|$;aaaa bbbb cccc|[aaaa ][bbbb ]/[cccc]/$;\r\n|/$;ab\r\n\r\ncd|[ab]//[cd]/$;"
              u"ab\r\n|[ab]/$;aaaaaaaaaaa|/[aaaaaaaaaaa]/$;ab aaaaaaaaaaaa cd|[ab ]/[aaaaaaaaaaaa "
              u"]/[cd]/$;"
              u"aaaaa aaaa b|[aaaaa ][aaaa ]/[b]/$;aaaaa aaaa b|[aaaaa ]/[aaaa ][b]/$|990;"
              u"  ab|[ ][ ][ab]/$;ab   cd|[ab ][ ][ ][cd]/$;aaaaaaaaa   b|[aaaaaaaaa ][ ]/[ ][b]/$;"
              u"aaaa\u00A0bbbb cccc|[aaaa\u00A0bbbb ]/[cccc]/$;a\tb c|[a\tb ][c]/$;"
              u"a\rb c|[a\rb ][c]/$;a\nb|[a\nb]/$;a\r\r\nb|[a\r]/[b]/$;"
              u"a\r\nb\r\nc\r\nd\r\ne|[a]/[b]/[c]/[d]/[e]/$||1000;"
              u"aaaaa bbbbb ccccc ddddd eeeee|[aaaaa ]/[bbbbb ]/[ccccc ]/[ddddd ]/#[eeeee]/$||912;"
              u"aaaaa bbbbb ccccc ddddd eeeee|[aaaaa ]/[bbbbb ]/[ccccc ]/#[ddddd ]/[eeeee]/$||911;"
              u"aaaaa bbbbb\r\nc|[aaaaa ]/#[bbbbb]/[c]/$||100;"_s,
              {"text", "paper", "width", "height"});
    }
    void wrapping() {
        QFETCH(QString, text);
        QFETCH(QString, width);
        QFETCH(QString, height);
        QTEST(printed(text, width.isEmpty() ? 1000.0f : width.toFloat(),
                      height.isEmpty() ? roomy : height.toFloat()),
              "paper");
    }

    // Rows "text|failing steps|paper|height": a failed width test prints on the line, a failed
    // page test starts a new page, and a failed step is skipped. A failing "step:n" fails its n-th
    // call only.
    void failingSteps_data() {
        table(u"aaaaa bbbbb ccccc|textWidth|[aaaaa ][bbbbb ][ccccc]/$;"
              u"aaaaa bbbbb ccccc|currentX|[aaaaa ][bbbbb ][ccccc]/$;"
              u"aaaaa bbbbb ccccc|width|[aaaaa ][bbbbb ][ccccc]/$;"
              u"aaaaa bbbbb ccccc|textWidth:2|[aaaaa ][bbbbb ]/[ccccc]/$;"
              u"aaaaa bbbbb ccccc|fontSize|[aaaaa ]/#[bbbbb ]/#[ccccc]/$;"
              u"aaaaa bbbbb ccccc|currentY|[aaaaa ]/#[bbbbb ]/#[ccccc]/$;"
              u"aaaaa bbbbb ccccc|height|[aaaaa ]/#[bbbbb ]/#[ccccc]/$;"
              u"aaaaa bbbbb ccccc|print:2|[aaaaa ]/[ccccc]/$;ab cd\r\nef|print|//$;"
              u"aaaaa bbbbb\r\nc|endLine|[aaaaa ][bbbbb][c]$;aaaaa bbbbb|newPage|[aaaaa "
              u"]/[bbbbb]/$|100;"
              u"ab|endDocument|[ab]/;"
              u"aaaaa bbbbb ccccc ddddd eeeee|setFontSize|[aaaaa ]/[bbbbb ]/[ccccc ]/[ddddd "
              u"]/#[eeeee]/$|911;"
              u"ab "
              u"cd\r\nef|setFontSize,setFontName,fontSize,currentX,currentY,width,height,textWidth,"
              u"print,endLine,newPage,endDocument||;"_s,
              {"text", "failing", "paper", "height"});
    }
    void failingSteps() {
        QFETCH(QString, text);
        QFETCH(QString, failing);
        QFETCH(QString, height);
        QTEST(printed(text, 1000.0f, height.isEmpty() ? roomy : height.toFloat(),
                      failing.split(u',')),
              "paper");
    }

    // Size before name; either failing leaves the other.
    void fontSetUp() {
        const QString name = "name " + QString::fromUtf8(tone::toneFontFace.data(),
                                                         qsizetype(tone::toneFontFace.size()));
        const std::pair<QString, QStringList> rows[] = {
            {{}, {"size 12", name}}, {"setFontSize", {name}}, {"setFontName", {"size 12"}}};
        for (const auto& [failing, fontLog] : rows) {
            RecordingSurface surface(1000.0f, roomy, {failing});
            PrintJob(surface).run(u"ma");
            QCOMPARE(surface.fontLog, fontLog);
        }
    }

    // A long word inside a line; a megabyte of words on one line: printed unchanged, wrapped at
    // every line's end, and in a time that only a walk linear in the text's length can keep.
    void longText() {
        const QString word(100000, u'w');
        QCOMPARE(printed("ab " + word + " cd", 1000.0f, roomy), "[ab ]/[" + word + " ]/[cd]/$");
        const qsizetype words = (1 << 20) / 8, perLine = 10000 / 750;
        const QString line = QStringLiteral("abcdefg ").repeated(words);
        QElapsedTimer timer;
        timer.start();
        QString paper = printed(line, 10000.0f, roomy);
        QVERIFY2(timer.elapsed() < 20000, qPrintable(QString::number(timer.elapsed()) + " ms"));
        QVERIFY(paper.endsWith("/$"));
        QCOMPARE(paper.count(u'['), words);
        QCOMPARE(paper.count(u'/'), (words + perLine - 1) / perLine);
        paper.remove(u'[').remove(u']').remove(u'/').remove(u'#').remove(u'$');
        QCOMPARE(paper, line);
    }
};

QTEST_GUILESS_MAIN(TestPrintJob)
#include "tst_printjob.moc"
