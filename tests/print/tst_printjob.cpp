#include "TestSupport.h"
#include "print/LineBreaks.h"
#include "print/PrintJob.h"
#include "print/PrinterSurface.h"
#include "tone/ToneFont.h"

using namespace Qt::StringLiterals;

namespace {

// Characters 100 twips wide and lines 300 twips high let a row say where the edges fall.
class RecordingSurface final : public print::PrinterSurface {
  public:
    RecordingSurface(float height, const QStringList& failing) : height_(height), fail_(failing) {}
    QStringList paper;

    void setFontSize(float points) override {
        act("setFontSize", "font size " + QString::number(points), x_, y_);
    }
    void setFontName(const QString& name) override {
        act("setFontName", name.toStdString() == tone::toneFontFace ? "tone font" : name, x_, y_);
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
        act("print", "print " + text.toString(), x_ + 100.0f * float(text.size()), y_);
    }
    void endLine() override { act("endLine", "line end", 0.0f, y_ + 300.0f); }
    void newPage() override { act("newPage", "new page", 0.0f, 0.0f); }
    void endDocument() override { act("endDocument", "document end", x_, y_); }

  private:
    bool fails(QStringView s) const { return fail_.contains(s) || fail_.contains(u"every step"); }
    bool act(const QString& step, const QString& mark, float x, float y) {
        return !fails(step) && (paper += mark, x_ = x, y_ = y, true);
    }
    template <typename T> std::optional<T> answer(const QString& step, T value) const {
        return fails(step) ? std::nullopt : std::optional<T>(value);
    }

    float height_, x_ = 0.0f, y_ = 0.0f;
    QStringList fail_;
};

void comparePaper(const QStringList& failing) {
    RecordingSurface surface(cell<float>("height"), failing);
    print::PrintJob(surface).run(print::toCrLf(cell<QString>("text")));
    QCOMPARE(surface.paper, cell<QStringList>("paper"));
}

} // namespace

class TestPrintJob : public QObject {
    Q_OBJECT

  private slots:
    void wrapping_data() {
        columns<QString, float, QStringList>({"text", "height", "paper"});
        QTest::addRow("an empty text gets only the font and the end")
            << "" << 10000.0f << QStringList{"font size 12", "tone font", "document end"};
        QTest::addRow("a CR LF at the very end ends only the last line")
            << u"ab\r\n"_s << 10000.0f
            << QStringList{"font size 12", "tone font", "print ab", "line end", "document end"};
        QTest::addRow("each CR LF ends a line, an empty one too")
            << "\r\nab\r\n\r\ncd" << 10000.0f
            << QStringList{"font size 12", "tone font", "line end", "print ab",    "line end",
                           "line end",     "print cd",  "line end", "document end"};
        QTest::addRow("a lone CR stays in its word")
            << "a\r\r\nb\r" << 10000.0f
            << QStringList{"font size 12", "tone font", "print a\r",   "line end",
                           "print b\r",    "line end",  "document end"};
        QTest::addRow("LF and the Unicode separators end lines")
            << u"a\nb\u2028c\u2029d"_s << 10000.0f
            << QStringList{"font size 12", "tone font", "print a",     "line end",
                           "print b",      "line end",  "print c",     "line end",
                           "print d",      "line end",  "document end"};
        QTest::addRow("a word that would pass the right edge moves to the next line")
            << "aaaa bbbb cccc" << 10000.0f
            << QStringList{"font size 12", "tone font",  "print aaaa ", "print bbbb ",
                           "line end",     "print cccc", "line end",    "document end"};
        QTest::addRow("the tab, the no-break space and a lone CR are part of a word")
            << u"a\u00A0b\tc\rd e"_s << 10000.0f
            << QStringList{"font size 12", "tone font", u"print a\u00A0b\tc\rd "_s,
                           "print e",      "line end",  "document end"};
        QTest::addRow("a word wider than the line moves down even from the line's start")
            << "aaaaaaaaaaa b" << 10000.0f
            << QStringList{"font size 12", "tone font", "line end", "print aaaaaaaaaaa ",
                           "line end",     "print b",   "line end", "document end"};
        QTest::addRow("each further blank is a word of its own")
            << "aaaaaaaaa   b" << 10000.0f
            << QStringList{"font size 12", "tone font", "print aaaaaaaaa ",
                           "line end",     "print  ",   "print  ",
                           "print b",      "line end",  "document end"};
        QTest::addRow("a wrapped line starts a new page when fewer twips remain than points")
            << "aaaaa bbbbb" << 308.0f
            << QStringList{"font size 12", "tone font",   "print aaaaa ", "line end",
                           "new page",     "print bbbbb", "line end",     "document end"};
        QTest::addRow("a line ended in the text never starts a new page")
            << " a\r\nb\r\nc" << 300.0f
            << QStringList{"font size 12", "tone font", "print  ", "print a",  "line end",
                           "print b",      "line end",  "print c", "line end", "document end"};
        QTest::addRow("a wrapped line stays on the page when as many twips remain as points")
            << "aaaaa bbbbb" << 308.25f
            << QStringList{"font size 12", "tone font", "print aaaaa ", "line end",
                           "print bbbbb",  "line end",  "document end"};
    }
    void wrapping() { comparePaper({}); }

    // A failed step is skipped, as a printout stopping there would lose the rest of the text.
    void failingSteps_data() {
        columns<QString, float, QStringList, QStringList>({"text", "height", "failing", "paper"});
        const QStringList onOneLine{"font size 12", "tone font", "print aaaaa ",
                                    "print bbbbb",  "line end",  "document end"};
        QTest::addRow("a failed textWidth prints on the line")
            << "aaaaa bbbbb" << 10000.0f << QStringList{"textWidth"} << onOneLine;
        QTest::addRow("a failed width prints on the line")
            << "aaaaa bbbbb" << 10000.0f << QStringList{"width"} << onOneLine;
        QTest::addRow("a failed currentX prints on the line")
            << "aaaaa bbbbb" << 10000.0f << QStringList{"currentX"} << onOneLine;
        QTest::addRow("a printer failing every step gets nothing")
            << "ab\r\nc" << 10000.0f << QStringList{"every step"} << QStringList{};
        const QStringList onNewPage{"font size 12", "tone font",   "print aaaaa ", "line end",
                                    "new page",     "print bbbbb", "line end",     "document end"};
        QTest::addRow("a failed height starts a new page")
            << "aaaaa bbbbb" << 10000.0f << QStringList{"height"} << onNewPage;
        QTest::addRow("a failed fontSize starts a new page")
            << "aaaaa bbbbb" << 10000.0f << QStringList{"fontSize"} << onNewPage;
        QTest::addRow("a failed currentY starts a new page")
            << "aaaaa bbbbb" << 10000.0f << QStringList{"currentY"} << onNewPage;
        QTest::addRow("a failed endLine is skipped")
            << "aaaaa bbbbb\r\nc" << 10000.0f << QStringList{"endLine"}
            << QStringList{"font size 12", "tone font", "print aaaaa ",
                           "print bbbbb",  "print c",   "document end"};
        QTest::addRow("a failed newPage is skipped")
            << "aaaaa bbbbb" << 100.0f << QStringList{"newPage"}
            << QStringList{"font size 12", "tone font", "print aaaaa ", "line end",
                           "print bbbbb",  "line end",  "document end"};
    }
    void failingSteps() { comparePaper(cell<QStringList>("failing")); }
};

QTEST_GUILESS_MAIN(TestPrintJob)
#include "tst_printjob.moc"
