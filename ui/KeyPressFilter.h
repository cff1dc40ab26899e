#pragma once

#include <QObject>

#include <cstdint>
#include <functional>

class QWidget;

// Hands a control's key-press handler the code of every character a key press or an input method
// produces, before the control inserts it. Keys that produce no character (arrows, Home, End,
// function keys, Delete) reach it not at all. It never changes or swallows a key.
class KeyPressFilter : public QObject {
  public:
    using Handler = std::function<void(std::int16_t keyCode)>;

    KeyPressFilter(QWidget* control, Handler handler);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void pass(const QString& characters) const;

    Handler handler_;
};
