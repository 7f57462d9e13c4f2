#pragma once

#include <QDate>
#include <QLineEdit>

namespace tolven {

// A date typed in the client's date form (DisplayDateFormat), or nothing.
// The mask admits digits only; an empty field means "no date".
class DateField : public QLineEdit
{
    Q_OBJECT

public:
    explicit DateField(QWidget *parent = nullptr);

    // The date shown; invalid when the field is empty or holds no real date.
    QDate date() const;
    // True when nothing has been typed.
    bool isBlank() const;
    // Shows date; an invalid date empties the field.
    void setDate(const QDate &date);
};

} // namespace tolven
