#include "FocusLossWatcher.h"

#include <QFocusEvent>
#include <QWidget>

namespace tolven {

FocusLossWatcher::FocusLossWatcher(QWidget *field)
    : QObject(field)
{
    field->installEventFilter(this);
}

bool FocusLossWatcher::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parent() && event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
            emit focusLost();
    }
    return QObject::eventFilter(watched, event);
}

} // namespace tolven
