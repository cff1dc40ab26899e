// Files with 10 MB of pinyin: what a recovery write costs the user-interface thread, opening a file
// against QPlainTextEdit::setPlainText of the same text, and saving.
//
//   tonquill_file_bench [--runs N]
#include "PinyinText.h"
#include "Samples.h"
#include "app/EditorText.h"
#include "files/PinyinFile.h"
#include "files/RecoveryStore.h"
#include "files/RecoveryWriter.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

namespace {

constexpr qsizetype textSize = 10'000'000;

QString tenMegabytes() {
    QString text = bench::pinyinText(320'000);
    text.truncate(text.lastIndexOf(u'\n', textSize) + 1);
    return text;
}

double milliseconds(const std::function<void()>& work) {
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption runsOption("runs", "Measurements of each figure.", "N", "7");
    parser.addOption(runsOption);
    parser.process(application);
    const int runs = parser.value(runsOption).toInt();

    QTemporaryDir folder;
    const QString text = tenMegabytes();
    QPlainTextEdit editor;
    editor.resize(800, 600);
    editor.show();
    const QString path = folder.filePath("ten.txt");
    if (!files::PinyinFile::save(path, text).isEmpty())
        return 1;

    bench::Samples reference, opening, saving, copy, worker;
    for (int run = 0; run < runs; ++run) {
        reference.add(milliseconds([&] { editor.setPlainText(text); }));
        opening.add(
            milliseconds([&] { editor.setPlainText(files::PinyinFile::open(path).content.text); }));
        saving.add(milliseconds([&] { files::PinyinFile::save(path, EditorText::all(editor)); }));
    }

    files::RecoveryStore store(folder.filePath("state"));
    store.claim();
    files::RecoveryWriter writer(store);
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer total;
        total.start();
        copy.add(milliseconds([&] { writer.write(EditorText::all(editor), {}); }));
        writer.finish();
        worker.add(double(total.nsecsElapsed()) / 1e6);
    }

    std::printf("%.1f MB of pinyin (%lld characters), median of %d runs\n\n",
                double(QFileInfo(path).size()) / 1e6, qlonglong(text.size()), runs);
    std::printf("|                                        | time (ms) | target        |\n");
    std::printf("|----------------------------------------|----------:|---------------|\n");
    std::printf("| recovery write, user-interface thread  | %9.1f | ≤ 30 ms       |\n",
                copy.median());
    std::printf("| recovery write, until written          | %9.1f |               |\n",
                worker.median());
    std::printf("| setPlainText                           | %9.1f |               |\n",
                reference.median());
    std::printf("| open the file                          | %9.1f | ≤ 1.50× (%.2f×) |\n",
                opening.median(), opening.median() / reference.median());
    std::printf("| save the file                          | %9.1f | < 300 ms      |\n",
                saving.median());
    return 0;
}
