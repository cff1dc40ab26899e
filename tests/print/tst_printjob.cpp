#include "print/LineBreaks.h"
#include "print/PrintJob.h"
#include "print/PrinterSurface.h"
#include "tone/ToneFont.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A printer that writes down what reaches the paper: "12" for the font size, "F" for the tone
// font's name, "[word]" for each printed text, "/" for a line end, "#" for a new page and "$" for
// the end of the document. The steps named in `failing`, or all for "*", fail.
class RecordingSurface final : public print::PrinterSurface {
  public:
    RecordingSurface(float height, const QString& failing)
        : height_(height), fail_(failing.split(u',')) {}

    QString log;

    void setFontSize(float points) override { act("setFontSize", QString::number(points), x_, y_); }
    void setFontName(const QString& name) override {
        act("setFontName", name.toStdString() == tone::toneFontFace ? u"F"_s : name, x_, y_);
    }
    std::optional<double> fontSize() const override { return answer("fontSize", 8.25); }
    std::optional<float> currentX() const override { return answer("currentX", x_); }
    std::optional<float> currentY() const override { return answer("currentY", y_); }
    std::optional<float> width() const override { return answer("width", 1000.0f); }
    std::optional<float> height() const override { return answer("height", height_); }
    std::optional<float> textWidth(QStringView text) const override {
        return answer("textWidth", 100.0f * float(text.size()));
    }
    void print(QStringView text) override {
        act("print", u'[' + text.toString() + u']', x_ + 100.0f * float(text.size()), y_);
    }
    void endLine() override { act("endLine", u"/"_s, 0.0f, y_ + 300.0f); }
    void newPage() override { act("newPage", u"#"_s, 0.0f, 0.0f); }
    void endDocument() override { act("endDocument", u"$"_s, x_, y_); }

  private:
    bool fails(const QString& step) const { return fail_.contains(step) || fail_.contains(u"*"_s); }
    bool act(const QString& step, const QString& mark, float x, float y) {
        return !fails(step) && (log += mark, x_ = x, y_ = y, true);
    }
    template <typename T> std::optional<T> answer(const QString& step, T value) const {
        return fails(step) ? std::nullopt : std::optional<T>(value);
    }

    float height_, x_ = 0.0f, y_ = 0.0f;
    QStringList fail_;
};

// Rows "editor text|paper|failing steps|page height;", on a page 10000 twips high unless given;
// steps listed with blanks between them fail one at a time, each in a printout of its own.
void comparePaper(const QString& table) {
    for (const QString& row : table.split(u';', Qt::SkipEmptyParts)) {
        const QStringList field = row.split(u'|');
        for (const QString& failing : field.value(2).split(u' ')) {
            RecordingSurface surface(field.value(3, u"10000"_s).toFloat(), failing);
            print::PrintJob(surface).run(print::toCrLf(field[0]));
            QVERIFY2(surface.log == field[1], qPrintable(row + " printed " + surface.log));
        }
    }
}

} // namespace

class TestPrintJob : public QObject {
    Q_OBJECT

  private slots:
    // A line ends at CR LF, LF and the Unicode separators, a CR LF at the very end ending only
    // the last line; a lone CR is part of its word, as are the tab and the no-break space. A
    // word ends after its blank and moves to the next line when it would pass the right edge; a
    // wrapped line starts a new page when fewer twips remain than the printer's font has points.
    void wrapping() {
        comparePaper(
            u"|12F$;ab\r\n|12F[ab]/$;\r\nab\r\n\r\ncd|12F/[ab]//[cd]/$;a\r\r\nb\r|12F[a\r]/[b\r]/$;"
            u"a\nb\u2028c\u2029d|12F[a]/[b]/[c]/[d]/$;aaaa bbbb cccc|12F[aaaa ][bbbb ]/[cccc]/$;"
            u"a\u00A0b\tc\rd e|12F[a\u00A0b\tc\rd ][e]/$;aaaaaaaaaaa b|12F/[aaaaaaaaaaa ]/[b]/$;"
            u"aaaaaaaaa   b|12F[aaaaaaaaa ]/[ ][ ][b]/$;aaaaa bbbbb|12F[aaaaa ]/#[bbbbb]/$||308;"
            u" a\r\nb\r\nc|12F[ ][a]/[b]/[c]/$||300;aaaaa bbbbb|12F[aaaaa ]/[bbbbb]/$||308.25;"_s);
    }

    // A failed width test prints on the line, a failed page test starts a new page, a failed
    // step is skipped and the job goes on.
    void failingSteps() {
        comparePaper(u"aaaaa bbbbb|12F[aaaaa ][bbbbb]/$|textWidth width currentX;ab\r\nc||*;"
                     u"aaaaa bbbbb|12F[aaaaa ]/#[bbbbb]/$|height fontSize currentY;"
                     u"aaaaa bbbbb\r\nc|12F[aaaaa ][bbbbb][c]$|endLine;"
                     u"aaaaa bbbbb|12F[aaaaa ]/[bbbbb]/$|newPage|100;"_s);
    }
};

QTEST_GUILESS_MAIN(TestPrintJob)
#include "tst_printjob.moc"
