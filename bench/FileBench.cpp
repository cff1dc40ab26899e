// Files with 10 MB of pinyin: what a recovery write costs the user-interface thread, opening a file
// against QPlainTextEdit::setPlainText of the same text, and saving.
//
//   tonquill_file_bench [--runs N]
#include "PinyinText.h"
#include "Samples.h"
#include "app/EditorMirror.h"
#include "app/EditorText.h"
#include "files/PinyinFile.h"
#include "files/RecoveryStore.h"
#include "files/RecoveryWriter.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>

#include <cstdio>

namespace {

constexpr qsizetype textSize = 10'000'000;

QString tenMegabytes() {
    QString text = bench::pinyinText(320'000);
    text.truncate(text.lastIndexOf(u'\n', textSize) + 1);
    return text;
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
    const QString path = folder.filePath("ten.txt");
    if (!files::PinyinFile::save(path, text).isEmpty())
        return 1;
    // The bare editor is the reference; the other follows its text as the window's editor does.
    QPlainTextEdit bare, editor;
    EditorMirror mirror(editor);
    for (QPlainTextEdit* edit : {&bare, &editor}) {
        edit->resize(800, 600);
        edit->show();
    }

    bench::Samples reference, opening, saving, share, nextKey, written, reading;
    for (int run = 0; run < runs; ++run) {
        reference.add(bench::milliseconds([&] { bare.setPlainText(text); }));
        opening.add(bench::milliseconds(
            [&] { mirror.setPlainText(files::PinyinFile::open(path).content.text); }));
        saving.add(
            bench::milliseconds([&] { files::PinyinFile::save(path, EditorText::all(editor)); }));
    }

    files::RecoveryStore store(folder.filePath("state"));
    store.claim();
    files::RecoveryWriter writer(store);
    QTextCursor end(editor.document());
    for (int run = 0; run < runs; ++run) {
        written.add(bench::milliseconds([&] {
            share.add(bench::milliseconds([&] { writer.write(mirror.text(), {}); }));
            writer.finish();
        }));
        // The first edit after a write, while the writer may still hold the whole text.
        writer.write(mirror.text(), {});
        end.movePosition(QTextCursor::End);
        nextKey.add(bench::milliseconds([&] { end.insertText("a"); }));
        writer.finish();
        reading.add(bench::milliseconds([&] { (void)EditorText::all(editor); }));
    }

    std::printf("%.1f MB of pinyin in UTF-8 (%lld characters), median of %d runs\n\n",
                double(QFileInfo(path).size()) / 1e6, qlonglong(text.size()), runs);
    const auto row = [](const char* what, double ms, const QString& target) {
        std::printf("| %-44s | %9.1f | %s |\n", what, ms, qPrintable(target.leftJustified(15)));
    };
    std::printf("| %-44s | time (ms) | %-15s |\n", "", "target");
    std::printf("|----------------------------------------------|----------:|-----------------|\n");
    row("recovery write: the text taken (UI thread)", share.median(), "≤ 30 ms");
    row("first key after it (UI)", nextKey.median(), "≤ 30 ms");
    row("recovery write: converted and written", written.median(), "worker thread");
    row("reading the editor's text out, for scale", reading.median(), "");
    row("QPlainTextEdit::setPlainText", reference.median(), "");
    row("open the file", opening.median(),
        QString("≤ 1.50× (%1×)").arg(opening.median() / reference.median(), 0, 'f', 2));
    row("save the file", saving.median(), "< 300 ms");
    return 0;
}
