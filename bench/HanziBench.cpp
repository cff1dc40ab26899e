// Reads the table of Chinese readings as the program does and converts a megabyte of Chinese
// text (UTF-8) to pinyin, as a string and in the editor, reporting time and the memory the table
// takes.
//
//   tonquill_hanzi_bench [--table FILE] [--runs N]
//   tonquill_hanzi_bench --readings [--table FILE] < words
//
// With --readings it prints, for each line of Chinese read, the numbered syllables the program
// chooses, for tools/hanzi-accuracy.py.
#include "Samples.h"
#include "app/ChineseToPinyinActions.h"
#include "tone/HanziPinyin.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QPlainTextEdit>
#include <QTextStream>

#include <cstdio>
#include <fstream>
#include <iostream>

namespace {

// Sentences of everyday Chinese with its punctuation, about 3 bytes a character in UTF-8.
constexpr const char* sample =
    "我们是朋友，他长大以后在银行工作。你觉得这本书怎么样？昨天下午我和妹妹去了公园，"
    "那里的花都开了，很多人在湖边散步、唱歌和跳舞。老师说：“明天的考试很重要，大家要好好准备。”"
    "重庆和北京都是很大的城市，每年有很多游客来这里旅行。";

std::size_t residentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string key;
    std::size_t value = 0;
    while (status >> key) {
        if (key == "VmRSS:" && status >> value)
            return value;
        status.ignore(1 << 16, '\n');
    }
    return 0;
}

int printReadings(const tone::HanziTable& table) {
    std::string line;
    while (std::getline(std::cin, line)) {
        const std::u32string run = QString::fromStdString(line).toStdU32String();
        std::string joined;
        for (const std::string& syllable : tone::HanziPinyin::syllables(run, table))
            joined += (joined.empty() ? "" : " ") + (syllable.empty() ? "?" : syllable);
        std::cout << joined << '\n';
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption tableOption("table", "The table to read.", "FILE",
                                         TONQUILL_PROGRAM_DIR "/hanzi-readings.dat");
    const QCommandLineOption runsOption("runs", "Measurements of each figure.", "N", "9");
    const QCommandLineOption readingsOption("readings", "Print the readings of the words read.");
    parser.addOptions({tableOption, runsOption, readingsOption});
    parser.process(application);

    const std::size_t before = residentKilobytes();
    QString error;
    std::optional<tone::HanziTable> table;
    const double loadMs = bench::milliseconds(
        [&] { table = ChineseToPinyinActions::readTable(parser.value(tableOption), error); });
    if (!table) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    if (parser.isSet(readingsOption))
        return printReadings(*table);
    const std::size_t grown = residentKilobytes() - before;

    QString text;
    while (text.toUtf8().size() < 1'000'000)
        text += QString::fromUtf8(sample);
    const std::u16string_view letters(QStringView(text).utf16(), text.size());
    bench::Samples convertMs;
    std::size_t written = 0;
    for (int run = 0; run < parser.value(runsOption).toInt(); ++run)
        convertMs.add(bench::milliseconds(
            [&] { written = tone::HanziPinyin::convert(letters, *table).size(); }));
    // Through the editor as the action does it: the text replaced as one undo step.
    bench::Samples editorMs;
    QPlainTextEdit editor;
    ChineseToPinyinActions actions(editor, [&] { return parser.value(tableOption); });
    for (int run = 0; run < parser.value(runsOption).toInt(); ++run) {
        editor.setPlainText(text);
        editorMs.add(bench::milliseconds([&] { actions.convert(); }));
    }
    std::printf("Chinese characters to pinyin, median of %d runs\n", convertMs.count());
    std::printf("%-44s %10.1f ms\n", "table read on first use", loadMs);
    std::printf("%-44s %10.1f MB\n", "memory the loaded table takes", grown / 1024.0);
    std::printf("%-44s %10.1f ms  (%lld characters, %zu written)\n",
                "converting 1 MB of Chinese (UTF-8)", convertMs.median(), qlonglong(text.size()),
                written);
    std::printf("%-44s %10.1f ms\n", "the same in the editor, as one undo step", editorMs.median());
    const bool met = editorMs.median() <= 1000 && grown <= 30 * 1024;
    std::printf("target: at most 1 s a megabyte, at most 30 MB   %s\n", met ? "met" : "MISSED");
    return 0;
}
