#include "FormDesign.h"

#include "tone/ToneFont.h"

#include <array>

namespace FormDesign {

namespace {

constexpr Colour navy = rgb(0, 0, 64);
constexpr Colour buttonGrey = rgb(224, 224, 224);
constexpr Colour red = rgb(255, 0, 0);
constexpr Colour windowBackground = systemColour(5);
constexpr Font toneFont{tone::toneFontFace.data(), 18};
constexpr Font holderFont{tone::toneFontFace.data(), 15.75};
constexpr Font helpFont{"Courier", 9.75};

constexpr const char* fontSizeCaption =
    QT_TRANSLATE_NOOP("FormDesign", "Choose font size by enter a number below and press enter.");

constexpr auto holder = [](const char* name, Twips place, int tabIndex) {
    return Control{.name = name,
                   .kind = Kind::Holder,
                   .place = place,
                   .font = holderFont,
                   .tabIndex = tabIndex,
                   .visible = false};
};

constexpr std::array<Control, 22> table{{
    {.name = "Text14",
     .kind = Kind::HelpBox,
     .place = {120, 120, 5775, 3855},
     .font = helpFont,
     .foreground = windowBackground,
     .background = navy,
     .tabIndex = 19,
     .visible = false,
     .accessibleName = QT_TRANSLATE_NOOP("FormDesign", "Help")},
    {.name = "Check1",
     .kind = Kind::CheckBox,
     .place = {6000, 120, 1455, 255},
     .text = QT_TRANSLATE_NOOP("FormDesign", "Help"),
     .background = buttonGrey,
     .tabIndex = 18},
    {.name = "op(1)",
     .kind = Kind::Option,
     .place = {6000, 2040, 1215, 255},
     .text = QT_TRANSLATE_NOOP("FormDesign", "Background"),
     .background = buttonGrey,
     .tabIndex = 16},
    {.name = "op(0)",
     .kind = Kind::Option,
     .place = {6000, 1800, 1215, 255},
     .text = QT_TRANSLATE_NOOP("FormDesign", "Foreground"),
     .background = buttonGrey,
     .tabIndex = 15},
    {.name = "pCol",
     .kind = Kind::Palette,
     .place = {6000, 2880, 2175, 1140},
     .foreground = systemColour(8),
     .background = windowBackground,
     .tabIndex = 14,
     .accessibleName = QT_TRANSLATE_NOOP("FormDesign", "Colour palette")},
    {.name = "Text1",
     .kind = Kind::LineEdit,
     .place = {6000, 960, 2175, 285},
     .text = " ",
     .tabIndex = 12,
     .accessibleName = fontSizeCaption},
    {.name = "Text2",
     .kind = Kind::Editor,
     .place = {120, 120, 5775, 3855},
     .text = "",
     .font = toneFont,
     .foreground = windowBackground,
     .background = navy,
     .tabIndex = 0,
     .accessibleName = QT_TRANSLATE_NOOP("FormDesign", "Pinyin text")},
    holder("Text13", {1560, 0, 975, 375}, 11),
    holder("Text12", {1560, 480, 975, 375}, 10),
    holder("Text11", {1560, 960, 975, 375}, 9),
    holder("Text10", {1560, 1440, 975, 375}, 8),
    holder("Text9", {1560, 1920, 975, 375}, 7),
    holder("Text8", {0, 2400, 735, 375}, 6),
    holder("Text7", {0, 1920, 735, 375}, 5),
    holder("Text6", {0, 1440, 735, 375}, 4),
    holder("Text5", {0, 960, 735, 375}, 3),
    holder("Text4", {0, 480, 735, 375}, 2),
    holder("Text3", {0, 0, 735, 375}, 1),
    {.name = "Label2",
     .kind = Kind::Label,
     .place = {6000, 1320, 2175, 495},
     .text = QT_TRANSLATE_NOOP("FormDesign", "Choose fore and back ground color."),
     .foreground = red},
    {.name = "Shape2",
     .kind = Kind::Shape,
     .place = {6000, 2400, 2130, 375},
     .background = rgb(0, 0, 0),
     .accessibleName = QT_TRANSLATE_NOOP("FormDesign", "Chosen colour")},
    {.name = "Label1",
     .kind = Kind::Label,
     .place = {6000, 480, 2175, 495},
     .text = fontSizeCaption,
     .foreground = red},
    {.name = "Image15", .kind = Kind::Image, .place = {0, 0, 735, 855}},
}};

// Timers are listed apart, but were made interleaved with the text boxes; the order among
// them is kept.
constexpr std::array<Timer, 12> timerTable{{
    {"Timer12", 12, 100},
    {"Timer11", 11, 20},
    {"Timer10", 10, 20},
    {"Timer9", 9, 20},
    {"Timer8", 8, 20},
    {"Timer7", 7, 20},
    {"Timer6", 6, 20},
    {"Timer5", 5, 20},
    {"Timer4", 4, 20},
    {"Timer3", 3, 20},
    {"Timer2", 2, 20},
    {"Timer1", 1, 20},
}};

constexpr std::array<const char*, 11> holders{"Text3",  "Text4",  "Text5", "Text6",
                                              "Text7",  "Text8",  "Text9", "Text10",
                                              "Text11", "Text12", "Text13"};

} // namespace

QRect twipsToPixels(const Twips& place) {
    return {twipsToPixels(place.left), twipsToPixels(place.top), twipsToPixels(place.width),
            twipsToPixels(place.height)};
}

QString translated(const char* text) {
    return QCoreApplication::translate("FormDesign", text);
}

std::span<const Control> controls() {
    return table;
}

std::span<const Timer> timers() {
    return timerTable;
}

const char* holderName(int row) {
    return holders.at(row - 1);
}

} // namespace FormDesign
