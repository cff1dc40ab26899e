#pragma once

#include <QCoreApplication>
#include <QRect>

#include <array>
#include <cstdint>

#include <optional>
#include <span>

// The window as design data: every control with the values it has when the window is created.
// Positions are in twips, as the layout was drawn; `twipsToPixels` is the one conversion.
namespace FormDesign {

enum class Kind {
    Editor,
    HelpBox,
    CheckBox,
    Label,
    LineEdit,
    Option,
    Shape,
    Palette,
    Image,
    Holder
};

struct Twips {
    int left, top, width, height;
};

struct Font {
    const char* face = nullptr; // the window system's default user-interface font
    double points = 0;
};

// A colour as the layout stores it: 0x00BBGGRR, or 0x80000000 plus the index of a system colour
// (5 window background, 8 window text, 15 button face) that follows the desktop's palette.
using Colour = std::uint32_t;
constexpr Colour systemColour(int index) {
    return 0x80000000u | static_cast<Colour>(index);
}
constexpr Colour rgb(int red, int green, int blue) {
    return static_cast<Colour>(red | green << 8 | blue << 16);
}

// What a row leaves out keeps the value given here.
struct Control {
    const char* name;
    Kind kind;
    Twips place;
    const char* text = nullptr;
    Font font{};
    std::optional<Colour> foreground{};
    std::optional<Colour> background{};
    int tabIndex = -1; // -1: never takes the focus
    bool visible = true;
    // What a screen reader calls a control that shows no caption of its own.
    const char* accessibleName = nullptr;
};

struct Timer {
    const char* name;
    int number; // the number in the name, which Form1 reaches the timer by
    int intervalMs;
};

// 15 twips make a pixel at 96 dots per inch; Qt's device-pixel ratio scales other screens.
constexpr int twipsPerPixel = 15;
constexpr int twipsToPixels(int twips) {
    return twips / twipsPerPixel;
}
QRect twipsToPixels(const Twips& place);

inline constexpr Twips clientArea{0, 0, 8280, 3990};
// The controls that name no font were laid out for a small user-interface font, the classic
// Windows dialog font. Liberation Sans at this size writes each of their captions whole in its
// box, as that font did; DejaVu Sans Condensed does too where Liberation Sans is missing.
inline constexpr double defaultFontPoints = 7.5;
inline constexpr std::array<const char*, 2> defaultFontFaces{"Liberation Sans",
                                                             "DejaVu Sans Condensed"};
inline constexpr const char* caption = QT_TRANSLATE_NOOP("FormDesign", "Tonquill from Marrowfen");
inline constexpr const char* menuCaption = QT_TRANSLATE_NOOP("FormDesign", "Print ");
inline constexpr const char* printCaption = QT_TRANSLATE_NOOP("FormDesign", "Print text");

// A text of this table in the user's language.
QString translated(const char* text);

// Both in creation order.
std::span<const Control> controls();
std::span<const Timer> timers();

// The `k`-th glyph holder's control, `Text3` for k = 1 up to `Text13`.
const char* holderName(int row);

} // namespace FormDesign
