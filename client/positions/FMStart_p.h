#pragma once

#include <QString>

class QWidget;

// What the source files of the main window share; nothing else includes it.
namespace tolven::fmstart {

// The program's name: the start of the window title and the title of its messages.
inline const QString WindowTitle = QString::fromUtf16(u"TOLVEN Konkurerberverwaltung");

// An article number the server does not know for the firm.
void ReportUnknownArticle(QWidget *parent);

} // namespace tolven::fmstart
