#include "WindowRole.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace app {

namespace {

// Asked with the object's own class name before Qt's factory is asked for QWidget's.
QAccessibleInterface *windowInterface(const QString &className, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    if (!widget || !widget->isWindow() || widget->metaObject()->superClass() != &QWidget::staticMetaObject ||
        className != QLatin1String(widget->metaObject()->className()))
        return nullptr;
    return new QAccessibleWidget(widget, QAccessible::Window);
}

} // namespace

void announceWindowsAsWindows()
{
    QAccessible::installFactory(windowInterface);
}

} // namespace app
