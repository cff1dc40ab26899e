#pragma once

class QCheckBox;
class QWidget;

// The Help box's click: ticked shows the help box in the editor's place, cleared or greyed brings
// the editor back. Only the two boxes' visibility changes.
void Check1_Click(const QCheckBox& Check1, QWidget& Text14, QWidget& Text2);
