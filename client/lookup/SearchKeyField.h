#pragma once

#include <QLineEdit>

namespace tolven {

// The search field SKBEZ of the look-up dialogs: any characters, at most
// MaxLength, upper case as typed. When it is left, and on Enter, its text
// becomes its search key (umlauts spelled out), cut to MaxLength.
class SearchKeyField : public QLineEdit
{
    Q_OBJECT

public:
    static constexpr int MaxLength = 18;

    explicit SearchKeyField(QWidget *parent = nullptr);

    // The search key of text as the field shows it after leaving.
    static QString KeyForm(const QString &text);

protected:
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void toUpperCase(const QString &text);
    void toKeyForm();
};

} // namespace tolven
