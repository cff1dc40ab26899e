#include "FormControls.h"

#include "HelpBox.h"
#include "TextBox.h"
#include "ui/PictureBox.h"
#include "ui/Shape.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include <cstring>

namespace {

bool named(const FormDesign::Control& design, const char* name) {
    return std::strcmp(design.name, name) == 0;
}

int holderRow(const char* name) {
    int row = 1;
    while (std::strcmp(FormDesign::holderName(row), name) != 0)
        ++row;
    return row;
}

} // namespace

void FormControls::take(const FormDesign::Control& design, QWidget* made) {
    using FormDesign::Kind;
    switch (design.kind) {
    case Kind::Editor:
        Text2 = static_cast<TextBox*>(made);
        break;
    case Kind::HelpBox:
        Text14 = static_cast<HelpBox*>(made);
        break;
    case Kind::CheckBox:
        Check1 = static_cast<QCheckBox*>(made);
        break;
    case Kind::Label:
        (named(design, "Label1") ? Label1 : Label2) = static_cast<QLabel*>(made);
        break;
    case Kind::LineEdit:
        Text1 = static_cast<QLineEdit*>(made);
        break;
    case Kind::Option:
        op.at(named(design, "op(0)") ? 0 : 1) = static_cast<QRadioButton*>(made);
        break;
    case Kind::Shape:
        Shape2 = static_cast<Shape*>(made);
        break;
    case Kind::Palette:
        pCol = static_cast<PictureBox*>(made);
        break;
    case Kind::Image:
        Image15 = static_cast<QLabel*>(made);
        break;
    case Kind::Holder:
        holders.at(holderRow(design.name) - 1) = static_cast<QLineEdit*>(made);
        break;
    }
}
