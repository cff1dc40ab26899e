#pragma once

#include <functional>
#include <string>

class QWidget;

namespace install {

// Shows `text` in a modal box captioned "Tonquill" with one OK button and no icon, over `parent`
// while that widget lives; returns once the box is dismissed.
std::function<void(const std::string& text)> modalMessageBox(QWidget* parent);

} // namespace install
