#include "WindowRole.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace root {

namespace {

// Asked first with the window's own class name, which Qt's factory does not know, so this
// answers before Qt would fall back on QWidget's client area. Windows built on QMainWindow keep
// Qt's own interface, which is a window already.
QAccessibleInterface *windowInterface(const QString &, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    if (!widget || !widget->isWindow() || widget->metaObject()->superClass() != &QWidget::staticMetaObject)
        return nullptr;
    return new QAccessibleWidget(widget, QAccessible::Window);
}

} // namespace

void announceWindowsAsWindows()
{
    QAccessible::installFactory(windowInterface);
}

} // namespace root
