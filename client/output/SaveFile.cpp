#include "SaveFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace tolven {

namespace {

// The usual reasons in German; the system's words for the rest.
QString Reason(const QString &path, const QSaveFile &file)
{
    const QFileInfo target(path);
    const QFileInfo folder(target.absolutePath());
    const QString folderName = u"„" + QDir::toNativeSeparators(folder.filePath()) + u"“";
    if (!folder.exists())
        return u"Den Ordner " + folderName + u" gibt es nicht.";
    if (!folder.isDir())
        return folderName + u" ist kein Ordner.";
    if (!folder.isWritable())
        return u"Keine Schreibrechte im Ordner " + folderName + u'.';
    if (target.exists() && !target.isWritable())
        return u"Die Datei ist schreibgeschützt."_s;
    return file.errorString();
}

} // namespace

bool WriteWholeFile(const QString &path, const QByteArray &content, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() || !file.commit()) {
        *error = Reason(path, file);
        return false;
    }
    return true;
}

} // namespace tolven
