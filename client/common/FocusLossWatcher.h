#pragma once

#include <QObject>

class QWidget;

namespace tolven {

// Tells when a field loses the focus to another control of the program, the
// moment a handler named field_LostFocus runs. A popup (a drop-down list, a
// completer, a context menu) and a switch to another window do not count:
// the user has not left the field then.
class FocusLossWatcher : public QObject
{
    Q_OBJECT

public:
    // Watches field; the watcher is a child of it.
    explicit FocusLossWatcher(QWidget *field);

signals:
    void focusLost();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace tolven
