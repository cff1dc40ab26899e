#pragma once

class PictureBox;
class QPlainTextEdit;
class QPoint;
class QRadioButton;
class Shape;

// A press on the palette, whatever the button and modifier keys: the colour shown at `position`
// fills the swatch and becomes the editor's text colour when "Foreground" (`op` index 0) is
// selected, otherwise its background colour. The colours go into the editor's palette, so the
// editor must not be styled by a style sheet, which would hide them; the handler warns if one is.
void pCol_MouseDown(const PictureBox& pCol, QPoint position, const QRadioButton& foregroundOption,
                    Shape& Shape2, QPlainTextEdit& Text2);
