#include "EditorAccessible.h"

#include "EditorText.h"
#include "tone/UnicodePinyin.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>

namespace {

QAccessible::UpdateHandler previousHandler = nullptr;

constexpr const char* editorProperty = "tonquillAccessibleEditor";
constexpr const char* changesProperty = "tonquillEditorChanges";

int changes(const QPlainTextEdit& editor) {
    return editor.property(changesProperty).toInt();
}

QAccessibleInterface* editorFactory(const QString&, QObject* object) {
    auto* editor = qobject_cast<QPlainTextEdit*>(object);
    if (editor && editor->property(editorProperty).toBool())
        return new EditorAccessible(editor);
    return nullptr;
}

} // namespace

EditorAccessible::EditorAccessible(QPlainTextEdit* editor)
    : QAccessibleWidget(editor, QAccessible::EditableText) {}

void EditorAccessible::install(QPlainTextEdit& editor) {
    static const bool installed =
        (QAccessible::installFactory(editorFactory),
         previousHandler = QAccessible::installUpdateHandler(update), true);
    Q_UNUSED(installed);
    editor.setProperty(editorProperty, true);
    QObject::connect(editor.document(), &QTextDocument::contentsChanged, &editor,
                     [&editor] { editor.setProperty(changesProperty, changes(editor) + 1); });
}

// The default handler, the platform's, is reached by taking this one away for the moment.
void EditorAccessible::send(QAccessibleEvent* event) {
    if (previousHandler)
        return previousHandler(event);
    QAccessible::installUpdateHandler(nullptr);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(update);
}

void EditorAccessible::update(QAccessibleEvent* event) {
    auto* editor = qobject_cast<QPlainTextEdit*>(event->object());
    auto* mine =
        editor && editor->property(editorProperty).toBool()
            ? dynamic_cast<EditorAccessible*>(QAccessible::queryAccessibleInterface(editor))
            : nullptr;
    const QAccessible::Event type = event->type();
    if (!mine || (type != QAccessible::TextInserted && type != QAccessible::TextRemoved &&
                  type != QAccessible::TextUpdated))
        return send(event);
    if (type == QAccessible::TextInserted) {
        const auto* inserted = static_cast<QAccessibleTextInsertEvent*>(event);
        mine->reportChange(inserted->changePosition(), 0, int(inserted->textInserted().size()));
    } else if (type == QAccessible::TextRemoved) {
        const auto* removed = static_cast<QAccessibleTextRemoveEvent*>(event);
        mine->reportChange(removed->changePosition(), int(removed->textRemoved().size()), 0);
    } else {
        const auto* updated = static_cast<QAccessibleTextUpdateEvent*>(event);
        mine->reportChange(updated->changePosition(), int(updated->textRemoved().size()),
                           int(updated->textInserted().size()));
    }
}

// Qt reports a change before the document says it changed, so a text made since the last change
// is still the text before this one; without it, only the removed length is known.
void EditorAccessible::reportChange(int position, int removedUnits, int addedUnits) {
    QString before(removedUnits, u' ');
    if (madeAtChange_ == changes(editor())) {
        const int from = toUnicode(position);
        before = unicode_.mid(from, toUnicode(position + removedUnits) - from);
    }
    madeAtChange_ = -1;
    const int from = toUnicode(position);
    const QString after = text(from, toUnicode(position + addedUnits));
    QAccessibleTextUpdateEvent event(widget(), from, before, after);
    send(&event);
}

void* EditorAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State EditorAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.editable = !editor().isReadOnly();
    state.readOnly = editor().isReadOnly();
    state.multiLine = true;
    return state;
}

QString EditorAccessible::text(QAccessible::Text type) const {
    return type == QAccessible::Value ? unicode() : QAccessibleWidget::text(type);
}

QPlainTextEdit& EditorAccessible::editor() const {
    return *static_cast<QPlainTextEdit*>(widget());
}

const QString& EditorAccessible::unicode() const {
    if (madeAtChange_ != changes(editor())) {
        const QString text = EditorText::all(editor());
        unicode_ =
            QString::fromStdU16String(tone::toUnicodePinyinMapped(text.toStdU16String(), sources_));
        madeAtChange_ = changes(editor());
    }
    return unicode_;
}

// The unit of the Unicode text that the editor's position falls in, or its end.
int EditorAccessible::toUnicode(int position) const {
    unicode();
    const auto after = std::upper_bound(sources_.begin(), sources_.end(), std::uint32_t(position));
    return int(std::max<std::ptrdiff_t>(after - sources_.begin() - 1, 0));
}

int EditorAccessible::toEditor(int offset) const {
    unicode();
    return int(sources_.at(
        std::clamp<std::size_t>(std::size_t(std::max(offset, 0)), 0, sources_.size() - 1)));
}

int EditorAccessible::characterCount() const {
    return int(unicode().size());
}

QString EditorAccessible::text(int startOffset, int endOffset) const {
    const QString& all = unicode();
    startOffset = std::clamp(startOffset, 0, int(all.size()));
    endOffset = std::clamp(endOffset, startOffset, int(all.size()));
    return all.mid(startOffset, endOffset - startOffset);
}

int EditorAccessible::cursorPosition() const {
    return toUnicode(editor().textCursor().position());
}

void EditorAccessible::setCursorPosition(int position) {
    QTextCursor cursor = editor().textCursor();
    cursor.setPosition(toEditor(position));
    editor().setTextCursor(cursor);
}

int EditorAccessible::selectionCount() const {
    return editor().textCursor().hasSelection() ? 1 : 0;
}

void EditorAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const {
    *startOffset = *endOffset = 0;
    const QTextCursor cursor = editor().textCursor();
    if (selectionIndex != 0 || !cursor.hasSelection())
        return;
    *startOffset = toUnicode(cursor.selectionStart());
    *endOffset = toUnicode(cursor.selectionEnd());
}

void EditorAccessible::select(int startOffset, int endOffset) {
    QTextCursor cursor = editor().textCursor();
    cursor.setPosition(toEditor(startOffset));
    cursor.setPosition(toEditor(endOffset), QTextCursor::KeepAnchor);
    editor().setTextCursor(cursor);
}

void EditorAccessible::addSelection(int startOffset, int endOffset) {
    select(startOffset, endOffset);
}

void EditorAccessible::setSelection(int selectionIndex, int startOffset, int endOffset) {
    if (selectionIndex == 0)
        select(startOffset, endOffset);
}

void EditorAccessible::removeSelection(int selectionIndex) {
    if (selectionIndex != 0)
        return;
    QTextCursor cursor = editor().textCursor();
    cursor.clearSelection();
    editor().setTextCursor(cursor);
}

QRect EditorAccessible::characterRect(int offset) const {
    QTextCursor cursor(editor().document());
    cursor.setPosition(std::clamp(toEditor(offset), 0, editor().document()->characterCount() - 1));
    const QRect local = editor().cursorRect(cursor);
    return QRect(editor().viewport()->mapToGlobal(local.topLeft()), local.size());
}

int EditorAccessible::offsetAtPoint(const QPoint& point) const {
    const QPoint local = editor().viewport()->mapFromGlobal(point);
    return toUnicode(editor().cursorForPosition(local).position());
}

// Scrolls as the caret would, then gives the caret back where it was.
void EditorAccessible::scrollToSubstring(int startIndex, int) {
    const QTextCursor kept = editor().textCursor();
    QTextCursor shown(editor().document());
    shown.setPosition(toEditor(startIndex));
    editor().setTextCursor(shown);
    editor().ensureCursorVisible();
    editor().setTextCursor(kept);
}

QString EditorAccessible::attributes(int offset, int* startOffset, int* endOffset) const {
    *startOffset = *endOffset = offset;
    return {};
}
