#include "TestSupport.h"
#include "print/EditorPrint.h"
#include "print/PdfExport.h"
#include "print/QtPrinterSurface.h"
#include "print/print_Click.h"
#include "tone/UnicodePinyin.h"

#include <QDeadlineTimer>
#include <QFontDatabase>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;
using print::QtPrinterSurface;

class TestQtPrinterSurface : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString pdf(const QString& name) const { return dir_.filePath(name + ".pdf"); }

    // A PDF printer on A4 with 10 mm margins.
    static std::unique_ptr<QPrinter> pdfPrinter(const QString& path, QPrinter::PrinterMode mode) {
        auto printer = std::make_unique<QPrinter>(mode);
        printer->setOutputFileName(path);
        printer->setPageSize(QPageSize(QPageSize::A4));
        printer->setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
        return printer;
    }
    // What a poppler tool prints of a PDF; a null text where poppler-utils is missing.
    static QString poppler(const QString& tool, const QStringList& arguments) {
        QProcess process;
        process.start(tool, arguments);
        if (!process.waitForFinished(30000) || process.exitCode() != 0)
            return {};
        return QString::fromUtf8(process.readAllStandardOutput());
    }
    static int pdfPages(const QString& path) {
        static const QRegularExpression page(R"(/Type\s*/Page(?![s\w]))");
        return int(QString::fromLatin1(readFile(path)).count(page));
    }

  private slots:
    // Sizes are in twips at any resolution (DejaVu Serif's digits are 1303/2048 em wide). A size
    // keeps four decimals, zero, huge and NaN ones are refused; an ended document answers nothing.
    void twips() {
        for (const auto mode : {QPrinter::HighResolution, QPrinter::ScreenResolution}) {
            auto printer = pdfPrinter(pdf("twips"), mode);
            QtPrinterSurface surface(*printer);
            QVERIFY(qAbs(*surface.width() - 190 * 1440 / 25.4) < 30);
            QVERIFY(qAbs(*surface.height() - 277 * 1440 / 25.4) < 30);
            surface.setFontName("DejaVu Serif");
            for (const float points : {12.0f, 24.0f}) { // each size measured anew
                surface.setFontSize(points);
                const double digits = 10 * 1303.0 / 2048 * points * QtPrinterSurface::twipsPerPoint;
                QVERIFY(qAbs(*surface.textWidth(u"0123456789") - digits) < digits * 0.02);
            }
            for (float asked : {15.123456f, 0.0f, 1.0e9f, float(qQNaN())})
                surface.setFontSize(asked);
            QCOMPARE(*surface.fontSize(), 15.1235);
            surface.endDocument();
            QVERIFY(!surface.fontSize() && !surface.currentX() && !surface.currentY() &&
                    !surface.width() && !surface.height() && !surface.textWidth(u"ma"));
        }
    }

    // Printing moves right, a line end down to the left edge, a new page or a line past the bottom
    // to the top; no font change, line end, new page or unended document loses a printed word.
    void positionsAndWords() {
        {
            auto printer = pdfPrinter(pdf("words"), QPrinter::HighResolution);
            print::QtPrinterSurface surface(*printer);
            const auto at = [&] { return std::pair(*surface.currentX(), *surface.currentY()); };
            surface.setFontSize(12.0f);
            surface.print(u"Zh\u00EEng ");
            surface.print(u"w\u00E5n ");
            QCOMPARE(at(), std::pair(*surface.textWidth(u"Zh\u00EEng w\u00E5n "), 0.0f));
            surface.setFontName("DejaVu Sans");
            surface.print(u"p\u00EAny\u00EAn");
            surface.endLine();
            const float line = at().second;
            QVERIFY(at().first == 0.0f && line > 240 && line < 360);
            surface.print(u"ma");
            surface.newPage();
            QCOMPARE(at(), std::pair(0.0f, 0.0f));
            surface.print(u"h\u01CEo");
            while (*surface.currentY() + line <= *surface.height())
                surface.endLine();
            surface.print(u"ni");
            QCOMPARE(at(), std::pair(*surface.textWidth(u"ni"), 0.0f));
        }
        QCOMPARE(pdfPages(pdf("words")), 3);
        const QString text = poppler("pdftotext", {"-enc", "UTF-8", pdf("words"), "-"});
        if (text.isNull())
            QSKIP("pdftotext (poppler-utils) is not installed");
        QCOMPARE(text.simplified(), u"Zh\u00EEng w\u00E5n p\u00EAny\u00EAn ma h\u01CEo ni");
    }

    // The editor's text on paper, line breaks kept, or false where the file cannot be made.
    void editorText_data() {
        columns<QString, int, int>({"text", "leastPages", "mostPages"});
        QTest::addRow("no text: one blank page") << QString() << 1 << 1;
        QTest::addRow("200 short lines run over pages") << u"ma\n"_s.repeated(200) << 3 << 5;
        QTest::addRow("one long line is wrapped onto pages")
            << u"zh\u00EEng "_s.repeated(4000) << 2 << 20;
    }
    void editorText() {
        QVERIFY(print::printEditorTextToPdf(cell<QString>("text"), pdf("text")));
        const int pages = pdfPages(pdf("text"));
        QVERIFY2(pages >= cell<int>("leastPages") && pages <= cell<int>("mostPages"),
                 qPrintable(QString::number(pages)));
    }
    void aPdfInAMissingFolderIsRefused() {
        QVERIFY(!print::printEditorTextToPdf("ma", dir_.filePath("missing/x.pdf")));
    }
    // With no default printer, "Print text" returns at once.
    void noDefaultPrinterPrintsNothing() {
        if (!QPrinterInfo::defaultPrinterName().isEmpty())
            QSKIP("a default printer is reachable here");
        const QDeadlineTimer deadline(3000);
        print::print_Click(QString("ni hao ").repeated(100000));
        QVERIFY(!deadline.hasExpired());
    }

    // The export breaks lines and pages where the printout on the same paper does; its text
    // layer reads as Unicode pinyin, in DejaVu Serif embedded. No text, one page.
    void exportMatchesThePrintout() {
        QVERIFY(QFontDatabase::addApplicationFont(PROGRAM_DIR "/pyserif.ttf") >= 0);
        const QString text =
            u"Zh\u00EEnggu\u00EF r\u00E9n, n\u00ED h\u00E2o m\u00E1! "_s.repeated(900);
        QVERIFY(print::printEditorTextToPdf(text + "\n\nL\u00FB", pdf("printout")));
        const QPageSize paper = QPrinter(QPrinter::HighResolution).pageLayout().pageSize();
        QVERIFY(writeFile(pdf("export"), print::PdfExport::pdfOf(text + "\n\nL\u00FB", paper)));
        QVERIFY(writeFile(pdf("empty"), print::PdfExport::pdfOf("", paper)));
        QCOMPARE(pdfPages(pdf("empty")), 1);
        const QString printout = poppler("pdftotext", {"-enc", "UTF-8", pdf("printout"), "-"});
        if (printout.isNull())
            QSKIP("pdftotext and pdffonts (poppler-utils) are not installed");
        const QString exported = poppler("pdftotext", {"-enc", "UTF-8", pdf("export"), "-"});
        QVERIFY(exported.count('\f') > 1 && exported.startsWith(u"Zhōngguó rèn, nǐ hǎo mā!"_s));
        QCOMPARE(exported,
                 QString::fromStdU16String(tone::toUnicodePinyin(printout.toStdU16String())));
        const QStringList fonts = poppler("pdffonts", {pdf("export")}).split('\n').mid(2);
        // Embedded, and as a subset (the whole face is 380 KB), though Qt tags no subset's name.
        QCOMPARE(
            fonts.filter(QRegularExpression(R"(^DejaVuSerif +CID TrueType +\S+ +yes )")).size(), 1);
        QVERIFY(print::PdfExport::pdfOf(u"L\u00FB"_s, paper).size() < 40'000);
        QVERIFY(writeFile(pdf("a5"), print::PdfExport::pdfOf("ma", QPageSize(QPageSize::A5))));
        QVERIFY(poppler("pdfinfo", {pdf("a5")}).contains("420 x 595 pts (A5)"));
    }
    void exportPaperFollowsTheLocale_data() {
        columns<QLocale, QString>({"locale", "paper"});
        QTest::addRow("metric: A4") << QLocale(QLocale::German, QLocale::Germany) << "A4";
        QTest::addRow("the United States: Letter")
            << QLocale(QLocale::English) << "Letter / ANSI A";
    }
    void exportPaperFollowsTheLocale() {
        const auto restore = qScopeGuard([before = QLocale()] { QLocale::setDefault(before); });
        QLocale::setDefault(cell<QLocale>("locale"));
        QCOMPARE(print::PdfExport::localePaper().name(), cell<QString>("paper"));
    }
};

QTEST_MAIN(TestQtPrinterSurface)
#include "tst_qtprintersurface.moc"
