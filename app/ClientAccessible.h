#pragma once

#include <QAccessibleWidget>

// The window's client area as a screen reader sees it: its controls, without the glyph holders,
// which are never shown and only hold the tone font's codes.
class ClientAccessible : public QAccessibleWidget {
  public:
    // Marks a control that stays out of the accessibility tree.
    static constexpr const char* hiddenProperty = "tonquillHiddenFromAccessibility";

    explicit ClientAccessible(QWidget* client);

    // Makes Qt use this interface for `client`.
    static void install(QWidget& client);

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;

  private:
    QList<QWidget*> shownChildren() const;
};
