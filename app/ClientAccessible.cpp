#include "ClientAccessible.h"

#include <QVariant>
#include <QWidget>

namespace {

constexpr const char* clientProperty = "tonquillAccessibleClient";

QAccessibleInterface* clientFactory(const QString&, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget && widget->property(clientProperty).toBool())
        return new ClientAccessible(widget);
    return nullptr;
}

} // namespace

ClientAccessible::ClientAccessible(QWidget* client)
    : QAccessibleWidget(client, QAccessible::Client) {}

void ClientAccessible::install(QWidget& client) {
    static const bool installed = (QAccessible::installFactory(clientFactory), true);
    Q_UNUSED(installed);
    client.setProperty(clientProperty, true);
}

QList<QWidget*> ClientAccessible::shownChildren() const {
    QList<QWidget*> shown;
    for (QObject* object : widget()->children()) {
        auto* child = qobject_cast<QWidget*>(object);
        if (child && !child->isWindow() && !child->property(hiddenProperty).toBool())
            shown << child;
    }
    return shown;
}

int ClientAccessible::childCount() const {
    return int(shownChildren().size());
}

QAccessibleInterface* ClientAccessible::child(int index) const {
    const QList<QWidget*> shown = shownChildren();
    return index >= 0 && index < shown.size() ? QAccessible::queryAccessibleInterface(shown[index])
                                              : nullptr;
}

int ClientAccessible::indexOfChild(const QAccessibleInterface* child) const {
    return child ? int(shownChildren().indexOf(qobject_cast<QWidget*>(child->object()))) : -1;
}
