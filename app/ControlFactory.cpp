#include "ControlFactory.h"

#include "tone/GlyphTables.h"
#include "ui/PalettePicture.h"
#include "ui/PictureBox.h"
#include "ui/Shape.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>

#include <algorithm>

#include "ClientAccessible.h"
#include "EditorAccessible.h"
#include "HelpBox.h"
#include "TextBox.h"

namespace {

using FormDesign::Kind;

template <typename Box> QPlainTextEdit* makeTextBox(QWidget* parent) {
    auto* box = new Box(parent);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    return box;
}

QString holderGlyphs(const char* name) {
    int row = 1;
    while (QLatin1String(FormDesign::holderName(row)) != QLatin1String(name))
        ++row;
    return QString::fromStdU16String(tone::glyphTable(row));
}

QFont fontOf(const FormDesign::Font& design, const QFont& fallback) {
    if (design.face == nullptr)
        return fallback;
    QFont font(QString::fromUtf8(design.face));
    font.setPointSizeF(design.points);
    font.setWeight(QFont::Normal);
    return font;
}

} // namespace

FormControls ControlFactory::makeAll(QWidget* client) {
    FormControls controls;
    std::vector<std::pair<int, QWidget*>> byTabIndex;
    for (const auto& design : FormDesign::controls()) {
        QWidget* made = make(design, client);
        controls.take(design, made);
        if (design.tabIndex >= 0)
            byTabIndex.emplace_back(design.tabIndex, made);
    }
    setTabOrder(std::move(byTabIndex));
    return controls;
}

void ControlFactory::setTabOrder(std::vector<std::pair<int, QWidget*>> byTabIndex) {
    std::ranges::sort(byTabIndex, {}, &std::pair<int, QWidget*>::first);
    for (std::size_t i = 1; i < byTabIndex.size(); ++i)
        QWidget::setTabOrder(byTabIndex[i - 1].second, byTabIndex[i].second);
}

QWidget* ControlFactory::make(const FormDesign::Control& design, QWidget* parent) {
    QWidget* control = makeWidget(design, parent);
    control->setObjectName(QString::fromLatin1(design.name));
    control->setGeometry(FormDesign::twipsToPixels(design.place));
    control->setFont(fontOf(design.font, control->font()));
    // Put in after the face, so that the glyphs are laid out once, and never in the client's face,
    // which holds none of them and would send Qt searching every font for them.
    if (design.kind == Kind::Holder) {
        static_cast<QLineEdit*>(control)->setText(holderGlyphs(design.name));
        control->setProperty(ClientAccessible::hiddenProperty, true);
    }
    applyLook(design, *control);
    if (design.tabIndex < 0)
        control->setFocusPolicy(Qt::NoFocus);
    control->setVisible(design.visible);
    if (design.accessibleName)
        control->setAccessibleName(FormDesign::translated(design.accessibleName));
    return control;
}

QWidget* ControlFactory::makeWidget(const FormDesign::Control& design, QWidget* parent) {
    const QString text = design.text ? FormDesign::translated(design.text) : QString();
    switch (design.kind) {
    case Kind::Editor: {
        auto* editor = makeTextBox<TextBox>(parent);
        EditorAccessible::install(*editor);
        return editor;
    }
    case Kind::HelpBox:
        return makeTextBox<HelpBox>(parent);
    case Kind::CheckBox:
        return new QCheckBox(text, parent);
    case Kind::Label: {
        auto* label = new QLabel(text, parent);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return label;
    }
    case Kind::LineEdit:
        return new QLineEdit(text, parent);
    case Kind::Option:
        return new QRadioButton(text, parent);
    case Kind::Shape: {
        auto* shape = new Shape(parent);
        shape->setFillColour(colour(*design.background, shape->palette()));
        return shape;
    }
    case Kind::Palette: {
        auto* box = new PictureBox(parent);
        box->setPicture(PalettePicture::image());
        return box;
    }
    case Kind::Image:
        return new QLabel(parent);
    case Kind::Holder:
        return new QLineEdit(parent);
    }
    return new QWidget(parent);
}

QColor ControlFactory::colour(FormDesign::Colour colour, const QPalette& system) {
    if ((colour & 0x80000000u) == 0)
        return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
    switch (colour & 0xFF) {
    case 5:
        return system.color(QPalette::Base);
    case 8:
        return system.color(QPalette::Text);
    default:
        return system.color(QPalette::Button);
    }
}

void ControlFactory::applyLook(const FormDesign::Control& design, QWidget& control) {
    // The swatch and the palette box draw their own colours.
    if (design.kind == Kind::Shape || design.kind == Kind::Palette)
        return;
    QPalette palette = control.palette();
    const bool textBox = design.kind == Kind::Editor || design.kind == Kind::HelpBox;
    if (design.foreground) {
        const QColor colour = ControlFactory::colour(*design.foreground, palette);
        palette.setColor(textBox ? QPalette::Text : QPalette::WindowText, colour);
    }
    if (design.background) {
        const QColor colour = ControlFactory::colour(*design.background, palette);
        palette.setColor(textBox ? QPalette::Base : QPalette::Window, colour);
        control.setAutoFillBackground(!textBox);
    }
    control.setPalette(palette);
}
