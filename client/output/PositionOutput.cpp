#include "PositionOutput.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <functional>
#include <optional>

#include "access/Dialogs.h"
#include "output/CsvFile.h"
#include "output/ExportRows.h"
#include "output/GridPrint.h"
#include "output/SaveFile.h"
#include "output/XlsxFile.h"

using namespace Qt::StringLiterals;

namespace tolven {

namespace {

const QString Title = u"TOLVEN Konkurerberverwaltung"_s;

struct ExportFile
{
    QString dialogTitle;
    QString fileName;
    QString filter;
    QString suffix;
};

// Asks where to save, makes the file's content and writes it as a whole;
// what goes wrong is said with the file's name.
void SaveExport(QWidget *parent, const ExportFile &file,
                const std::function<std::optional<QByteArray>(QString *error)> &content)
{
    const QString path = SaveFileName(parent, file.dialogTitle, QDir(ExportFolder()).filePath(file.fileName),
                                      file.filter, file.suffix);
    if (path.isEmpty())
        return;
    QString error;
    const std::optional<QByteArray> bytes = content(&error);
    if (bytes && WriteWholeFile(path, *bytes, &error))
        return;
    MsgBox(parent, QMessageBox::Warning, Title,
           u"Die Datei „" + QDir::toNativeSeparators(path) + u"“ konnte nicht geschrieben werden: " + error);
}

} // namespace

QString ExportFolder()
{
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (!desktop.isEmpty() && QFileInfo(desktop).isDir())
        return desktop;
    return QDir::homePath();
}

void ExportCsv(QWidget *parent, const ExportSource &table)
{
    MsgBox(parent, QMessageBox::Information, Title,
           u"Laut Absprache mit Zentrale bitte vor versenden in Excel einlesen und Excel-Datei versenden"_s);
    SaveExport(parent, {u"Export CSV"_s, u"konkurexp.csv"_s, u"csv-Datei (*.csv)"_s, u"csv"_s},
               [&](QString *error) { return CsvBytes(table(), error); });
}

void ExportXlsx(QWidget *parent, const ExportSource &table)
{
    SaveExport(parent, {u"Export Excel"_s, u"konkurexp.xlsx"_s, u"Excel-Datei (*.xlsx)"_s, u"xlsx"_s},
               [&](QString *error) { return XlsxBytes(table(), error); });
}

QString PositionListHeader(const QString &competitor, const QString &article, const QString &description,
                           const QDateTime &now, const QLocale &locale)
{
    return u"TOLVEN Konkurerberverwaltung     " + competitor + u"     " + article + u' ' + description
        + u"    Datum: " + PrintedAt(now, locale);
}

} // namespace tolven
