#include "SearchKeyField.h"

#include <QFocusEvent>
#include <QKeyEvent>

#include "objectapi/TextConversion.h"

namespace tolven {

SearchKeyField::SearchKeyField(QWidget *parent)
    : QLineEdit(parent)
{
    setMaxLength(MaxLength);
    connect(this, &QLineEdit::textEdited, this, &SearchKeyField::toUpperCase);
}

QString SearchKeyField::KeyForm(const QString &text)
{
    return SearchKey(text).left(MaxLength);
}

void SearchKeyField::toUpperCase(const QString &text)
{
    // Character by character, so that ß stays one character and the
    // cursor stays where it was.
    QString upper = text;
    for (QChar &ch : upper)
        ch = ch.toUpper();
    if (upper == text)
        return;
    const int cursor = cursorPosition();
    setText(upper);
    setCursorPosition(cursor);
}

void SearchKeyField::toKeyForm()
{
    const QString key = KeyForm(text());
    if (key != text())
        setText(key);
}

void SearchKeyField::focusOutEvent(QFocusEvent *event)
{
    // A context menu of the field is no leaving.
    if (event->reason() != Qt::PopupFocusReason)
        toKeyForm();
    QLineEdit::focusOutEvent(event);
}

void SearchKeyField::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        toKeyForm();
    QLineEdit::keyPressEvent(event);
}

} // namespace tolven
