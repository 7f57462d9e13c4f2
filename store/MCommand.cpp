#include "MCommand.h"

#include "objectapi/AccessError.h"
#include "objectapi/MLiteral.h"

using namespace Qt::StringLiterals;

using tolven::AccessError;
using tolven::ErrorNumber;

namespace store {

MCommand::MCommand(const QString &command, qsizetype start)
    : m_command(command)
    , m_pos(start)
{
}

void MCommand::malformed(const QString &why) const
{
    throw AccessError(ErrorNumber::MalformedCommand,
                      u"Fehlerhafter Befehl \"" + m_command + u"\" an Stelle " + QString::number(m_pos + 1) + u": " + why);
}

bool MCommand::lookingAt(QStringView text) const
{
    return QStringView(m_command).mid(m_pos).startsWith(text);
}

void MCommand::expect(QStringView text)
{
    if (!lookingAt(text))
        malformed(u"erwartet wird \"" + text.toString() + u"\".");
    m_pos += text.size();
}

QString MCommand::literal()
{
    QString value;
    if (!tolven::ParseMLiteral(m_command, m_pos, value))
        malformed(u"erwartet wird eine Zeichenkette in Anführungszeichen (\"\" für ein Anführungszeichen darin)."_s);
    return value;
}

QString MCommand::number(int maxDigits)
{
    const qsizetype start = m_pos;
    qsizetype i = m_pos;
    while (i < m_command.size() && m_command[i] >= u'0' && m_command[i] <= u'9')
        ++i;
    if (i == start || i - start > maxDigits)
        malformed(u"erwartet wird eine Zahl mit 1 bis " + QString::number(maxDigits) + u" Ziffern.");
    m_pos = i;
    // M reads 007 as the number 7.
    return QString::number(QStringView(m_command).mid(start, i - start).toLongLong());
}

void MCommand::end()
{
    if (!atEnd())
        malformed(u"hier darf nichts mehr folgen."_s);
}

} // namespace store
