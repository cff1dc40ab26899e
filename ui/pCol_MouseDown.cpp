#include "pCol_MouseDown.h"

#include "PictureBox.h"
#include "Shape.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QRadioButton>

namespace {

bool styleSheetApplies(const QPlainTextEdit& editor) {
    if (!qApp->styleSheet().isEmpty() || !editor.viewport()->styleSheet().isEmpty())
        return true;
    for (const QWidget* widget = &editor; widget; widget = widget->parentWidget()) {
        if (!widget->styleSheet().isEmpty())
            return true;
    }
    return false;
}

void setRole(QWidget& widget, QPalette::ColorRole role, const QColor& colour) {
    QPalette palette = widget.palette();
    palette.setColor(role, colour);
    widget.setPalette(palette);
}

void colourEditor(QPlainTextEdit& Text2, QPalette::ColorRole role, const QColor& colour) {
    if (styleSheetApplies(Text2))
        qWarning("A style sheet applies to the editor and may hide the colour picked");
    setRole(Text2, role, colour);
    // A palette of the viewport's own would otherwise keep showing the old background.
    if (Text2.viewport()->testAttribute(Qt::WA_SetPalette))
        setRole(*Text2.viewport(), role, colour);
}

} // namespace

void pCol_MouseDown(const PictureBox& pCol, QPoint position, const QRadioButton& foregroundOption,
                    Shape& Shape2, QPlainTextEdit& Text2) {
    const QColor colour = pCol.colourAt(position);
    const QPalette::ColorRole role = foregroundOption.isChecked() ? QPalette::Text : QPalette::Base;
    Shape2.setFillColour(colour);
    colourEditor(Text2, role, colour);
}
