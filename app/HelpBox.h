#pragma once

#include "TextBox.h"

// The help box `Text14`, shown in the editor's place. Its text and its face go into the document
// when it is first shown: put in while hidden, the text would be laid out at every start for the
// accessibility interface, and the face loaded before the window could appear.
class HelpBox : public TextBox {
    Q_OBJECT

  public:
    using TextBox::TextBox;

    void setVisible(bool visible) override;

  protected:
    void changeEvent(QEvent* event) override;

  private:
    bool filled_ = false;
};
