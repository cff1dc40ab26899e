// Feeds key presses straight into the real window's editor, through the key tracker's filter,
// and the same presses into a bare plain-text editor, and reports the time per key of each.
//
//   tonquill_key_bench [--program-folder DIR] [--keys N] [--runs N]
#include "BenchForm.h"
#include "Samples.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTest>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

// Pinyin with tone digits, as typed, with a line break now and then as a poem would have.
const QString phrase = QStringLiteral("wo3 men2 xue2 xi2 han4 yu3 pin1 yin1 ni3 hao3 ma\r");

int keyOf(QChar character) {
    if (character == u'\r')
        return Qt::Key_Return;
    return character.toUpper().unicode();
}

std::vector<std::unique_ptr<QKeyEvent>> keyPresses(int count) {
    std::vector<std::unique_ptr<QKeyEvent>> presses;
    presses.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i) {
        const QChar character = phrase[i % phrase.size()];
        presses.push_back(std::make_unique<QKeyEvent>(QEvent::KeyPress, keyOf(character),
                                                      Qt::NoModifier, QString(character)));
    }
    return presses;
}

double nanosecondsPerKey(QPlainTextEdit& editor,
                         const std::vector<std::unique_ptr<QKeyEvent>>& presses) {
    editor.clear();
    QElapsedTimer clock;
    clock.start();
    for (const auto& press : presses)
        QCoreApplication::sendEvent(&editor, press.get());
    const double nanoseconds = double(clock.nsecsElapsed()) / double(presses.size());
    // Lets the replacement timers armed on the way tick before the next run.
    QTest::qWait(50);
    return nanoseconds;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption keysOption("keys", "Key presses per run.", "N", "100000");
    const QCommandLineOption runsOption("runs", "Runs of each editor.", "N", "5");
    parser.addOptions({keysOption, runsOption});
    const auto form = bench::BenchForm::fromCommandLine(parser, application);
    if (!form)
        return 1;
    bench::BenchForm& window = *form;
    QPlainTextEdit& Text2 = window.Text2();
    QPlainTextEdit bare;
    bare.setFont(Text2.font());
    bare.resize(Text2.size());
    bare.show();
    if (!QTest::qWaitForWindowExposed(&bare))
        return 1;

    const int keys = parser.value(keysOption).toInt();
    const auto presses = keyPresses(keys);
    bench::Samples tonquill;
    bench::Samples reference;
    for (int run = 0; run < parser.value(runsOption).toInt(); ++run) {
        tonquill.add(nanosecondsPerKey(Text2, presses));
        reference.add(nanosecondsPerKey(bare, presses));
    }
    std::printf("Key handling, %d key presses sent to the editor, median of %d runs\n", keys,
                tonquill.count());
    std::printf("%-34s %14s\n", "", "per key (us)");
    std::printf("%-34s %14.2f\n", "Text2 (key tracker's filter)", tonquill.median() / 1000.0);
    std::printf("%-34s %14.2f\n", "bare QPlainTextEdit, same font", reference.median() / 1000.0);
    std::printf("%-34s %13.2fx\n", "Text2 against bare", tonquill.median() / reference.median());
    return 0;
}
