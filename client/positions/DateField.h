#pragma once

#include <QDate>
#include <QLineEdit>

namespace tolven {

// A date typed in the locale's short form with a four-digit year, or nothing.
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

    // The locale's short date form with a four-digit year ("dd.MM.yyyy").
    static QString DateFormat();
};

} // namespace tolven
