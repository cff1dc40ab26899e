#include "ChineseToPinyinActions.h"

#include "EditorText.h"
#include "EditorToneNumbers.h"
#include "tone/HanziPinyin.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPlainTextEdit>

namespace {

// The table is about 7 MB; anything far larger is not the file the build made.
constexpr qint64 largestTable = 64 * 1024 * 1024;

} // namespace

ChineseToPinyinActions::ChineseToPinyinActions(QPlainTextEdit& editor,
                                               std::function<QString()> tablePath)
    : QObject(&editor), editor_(editor), tablePath_(std::move(tablePath)),
      convertAction_(new QAction(tr("Chinese characters to pinyin"), this)),
      pasteAction_(new QAction(tr("Paste Chinese as pinyin"), this)) {
    connect(convertAction_, &QAction::triggered, this, &ChineseToPinyinActions::convert);
    connect(pasteAction_, &QAction::triggered, this, &ChineseToPinyinActions::paste);
}

void ChineseToPinyinActions::convert() {
    if (const tone::HanziTable* readings = table()) {
        EditorToneNumbers::convertWith(editor_, [readings](std::u16string_view text) {
            return tone::HanziPinyin::convert(text, *readings);
        });
    }
}

void ChineseToPinyinActions::paste() {
    const QString text = EditorText::withoutNul(QGuiApplication::clipboard()->text());
    const tone::HanziTable* readings = text.isEmpty() ? nullptr : table();
    if (!readings)
        return;
    // One edit of its own, so that one Undo takes back the whole paste and nothing typed before.
    QTextCursor cursor = editor_.textCursor();
    cursor.beginEditBlock();
    const std::u16string_view letters(QStringView(text).utf16(), text.size());
    cursor.insertText(QString::fromStdU16String(tone::HanziPinyin::convert(letters, *readings)));
    cursor.endEditBlock();
    editor_.setTextCursor(cursor);
}

const tone::HanziTable* ChineseToPinyinActions::table() {
    if (table_)
        return &*table_;
    QString error;
    const QString path = tablePath_();
    table_ = readTable(path, error);
    if (!table_) {
        QMessageBox::warning(editor_.window(), convertAction_->text(),
                             tr("The table of Chinese readings could not be read from %1: %2\n"
                                "The text is unchanged.")
                                 .arg(QDir::toNativeSeparators(path), error));
    }
    return table_ ? &*table_ : nullptr;
}

std::optional<tone::HanziTable> ChineseToPinyinActions::readTable(const QString& path,
                                                                  QString& error) {
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > largestTable) {
        error = info.exists() ? tr("it is not the table file") : tr("there is no such file");
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return std::nullopt;
    }
    const QByteArray bytes = file.read(largestTable + 1);
    auto table = tone::HanziTable::parse(std::string(bytes.constData(), bytes.size()));
    if (!table)
        error = tr("the file is damaged");
    return table;
}
