#include "UnicodePinyinActions.h"

#include "EditorText.h"
#include "files/Utf8Escapes.h"
#include "tone/UnicodePinyin.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QPlainTextEdit>

namespace {

QAction* makeAction(QPlainTextEdit& editor, const QString& text, const QKeySequence& shortcut) {
    auto* action = new QAction(text, &editor);
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WidgetShortcut);
    action->setShortcutVisibleInContextMenu(true);
    editor.addAction(action);
    return action;
}

} // namespace

UnicodePinyinActions::UnicodePinyinActions(QPlainTextEdit& editor)
    : QObject(&editor), copyAction_(makeAction(editor, tr("Copy as Unicode pinyin"),
                                               QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C))),
      pasteAction_(makeAction(editor, tr("Paste Unicode pinyin"),
                              QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V))) {
    connect(copyAction_, &QAction::triggered, this, [&editor] { copy(editor); });
    connect(pasteAction_, &QAction::triggered, this, [&editor] { paste(editor); });
}

QList<QAction*> UnicodePinyinActions::actions() const {
    return {copyAction_, pasteAction_};
}

void UnicodePinyinActions::copy(const QPlainTextEdit& editor) {
    const QString text = EditorText::selectionOrAll(editor);
    const auto unicode = tone::toUnicodePinyin(text.toStdU16String());
    QGuiApplication::clipboard()->setText(
        files::Utf8Escapes::forCopy(QString::fromStdU16String(unicode)));
}

void UnicodePinyinActions::paste(QPlainTextEdit& editor) {
    const QString text = EditorText::withoutNul(QGuiApplication::clipboard()->text());
    if (text.isEmpty())
        return;
    // One edit of its own, so that one Undo takes back the whole paste and nothing typed before.
    QTextCursor cursor = editor.textCursor();
    cursor.beginEditBlock();
    cursor.insertText(QString::fromStdU16String(tone::fromUnicodePinyin(text.toStdU16String())));
    cursor.endEditBlock();
    editor.setTextCursor(cursor);
}
