#include "print/EditorPrint.h"
#include "print/PrintJob.h"
#include "print/QtPrinterSurface.h"
#include "print/print_Click.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFontDatabase>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <limits>
#include <memory>

using print::QtPrinterSurface;

namespace {

const QString serif = "DejaVu Serif";
// DejaVu Serif draws every digit 1303 units wide on a 2048-unit em.
constexpr double digitEm = 1303.0 / 2048.0;

std::unique_ptr<QPrinter> pdfPrinter(const QString& path, QPrinter::PrinterMode mode,
                                     QPageSize::PageSizeId size = QPageSize::A4) {
    auto printer = std::make_unique<QPrinter>(mode);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(path);
    printer->setPageSize(QPageSize(size));
    printer->setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
    return printer;
}

int pdfPages(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    static const QRegularExpression page(R"(/Type\s*/Page(?![s\w]))");
    return int(QString::fromLatin1(file.readAll()).count(page));
}

// The words of a PDF file as poppler reads them back.
QStringList pdfWords(const QString& path) {
    QProcess process;
    process.start("pdftotext", {"-enc", "UTF-8", path, "-"});
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput())
        .split(QRegularExpression(R"(\s+)"), Qt::SkipEmptyParts);
}

} // namespace

class TestQtPrinterSurface : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString pdf(const QString& name) const { return dir_.filePath(name + ".pdf"); }

  private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        const int id =
            QFontDatabase::addApplicationFont("/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf");
        if (id < 0)
            QSKIP("DejaVu Serif (fonts-dejavu-core) is not installed");
    }

    // Sizes on paper come out in twips whatever the printer's resolution; the page less 10 mm
    // margins.
    void twips() {
        const std::tuple<QPrinter::PrinterMode, QPageSize::PageSizeId, QSizeF> rows[] = {
            {QPrinter::HighResolution, QPageSize::A4, {190.0, 277.0}},
            {QPrinter::ScreenResolution, QPageSize::A4, {190.0, 277.0}},
            {QPrinter::HighResolution, QPageSize::Letter, {195.9, 259.4}}};
        for (const auto& [mode, pageSize, areaMm] : rows) {
            auto printer = pdfPrinter(pdf("twips"), mode, pageSize);
            QtPrinterSurface surface(*printer);
            QVERIFY(surface.started());
            const double twipsPerMm = 1440.0 / 25.4;
            QVERIFY(qAbs(*surface.width() - areaMm.width() * twipsPerMm) < 30.0);
            QVERIFY(qAbs(*surface.height() - areaMm.height() * twipsPerMm) < 30.0);
            surface.setFontSize(12.0f);
            surface.setFontName(serif);
            const double expected = 10 * digitEm * 12 * QtPrinterSurface::twipsPerPoint;
            const float digits = *surface.textWidth(u"0123456789");
            QVERIFY2(qAbs(digits - expected) < expected * 0.02,
                     qPrintable(QString::number(digits)));
            // Four decimals are kept; zero, beyond any page and NaN are refused.
            for (float asked : {15.75f, 0.0f, 1.0e9f, std::numeric_limits<float>::quiet_NaN()})
                surface.setFontSize(asked);
            QCOMPARE(*surface.fontSize(), 15.75);
            surface.endDocument();
        }
    }

    // Printing moves right, a line end down to the left edge, a new page to the top; a line that
    // would run below the bottom goes to the top of a new page.
    void positions() {
        auto printer = pdfPrinter(pdf("positions"), QPrinter::HighResolution);
        QtPrinterSurface surface(*printer);
        const auto at = [&surface] { return std::pair(*surface.currentX(), *surface.currentY()); };
        surface.setFontSize(12.0f);
        surface.setFontName(serif);
        QCOMPARE(at(), std::pair(0.0f, 0.0f));
        surface.print(u"n\u00ED ");
        QCOMPARE(at(), std::pair(*surface.textWidth(u"n\u00ED "), 0.0f));
        surface.print(u"h\u00E4o");
        QCOMPARE(at(), std::pair(*surface.textWidth(u"n\u00ED h\u00E4o"), 0.0f));
        surface.endLine();
        const float line = at().second;
        QVERIFY2(at().first == 0.0f && line > 240.0f && line < 360.0f,
                 qPrintable(QString::number(line)));
        surface.print(u"ma");
        surface.newPage();
        QCOMPARE(at(), std::pair(0.0f, 0.0f));
        QCOMPARE(surface.pageCount(), 2);
        while (*surface.currentY() + line <= *surface.height())
            surface.endLine();
        QCOMPARE(surface.pageCount(), 2);
        surface.print(u"ma");
        QCOMPARE(surface.pageCount(), 3);
        QCOMPARE(at(), std::pair(*surface.textWidth(u"ma"), 0.0f));
        surface.endDocument();
        QCOMPARE(pdfPages(pdf("positions")), 3);
    }

    // Each step that leaves the line or the font must not lose the words printed before it,
    // nor may a document never ended.
    void wordsReachThePaper() {
        if (QStandardPaths::findExecutable("pdftotext").isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        for (const QString between : {"", "endLine", "newPage", "name"}) {
            const QString path = pdf("words-" + between);
            {
                auto printer = pdfPrinter(path, QPrinter::HighResolution);
                QtPrinterSurface surface(*printer);
                surface.setFontName(serif);
                surface.print(u"Zh\u00EEng ");
                surface.print(u"w\u00E5n ");
                if (between == "endLine")
                    surface.endLine();
                else if (between == "newPage")
                    surface.newPage();
                else if (between == "name")
                    surface.setFontName("DejaVu Sans");
                surface.print(u"p\u00EAny\u00EAn");
                if (!between.isEmpty())
                    surface.endDocument();
            }
            QCOMPARE(pdfWords(path), (QStringList{"Zh\u00EEng", "w\u00E5n", "p\u00EAny\u00EAn"}));
        }
    }

    // Once the document is ended, or when painting never started, every step fails.
    void stepsFailWhenInactive() {
        for (bool unwritable : {false, true}) {
            const QString path = unwritable ? dir_.filePath("missing/folder/x.pdf") : pdf("ended");
            auto printer = pdfPrinter(path, QPrinter::HighResolution);
            QtPrinterSurface surface(*printer);
            QCOMPARE(surface.started(), !unwritable);
            surface.endDocument();
            surface.print(u"ma");
            surface.newPage();
            QVERIFY(!surface.fontSize() && !surface.currentX() && !surface.currentY() &&
                    !surface.width() && !surface.height() && !surface.textWidth(u"ma"));
            print::PrintJob(surface).run(u"ni hao\r\nma");
        }
        QVERIFY(!print::printEditorTextToPdf("ma", dir_.filePath("missing/folder/x.pdf")));
        // Page counts of the empty text, many short lines and one long paragraph.
        const std::tuple<QString, int, int> texts[] = {
            {"", 1, 1},
            {QString("ma\n").repeated(200), 3, 5},
            {QString("zh\u00EEng w\u00E9n ").repeated(2000), 2, 20}};
        for (const auto& [text, minPages, maxPages] : texts) {
            QVERIFY(print::printEditorTextToPdf(text, pdf("text")));
            const int pages = pdfPages(pdf("text"));
            QVERIFY2(pages >= minPages && pages <= maxPages, qPrintable(QString::number(pages)));
        }
    }

    // The test's print server address leads nowhere, so there is no default printer.
    void noDefaultPrinterReturnsAtOnce() {
        if (!QPrinterInfo::defaultPrinterName().isEmpty())
            QSKIP("a default printer is reachable here");
        QElapsedTimer timer;
        timer.start();
        print::print_Click(QString("ni hao ").repeated(100000));
        QVERIFY2(timer.elapsed() < 3000, qPrintable(QString::number(timer.elapsed()) + " ms"));
    }
};

QTEST_MAIN(TestQtPrinterSurface)
#include "tst_qtprintersurface.moc"
