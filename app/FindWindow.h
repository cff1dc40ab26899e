#pragma once

#include <QDialog>

#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// "Find": a small window over the main one that finds text in the editor by the pinyin rules of
// tone::ToneSearch, selecting each match. It changes nothing in the text.
class FindWindow : public QDialog {
    Q_OBJECT

  public:
    // `text` gives the editor's whole text without reading it out of the editor again.
    FindWindow(QWidget& window, QPlainTextEdit& editor, std::function<QString()> text);

    // Ctrl+F: shows the window with its search text selected.
    void start();
    // "Find Next" and "Find Previous"; F3 and Shift+F3 once a search was made, from the editor
    // too.
    // F3 and Shift+F3 wherever `widget`'s window has the focus: `again(true)` searches forwards.
    static void addFindAgainKeys(QWidget& widget, const std::function<void(bool)>& again);
    // While the help is shown in the editor's place there is nothing to find.
    void setHelpShown(bool shown);

    void find(bool forward);

  private:
    void select(int at, int units);

    QPlainTextEdit& editor_;
    std::function<QString()> text_;
    QLineEdit* searchText_;
    QCheckBox* matchTones_;
    QPushButton* next_;
    QPushButton* previous_;
    QLabel* status_;
    bool searched_ = false;
    bool helpShown_ = false;
};
