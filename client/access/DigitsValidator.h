#pragma once

#include <QValidator>

namespace tolven {

// Admits up to maxDigits ASCII digits and nothing else; an empty field is
// left to the window to judge.
class DigitsValidator : public QValidator
{
    Q_OBJECT

public:
    DigitsValidator(int maxDigits, QObject *parent);

    State validate(QString &input, int &pos) const override;

private:
    int m_maxDigits;
};

} // namespace tolven
