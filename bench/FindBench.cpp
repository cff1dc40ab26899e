// Times Find through 10 MB of pinyin against QStringView::indexOf of the same text in the same
// run: a search that finds nothing, led by a consonant and by a vowel (which has many forms),
// and a Find Next that finds a word at the far end.
//
//   tonquill_find_bench [--runs N]
#include "PinyinText.h"
#include "Samples.h"
#include "tone/ToneSearch.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

namespace {

constexpr qsizetype textSize = 10'000'000;

std::u16string_view view(const QString& text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), std::size_t(text.size())};
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption runsOption("runs", "Measurements of each figure.", "N", "9");
    parser.addOption(runsOption);
    parser.process(application);
    const QString text = bench::pinyinText(320'000).left(textSize) + QStringLiteral(" Tonquill");
    struct Case {
        const char* name;
        QString search;
        bool found;
    };
    const Case cases[] = {{"finds nothing, led by a consonant", "lve", false},
                          {"finds nothing, led by a vowel", "ve", false},
                          {"Find Next at the far end", "Tonquill", true}};
    std::printf("Find in %lld characters of pinyin, median of %s runs, times in ms\n",
                qlonglong(text.size()), qPrintable(parser.value(runsOption)));
    std::printf("%-36s %10s %10s %8s\n", "", "Find", "indexOf", "ratio");
    bool met = true;
    for (const Case& c : cases) {
        const tone::ToneSearch search(view(c.search), false);
        bench::Samples findMs, indexMs;
        for (int run = 0; run < parser.value(runsOption).toInt(); ++run) {
            std::optional<tone::ToneSearch::Match> match;
            qsizetype index = 0;
            findMs.add(bench::milliseconds([&] { match = search.next(view(text), 0); }));
            indexMs.add(bench::milliseconds([&] { index = QStringView(text).indexOf(c.search); }));
            if (match.has_value() != c.found || (index >= 0) != c.found) {
                std::fprintf(stderr, "%s: unexpected result\n", c.name);
                return 1;
            }
        }
        const double ratio = findMs.median() / indexMs.median();
        met = met && ratio <= 2;
        std::printf("%-36s %10.2f %10.2f %7.2fx\n", c.name, findMs.median(), indexMs.median(),
                    ratio);
    }
    std::printf("target: each at most 2x indexOf   %s\n", met ? "met" : "MISSED");
    return 0;
}
