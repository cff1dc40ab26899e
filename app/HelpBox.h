#pragma once

#include "TextBox.h"

// The help box `Text14`, shown in the editor's place. Its text goes in when it is first shown:
// put in while hidden, it would be laid out at every start for the accessibility interface.
class HelpBox : public TextBox {
    Q_OBJECT

  public:
    using TextBox::TextBox;

    void setVisible(bool visible) override;

  private:
    bool filled_ = false;
};
