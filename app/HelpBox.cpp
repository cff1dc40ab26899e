#include "HelpBox.h"

#include "HelpText.h"

void HelpBox::setVisible(bool visible) {
    if (visible && !filled_) {
        filled_ = true;
        setPlainText(helpText());
    }
    TextBox::setVisible(visible);
}
