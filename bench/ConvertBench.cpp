// Times "Convert tone numbers" on the whole of a 10 MB text of pinyin written with tone numbers,
// against QPlainTextEdit::setPlainText of the same text, each until laid out and painted.
//
//   tonquill_convert_bench [--program-folder DIR] [--runs N]
#include "BenchForm.h"
#include "PinyinText.h"
#include "Samples.h"

#include <QAction>
#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTest>

#include <cstdio>

namespace {

constexpr int largest = 10'000'000;

template <typename Work> double timed(Work work) {
    QElapsedTimer clock;
    clock.start();
    work();
    QCoreApplication::sendPostedEvents();
    return double(clock.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption runsOption("runs", "Runs of each.", "N", "5");
    parser.addOption(runsOption);
    const auto form = bench::BenchForm::fromCommandLine(parser, application);
    if (!form)
        return 1;
    bench::BenchForm& window = *form;
    QPlainTextEdit& editor = window.Text2();
    QAction& convert = window.option("Convert tone numbers");
    const QString text = bench::numberedPinyinText(largest / 30).left(largest);
    bench::Samples setMs;
    bench::Samples convertMs;
    for (int run = 0; run < parser.value(runsOption).toInt(); ++run) {
        editor.setPlainText(QString());
        QTest::qWait(100);
        setMs.add(timed([&] { editor.setPlainText(text); }));
        QTest::qWait(100);
        convertMs.add(timed([&] { convert.trigger(); }));
        if (editor.document()->characterCount() >= text.size()) {
            std::fprintf(stderr, "Nothing was converted.\n");
            return 1;
        }
    }
    const double ratio = convertMs.median() / setMs.median();
    std::printf("Converting 10 MB of numbered pinyin, median of %d runs, times in ms\n",
                setMs.count());
    std::printf("%-36s %10.1f\n", "Convert tone numbers (one undo step)", convertMs.median());
    std::printf("%-36s %10.1f\n", "QPlainTextEdit::setPlainText", setMs.median());
    std::printf("%-36s %9.2fx (target <= 1.50x)   %s\n", "convert against setPlainText", ratio,
                ratio <= 1.5 ? "met" : "MISSED");
    return 0;
}
