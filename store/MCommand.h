#pragma once

#include <QString>
#include <QStringView>

namespace store {

// Reads the arguments of one M command strictly from left to right. Every
// deviation from the expected form throws one AccessError naming the command.
class MCommand
{
public:
    MCommand(const QString &command, qsizetype start);

    // The exact text expected next.
    void expect(QStringView text);
    // A string literal ("..." with "" for a quote inside).
    QString literal();
    // A non-negative whole number; its canonical form (no leading zeros).
    QString number(int maxDigits = 9);
    // Nothing may follow.
    void end();
    bool atEnd() const { return m_pos == m_command.size(); }
    bool lookingAt(QStringView text) const;

    [[noreturn]] void malformed(const QString &why) const;

private:
    const QString &m_command;
    qsizetype m_pos;
};

} // namespace store
