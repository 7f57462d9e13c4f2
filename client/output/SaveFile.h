#pragma once

#include <QByteArray>
#include <QString>

namespace tolven {

// Writes content to path as a whole: into a new file beside it that takes
// the old one's place only when everything is written, so that a failure
// leaves the old file as it was and no half-written one. False, and error
// says why, when it fails.
bool WriteWholeFile(const QString &path, const QByteArray &content, QString *error);

} // namespace tolven
