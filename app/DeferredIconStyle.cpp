#include "DeferredIconStyle.h"

#include <QIconEngine>
#include <QPainter>

#include <optional>

namespace {

class DeferredIconEngine : public QIconEngine {
  public:
    DeferredIconEngine(const QStyle* style, QStyle::StandardPixmap icon)
        : style_(style), icon_(icon) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        made().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return made().pixmap(size, mode, state);
    }
    // A layout asks for the size before anything is drawn; the standard icons fill it.
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }
    QIconEngine* clone() const override { return new DeferredIconEngine(style_, icon_); }

  private:
    const QIcon& made() {
        if (!made_)
            made_ = style_->standardIcon(icon_);
        return *made_;
    }

    const QStyle* style_;
    QStyle::StandardPixmap icon_;
    std::optional<QIcon> made_;
};

} // namespace

QIcon DeferredIconStyle::standardIcon(StandardPixmap icon, const QStyleOption* option,
                                      const QWidget* widget) const {
    if (icon != SP_ToolBarHorizontalExtensionButton && icon != SP_ToolBarVerticalExtensionButton)
        return QProxyStyle::standardIcon(icon, option, widget);
    return QIcon(new DeferredIconEngine(baseStyle(), icon));
}
