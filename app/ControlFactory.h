#pragma once

#include "FormDesign.h"

class QColor;
class QPalette;
class QWidget;

// Makes one control of the window from its row of design data.
class ControlFactory {
  public:
    static QWidget* make(const FormDesign::Control& design, QWidget* parent);
    static QColor colour(FormDesign::Colour colour, const QPalette& system);

  private:
    static QWidget* makeWidget(const FormDesign::Control& design, QWidget* parent);
    static void applyLook(const FormDesign::Control& design, QWidget& control);
};
