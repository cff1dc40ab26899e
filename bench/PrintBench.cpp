// Prints a thousand pages of pinyin to PDF with the editor's own word wrapping, exports them as
// PDF as "Export as PDF…" does, and prints them with QTextDocument::print, each in a child
// process, and compares their time and peak memory.
//
//   tonquill_print_bench [--lines N] [--font FILE]
#include "BenchRun.h"
#include "PinyinText.h"
#include "print/EditorPrint.h"
#include "print/PdfExport.h"
#include "tone/ToneFont.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextDocument>

#include <cstdio>

namespace {

constexpr int defaultLines = 58100;
const QString fallbackFont = "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf";

QString toneFace() {
    return QString::fromUtf8(tone::toneFontFace.data(), qsizetype(tone::toneFontFace.size()));
}

void printWithQt(const QString& text, const QString& pdf) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    QTextDocument document;
    QFont font(toneFace());
    font.setPointSizeF(12.0);
    document.setDefaultFont(font);
    document.setPlainText(text);
    document.print(&printer);
}

int runOne(const QString& way, const QString& pdf, int lines) {
    const QString text = bench::pinyinText(lines);
    bench::BenchRun run;
    run.startKib = bench::peakResidentKib();
    QElapsedTimer timer;
    timer.start();
    if (way == "tonquill") {
        print::printEditorTextToPdf(text, pdf);
    } else if (way == "export") {
        QFile file(pdf);
        if (!file.open(QIODevice::WriteOnly) || !file.write(print::PdfExport::pdfOf(text)))
            return 1;
    } else {
        printWithQt(text, pdf);
    }
    run.seconds = double(timer.nsecsElapsed()) / 1e9;
    run.peakKib = bench::peakResidentKib();
    run.pages = bench::pdfPageCount(pdf);
    std::printf("%s\n", qPrintable(run.toLine()));
    return 0;
}

bench::BenchRun runChild(const QStringList& arguments) {
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), arguments);
    child.waitForFinished(-1);
    return bench::BenchRun::fromLine(QString::fromLocal8Bit(child.readAllStandardOutput()));
}

void report(const bench::BenchRun& ours, const bench::BenchRun& exported, const bench::BenchRun& qt,
            int lines, int chars) {
    const auto mib = [](long kib) { return double(kib) / 1024.0; };
    std::printf("Text: %d lines, %.2f MB of pinyin (UTF-16 code units: %d)\n", lines, chars / 1e6,
                chars);
    std::printf("%-24s %10s %14s %14s %7s\n", "", "time (s)", "peak RSS (MiB)", "growth (MiB)",
                "pages");
    std::printf("%-24s %10.2f %14.1f %14.1f %7d\n", "Tonquill word wrapping", ours.seconds,
                mib(ours.peakKib), mib(ours.peakKib - ours.startKib), ours.pages);
    std::printf("%-24s %10.2f %14.1f %14.1f %7d\n", "Export as PDF", exported.seconds,
                mib(exported.peakKib), mib(exported.peakKib - exported.startKib), exported.pages);
    std::printf("%-24s %10.2f %14.1f %14.1f %7d\n", "QTextDocument::print", qt.seconds,
                mib(qt.peakKib), mib(qt.peakKib - qt.startKib), qt.pages);
    if (ours.seconds > 0 && ours.peakKib > ours.startKib)
        std::printf("%-24s %10.2f %14.2f %14.2f\n", "ratio Qt / Tonquill",
                    qt.seconds / ours.seconds, double(qt.peakKib) / ours.peakKib,
                    double(qt.peakKib - qt.startKib) / (ours.peakKib - ours.startKib));
}

} // namespace

int main(int argc, char* argv[]) {
    // Printing to PDF needs no screen; a display given by the caller is still honoured.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    QCommandLineOption linesOption("lines", "Lines of text.", "N", QString::number(defaultLines));
    QCommandLineOption fontOption("font", "Font file to print with.", "FILE",
                                  QStringLiteral(TONQUILL_PROGRAM_DIR "/pyserif.ttf"));
    QCommandLineOption wayOption("way", "Run one way only (tonquill, export or qt).", "WAY");
    QCommandLineOption pdfOption("pdf", "PDF file of a single run.", "FILE");
    parser.addOptions({linesOption, fontOption, wayOption, pdfOption});
    parser.process(app);

    const int lines = parser.value(linesOption).toInt();
    QString font = parser.value(fontOption);
    if (!QFileInfo::exists(font)) {
        std::fprintf(stderr, "%s is missing; printing with %s\n", qPrintable(font),
                     qPrintable(fallbackFont));
        font = fallbackFont;
    }
    if (parser.isSet(wayOption)) {
        QFontDatabase::addApplicationFont(font);
        return runOne(parser.value(wayOption), parser.value(pdfOption), lines);
    }

    QTemporaryDir dir;
    const QStringList common{"--lines", QString::number(lines), "--font", font};
    const auto ours =
        runChild(common + QStringList{"--way", "tonquill", "--pdf", dir.filePath("tonquill.pdf")});
    const auto exported =
        runChild(common + QStringList{"--way", "export", "--pdf", dir.filePath("export.pdf")});
    const auto qt = runChild(common + QStringList{"--way", "qt", "--pdf", dir.filePath("qt.pdf")});
    report(ours, exported, qt, lines, int(bench::pinyinText(lines).size()));
    return 0;
}
