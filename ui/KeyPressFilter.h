#pragma once

#include <QObject>

#include <cstdint>
#include <functional>

class QKeyEvent;
class QWidget;

// Hands a control's key-press handler the code of every character a key press or an input method
// produces, before the control inserts it. Keys that produce no character (arrows, Home, End,
// function keys, Delete) reach it not at all. A key that a shortcut of the window takes while the
// control has the focus reaches it too, as its control code, before the shortcut's action runs.
// It never changes or swallows a key.
class KeyPressFilter : public QObject {
    Q_OBJECT

  public:
    using Handler = std::function<void(std::int16_t keyCode)>;

    KeyPressFilter(QWidget* control, Handler handler);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void shortcutOverride(QWidget& control, QKeyEvent& key) const;
    void pass(const QString& characters) const;

    Handler handler_;
};
