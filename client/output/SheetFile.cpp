#include "SheetFile.h"

#include <QDir>
#include <QFile>

#include "output/SheetBuilder.h"

using namespace Qt::StringLiterals;

namespace tolven {

std::optional<SheetTable> ReadSheetFile(const QString &path, QString *error, const SheetLimits &limits)
{
    QFile file(path);
    const QString name = u"„" + QDir::toNativeSeparators(path) + u"“";
    if (!file.open(QIODevice::ReadOnly)) {
        *error = u"Die Datei " + name + u" kann nicht geöffnet werden: " + file.errorString();
        return std::nullopt;
    }
    if (file.size() > limits.fileBytes) {
        *error = UnreadableFile(u"sie ist größer als " + QString::number(limits.fileBytes / (1024 * 1024)) + u" MB.");
        return std::nullopt;
    }
    const QByteArray bytes = file.read(limits.fileBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        *error = u"Die Datei " + name + u" kann nicht gelesen werden: " + file.errorString();
        return std::nullopt;
    }
    // Every workbook is a ZIP archive; a CSV file never starts like one.
    if (bytes.startsWith("PK\x03\x04"))
        return ReadXlsxSheet(bytes, error, limits);
    return ReadCsvSheet(bytes, error, limits);
}

} // namespace tolven
