#include "HelpBox.h"

#include "HelpText.h"

#include <QEvent>
#include <QTextDocument>

void HelpBox::setVisible(bool visible) {
    if (visible && !filled_) {
        filled_ = true;
        document()->setDefaultFont(font());
        setPlainText(helpText());
    }
    TextBox::setVisible(visible);
}

// The box keeps its font at once, as font() says; only the document's layout in it waits.
void HelpBox::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange && !filled_)
        QAbstractScrollArea::changeEvent(event);
    else
        TextBox::changeEvent(event);
}
