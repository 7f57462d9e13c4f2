#include "Dialogs.h"

#include <QAbstractButton>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QPrintPreviewDialog>

#include <utility>

using namespace Qt::StringLiterals;

namespace tolven {

namespace {

// The buttons the client's boxes use, in German whatever Qt's own
// translations installed on the machine say.
void GermanButtonTexts(QMessageBox &box)
{
    const std::pair<QMessageBox::StandardButton, QString> texts[] = {
        {QMessageBox::Yes, u"&Ja"_s},
        {QMessageBox::No, u"&Nein"_s},
        {QMessageBox::Ok, u"OK"_s},
        {QMessageBox::Cancel, u"Abbrechen"_s},
        {ReloadButton, u"Neu &laden"_s},
        {OverwriteButton, u"Ü&berschreiben"_s},
    };
    for (const auto &[which, text] : texts) {
        if (QAbstractButton *button = box.button(which))
            button->setText(text);
    }
}

// A file dialog's texts in German whatever Qt's own translations installed
// on the machine say.
void GermanFileDialog(QFileDialog &dialog, const QString &accept)
{
    dialog.setLabelText(QFileDialog::LookIn, u"Suchen in:"_s);
    dialog.setLabelText(QFileDialog::FileName, u"Datei&name:"_s);
    dialog.setLabelText(QFileDialog::FileType, u"Dateityp:"_s);
    dialog.setLabelText(QFileDialog::Accept, accept);
    dialog.setLabelText(QFileDialog::Reject, u"Abbrechen"_s);
}

// The file the user chose, empty when cancelled.
QString ChosenFile(QFileDialog &dialog)
{
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

class RealDialogs final : public Dialogs
{
public:
    QMessageBox::StandardButton message(QWidget *parent, QMessageBox::Icon icon, const QString &title,
                                        const QString &text, QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton) override
    {
        QMessageBox box(icon, title, text, buttons, parent);
        GermanButtonTexts(box);
        if (defaultButton != QMessageBox::NoButton)
            box.setDefaultButton(defaultButton);
        return static_cast<QMessageBox::StandardButton>(box.exec());
    }

    int execModal(QDialog &dialog) override { return dialog.exec(); }

    QString saveFileName(QWidget *parent, const QString &title, const QString &proposedPath, const QString &filter,
                         const QString &defaultSuffix) override
    {
        const QFileInfo proposed(proposedPath);
        QFileDialog dialog(parent, title, proposed.absolutePath(), filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDefaultSuffix(defaultSuffix);
        dialog.selectFile(proposed.fileName());
        GermanFileDialog(dialog, u"&Speichern"_s);
        return ChosenFile(dialog);
    }

    QString openFileName(QWidget *parent, const QString &title, const QString &folder, const QString &filter) override
    {
        QFileDialog dialog(parent, title, folder, filter);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        GermanFileDialog(dialog, u"Ö&ffnen"_s);
        return ChosenFile(dialog);
    }

    int execPrintPreview(QPrintPreviewDialog &preview) override { return preview.exec(); }
};

RealDialogs g_realDialogs;
Dialogs *g_current = &g_realDialogs;

} // namespace

Dialogs &CurrentDialogs()
{
    return *g_current;
}

void InstallDialogs(Dialogs *dialogs)
{
    g_current = dialogs ? dialogs : &g_realDialogs;
}

QMessageBox::StandardButton MsgBox(QWidget *parent, QMessageBox::Icon icon, const QString &title, const QString &text,
                                   QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton)
{
    return CurrentDialogs().message(parent, icon, title, text, buttons, defaultButton);
}

bool AskYesNo(QWidget *parent, const QString &title, const QString &text)
{
    return MsgBox(parent, QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes)
        == QMessageBox::Yes;
}

int ExecModal(QDialog &dialog)
{
    return CurrentDialogs().execModal(dialog);
}

QString SaveFileName(QWidget *parent, const QString &title, const QString &proposedPath, const QString &filter,
                     const QString &defaultSuffix)
{
    return CurrentDialogs().saveFileName(parent, title, proposedPath, filter, defaultSuffix);
}

QString OpenFileName(QWidget *parent, const QString &title, const QString &folder, const QString &filter)
{
    return CurrentDialogs().openFileName(parent, title, folder, filter);
}

int ExecPrintPreview(QPrintPreviewDialog &preview)
{
    return CurrentDialogs().execPrintPreview(preview);
}

} // namespace tolven
