#pragma once

#include <QProcess>
#include <QStringList>

#include <optional>

namespace testsupport {

// What a program of the system (pdftotext, unzip) writes to its standard
// output; nullopt, and why says why, when it does not run or fails.
inline std::optional<QByteArray> ToolOutput(const QString &program, const QStringList &arguments, QString *why)
{
    QProcess process;
    process.start(program, arguments);
    if (process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
        return process.readAllStandardOutput();
    *why = program + u": " + process.errorString() + u' ' + QString::fromLocal8Bit(process.readAllStandardError());
    return std::nullopt;
}

// The text of each page of a PDF file as pdftotext lays it out; none when
// it cannot be read (why says why).
inline QStringList PdfPages(const QString &path, QString *why)
{
    using namespace Qt::StringLiterals;
    QStringList pages = QString::fromUtf8(ToolOutput(u"pdftotext"_s, {u"-layout"_s, path, u"-"_s}, why).value_or(""))
                            .split(u'\f');
    pages.removeLast(); // after the form feed that ends the last page
    return pages;
}

} // namespace testsupport
