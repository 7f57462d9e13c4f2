#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <optional>

#include "access/Dialogs.h"

namespace testsupport {

// Takes the place of the real message boxes and modal dialogs for as long as
// it lives. A test says, in order, which boxes and dialogs it expects and how
// each is answered; anything else is recorded as a problem, and done() tells
// whether the script ran exactly as written.
class ScriptedDialogs : public tolven::Dialogs
{
public:
    struct Shown
    {
        QMessageBox::Icon icon;
        QString title;
        QString text;
        QMessageBox::StandardButtons buttons;
    };
    struct SaveDialogShown
    {
        QString title;
        QString proposedPath;
        QString filter;
        QString defaultSuffix;
    };
    using DialogAction = std::function<int(QDialog &)>;
    using PrintPreviewAction = std::function<int(QPrintPreviewDialog &)>;

    ScriptedDialogs();
    ~ScriptedDialogs() override;

    // The next box must have this title and text; it is answered with answer.
    void expectMessage(const QString &title, const QString &text,
                       QMessageBox::StandardButton answer = QMessageBox::Ok);
    // The same, with the text only checked to begin with textStart.
    void expectMessageStartingWith(const QString &title, const QString &textStart,
                                   QMessageBox::StandardButton answer = QMessageBox::Ok);
    // The next modal dialog must have this object name; action works it (fills
    // fields, clicks buttons) while it is shown, and its result is the dialog's.
    void expectDialog(const QString &objectName, DialogAction action);
    // The next save dialog is answered with path; an empty one cancels it.
    void expectSaveFileName(const QString &path);
    // The next open dialog is answered with path; an empty one cancels it.
    void expectOpenFileName(const QString &path);
    // The next print preview; action works it while it is shown (prints its
    // printer to a file, say), and its result is the dialog's.
    void expectPrintPreview(PrintPreviewAction action);

    // Every box shown so far, expected or not.
    const QList<Shown> &shown() const { return m_shown; }
    // Every save dialog shown so far.
    const QList<SaveDialogShown> &saveDialogsShown() const { return m_saveDialogs; }
    // Script steps not yet reached.
    int pending() const { return int(m_script.size()); }
    // Unexpected or mismatched boxes and dialogs.
    const QStringList &problems() const { return m_problems; }
    // No problem and nothing left of the script; otherwise a report in why.
    bool done(QString *why = nullptr) const;

    QMessageBox::StandardButton message(QWidget *parent, QMessageBox::Icon icon, const QString &title,
                                        const QString &text, QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton) override;
    int execModal(QDialog &dialog) override;
    QString saveFileName(QWidget *parent, const QString &title, const QString &proposedPath, const QString &filter,
                         const QString &defaultSuffix) override;
    QString openFileName(QWidget *parent, const QString &title, const QString &folder,
                         const QString &filter) override;
    int execPrintPreview(QPrintPreviewDialog &preview) override;

private:
    enum class Kind { Message, Dialog, SaveFile, OpenFile, PrintPreview };
    struct Step
    {
        Kind kind = Kind::Message;
        QString title;      // message: title; dialog: object name
        QString text;       // message: text; save dialog: the path chosen
        bool prefixOnly = false;
        QMessageBox::StandardButton answer = QMessageBox::Ok;
        DialogAction action;
        PrintPreviewAction previewAction;
    };

    // The next step when it is of kind; otherwise a problem and nothing.
    std::optional<Step> take(Kind kind, const QString &what);
    void addProblem(const QString &problem);

    std::deque<Step> m_script;
    QList<Shown> m_shown;
    QList<SaveDialogShown> m_saveDialogs;
    QStringList m_problems;
};

} // namespace testsupport

// In a test function: checks that the script of dialogs ran exactly.
#define VERIFY_DIALOGS_DONE(dialogs)                                                                        \
    do {                                                                                                    \
        QString why_;                                                                                       \
        QVERIFY2((dialogs).done(&why_), qPrintable(why_));                                                  \
    } while (false)
