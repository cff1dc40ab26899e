#include "FindWindow.h"

#include "tone/ToneSearch.h"

#include <QAction>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

std::u16string_view view(const QString& text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), std::size_t(text.size())};
}

} // namespace

FindWindow::FindWindow(QWidget& window, QPlainTextEdit& editor, std::function<QString()> text)
    : QDialog(&window), editor_(editor), text_(std::move(text)), searchText_(new QLineEdit),
      matchTones_(new QCheckBox(tr("Match tones"))), next_(new QPushButton(tr("Find Next"))),
      previous_(new QPushButton(tr("Find Previous"))), status_(new QLabel) {
    setWindowTitle(tr("Find"));
    status_->setObjectName("findStatus");
    setObjectName("find");
    searchText_->setObjectName("findText");
    auto* buttons = new QDialogButtonBox(Qt::Vertical);
    buttons->addButton(next_, QDialogButtonBox::ActionRole);
    buttons->addButton(previous_, QDialogButtonBox::ActionRole);
    buttons->addButton(QDialogButtonBox::Close)->setText(tr("Close"));
    next_->setDefault(true);
    auto* layout = new QGridLayout(this);
    layout->addWidget(searchText_, 0, 0);
    layout->addWidget(matchTones_, 1, 0);
    layout->addWidget(status_, 2, 0);
    layout->addWidget(buttons, 0, 1, 3, 1);
    connect(next_, &QPushButton::clicked, this, [this] { find(true); });
    connect(previous_, &QPushButton::clicked, this, [this] { find(false); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(searchText_, &QLineEdit::textChanged, status_, &QLabel::clear);
    addFindAgainKeys(*this, [this](bool forward) { find(forward); });
}

void FindWindow::addFindAgainKeys(QWidget& widget, const std::function<void(bool)>& again) {
    for (const auto& [keys, forward] : {std::pair{QKeySequence(Qt::Key_F3), true},
                                        std::pair{QKeySequence(Qt::SHIFT | Qt::Key_F3), false}}) {
        auto* action = new QAction(&widget);
        action->setShortcut(keys);
        connect(action, &QAction::triggered, &widget,
                [again, onwards = forward] { again(onwards); });
        widget.addAction(action);
    }
}

void FindWindow::start() {
    show();
    raise();
    activateWindow();
    searchText_->setFocus();
    searchText_->selectAll();
}

void FindWindow::setHelpShown(bool shown) {
    helpShown_ = shown;
    for (QWidget* control : {static_cast<QWidget*>(searchText_), static_cast<QWidget*>(next_),
                             static_cast<QWidget*>(previous_), static_cast<QWidget*>(matchTones_)})
        control->setEnabled(!shown);
    status_->setText(shown ? tr("Find is off while the help is shown.") : QString());
}

// Forwards from the end of the selection, backwards from its start, so that the match already
// selected is passed over; past either end the search goes on from the other.
void FindWindow::find(bool forward) {
    if (helpShown_ || (!isVisible() && !searched_))
        return;
    const tone::ToneSearch search(view(searchText_->text()), matchTones_->isChecked());
    if (search.isEmpty())
        return;
    searched_ = true;
    const QString text = text_();
    const QTextCursor cursor = editor_.textCursor();
    auto match = forward ? search.next(view(text), cursor.selectionEnd())
                         : search.previous(view(text), cursor.selectionStart());
    QString status;
    if (!match) {
        match = forward ? search.next(view(text), 0) : search.previous(view(text), text.size());
        status = forward ? tr("Passed the end; went on from the start.")
                         : tr("Passed the start; went on from the end.");
    }
    if (!match) {
        status_->setText(tr("Not found"));
        return;
    }
    select(int(match->at), int(match->units));
    status_->setText(status);
}

void FindWindow::select(int at, int units) {
    QTextCursor cursor = editor_.textCursor();
    cursor.setPosition(at);
    cursor.setPosition(at + units, QTextCursor::KeepAnchor);
    editor_.setTextCursor(cursor);
}
