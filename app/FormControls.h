#pragma once

#include "FormDesign.h"

#include <array>

class HelpBox;
class PictureBox;
class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QWidget;
class Shape;
class TextBox;

// The window's controls, typed and named as the design names them. Filled once, as the controls
// are made from the design table; nothing looks a control up by its name after that.
struct FormControls {
    TextBox* Text2 = nullptr;
    QLineEdit* Text1 = nullptr;
    std::array<QRadioButton*, 2> op{}; // op(0) foreground, op(1) background
    PictureBox* pCol = nullptr;
    QCheckBox* Check1 = nullptr;
    Shape* Shape2 = nullptr;
    HelpBox* Text14 = nullptr;
    QLabel* Image15 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    std::array<QLineEdit*, 11> holders{}; // Text3 for the first glyph row, up to Text13

    // Records `made`, the control of the design row `design`.
    void take(const FormDesign::Control& design, QWidget* made);
};
