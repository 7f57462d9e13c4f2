#pragma once

#include <QMessageBox>
#include <QString>

class QDialog;
class QPrintPreviewDialog;
class QWidget;

namespace tolven {

// The one way the client shows message boxes and runs modal dialogs. The
// windows never call QMessageBox or QDialog::exec themselves, so that tests
// can put a scripted Dialogs in its place and answer each box in turn.
class Dialogs
{
public:
    virtual ~Dialogs() = default;

    // A message box; the button the user chose.
    virtual QMessageBox::StandardButton message(QWidget *parent, QMessageBox::Icon icon, const QString &title,
                                                const QString &text, QMessageBox::StandardButtons buttons,
                                                QMessageBox::StandardButton defaultButton) = 0;
    // Shows one of the client's own dialogs modally; its result code.
    virtual int execModal(QDialog &dialog) = 0;
    // The save dialog: opens on proposedPath (folder and file name) with one
    // filter ("csv-Datei (*.csv)"); a name typed without an extension gets
    // defaultSuffix. The chosen path, or empty when the user cancels.
    virtual QString saveFileName(QWidget *parent, const QString &title, const QString &proposedPath,
                                 const QString &filter, const QString &defaultSuffix) = 0;
    // The open dialog: opens in folder with filter ("Tabellen (*.csv *.xlsx)").
    // The chosen path, or empty when the user cancels.
    virtual QString openFileName(QWidget *parent, const QString &title, const QString &folder,
                                 const QString &filter) = 0;
    // Shows a print preview modally (printing from it is the user's choice);
    // its result code.
    virtual int execPrintPreview(QPrintPreviewDialog &preview) = 0;
};

// The Dialogs in use: the real one unless a test installed another.
Dialogs &CurrentDialogs();
// Puts dialogs in place of the current one (nullptr: the real one again).
void InstallDialogs(Dialogs *dialogs);

// The answers to "changed by someone else meanwhile": the box shows them as
// "Neu laden" and "Überschreiben" (beside "Abbrechen").
inline constexpr QMessageBox::StandardButton ReloadButton = QMessageBox::Reset;
inline constexpr QMessageBox::StandardButton OverwriteButton = QMessageBox::SaveAll;

// Shorthands for the boxes the client shows.
QMessageBox::StandardButton MsgBox(QWidget *parent, QMessageBox::Icon icon, const QString &title, const QString &text,
                                   QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                   QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
// Yes/No question with a question icon; true for "Ja".
bool AskYesNo(QWidget *parent, const QString &title, const QString &text);
int ExecModal(QDialog &dialog);
QString SaveFileName(QWidget *parent, const QString &title, const QString &proposedPath, const QString &filter,
                     const QString &defaultSuffix);
QString OpenFileName(QWidget *parent, const QString &title, const QString &folder, const QString &filter);
int ExecPrintPreview(QPrintPreviewDialog &preview);

} // namespace tolven
