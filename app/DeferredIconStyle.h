#pragma once

#include <QProxyStyle>

// The desktop's style, but its standard icons are read only when drawn. The menu bar asks for its
// extension button's icon as it is made, and reading that icon makes Qt load every image plug-in
// to ask which can read it: a cost at every start for a button that only appears when the menus
// do not fit, which in this window they always do.
class DeferredIconStyle : public QProxyStyle {
  public:
    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option,
                       const QWidget* widget) const override;
};
