#include "CsvFile.h"

#include <QStringEncoder>
#include <QStringList>

#include <optional>

using namespace Qt::StringLiterals;

namespace tolven {

namespace {

// Encodes a whole text at once and goes character by character only where
// the encoder met one it cannot write: it would put 0x1A in its place. An
// encoder that met one is made anew, as it keeps reporting the error (and a
// moved-to one reports none). The code page has nothing beyond the BMP, so
// every surrogate, paired or not, is written as "?" without asking the
// encoder: it keeps a high surrogate back, waiting for its pair, and would
// swallow the character after it, a ";" too, or the surrogate at the end.
class Windows1252
{
public:
    Windows1252() { m_encoder.emplace(Name); }

    bool isValid() const { return m_encoder->isValid(); }

    QByteArray encode(QStringView text)
    {
        QByteArray bytes = m_encoder->encode(text);
        if (!m_encoder->hasError() && (text.isEmpty() || !text.back().isHighSurrogate()))
            return bytes;
        m_encoder.emplace(Name);
        bytes.clear();
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text[i].isSurrogate()) {
                bytes += '?';
                if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
                    ++i;
                continue;
            }
            const QByteArray one = m_encoder->encode(text.sliced(i, 1));
            if (m_encoder->hasError()) {
                bytes += '?';
                m_encoder.emplace(Name);
            } else {
                bytes += one;
            }
        }
        return bytes;
    }

private:
    static constexpr const char *Name = "windows-1252";
    std::optional<QStringEncoder> m_encoder;
};

} // namespace

std::optional<QByteArray> CsvBytes(const ExportTable &table, QString *error, const QLocale &locale)
{
    Windows1252 encoder;
    if (!encoder.isValid()) {
        *error = u"Der Zeichensatz Windows-1252 steht auf diesem System nicht zur Verfügung."_s;
        return std::nullopt;
    }
    QStringList header;
    for (const ExportColumn &column : table.columns)
        header << column.caption;
    QByteArray file = encoder.encode(header.join(u';')) + "\r\n";
    QStringList fields;
    for (const ExportRow &row : table.rows) {
        fields.clear();
        for (qsizetype column = 0; column < row.size() && column < table.columns.size(); ++column)
            fields << CsvField(ExportText(row.at(column), table.columns.at(column).kind, locale));
        file += encoder.encode(fields.join(u';'));
        file += "\r\n";
    }
    return file;
}

} // namespace tolven
