#pragma once

#include "FormControls.h"
#include "FormDesign.h"

#include <utility>
#include <vector>

class QColor;
class QPalette;
class QWidget;

// Makes the window's controls from their rows of design data.
class ControlFactory {
  public:
    // Every control of the design, in its order, in its tab order, on `client`.
    static FormControls makeAll(QWidget* client);
    static QWidget* make(const FormDesign::Control& design, QWidget* parent);
    static QColor colour(FormDesign::Colour colour, const QPalette& system);

  private:
    static void setTabOrder(std::vector<std::pair<int, QWidget*>> byTabIndex);
    static QWidget* makeWidget(const FormDesign::Control& design, QWidget* parent);
    static void applyLook(const FormDesign::Control& design, QWidget& control);
};
