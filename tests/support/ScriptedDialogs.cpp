#include "ScriptedDialogs.h"

#include <QDialog>
#include <QPrintPreviewDialog>
#include <QtGlobal>

using namespace Qt::StringLiterals;

namespace testsupport {

namespace {

// A script gone wrong can leave a window waiting for ever for the box that
// would end it (the login loop asks again and again); stop the test instead.
constexpr int MaxProblems = 25;

QString Describe(const QString &title, const QString &text)
{
    return u'"' + title + u"\": \"" + text + u'"';
}

} // namespace

ScriptedDialogs::ScriptedDialogs()
{
    tolven::InstallDialogs(this);
}

ScriptedDialogs::~ScriptedDialogs()
{
    tolven::InstallDialogs(nullptr);
}

void ScriptedDialogs::expectMessage(const QString &title, const QString &text, QMessageBox::StandardButton answer)
{
    m_script.push_back(Step{Kind::Message, title, text, false, answer, {}, {}});
}

void ScriptedDialogs::expectMessageStartingWith(const QString &title, const QString &textStart,
                                                QMessageBox::StandardButton answer)
{
    m_script.push_back(Step{Kind::Message, title, textStart, true, answer, {}, {}});
}

void ScriptedDialogs::expectDialog(const QString &objectName, DialogAction action)
{
    m_script.push_back(Step{Kind::Dialog, objectName, {}, false, QMessageBox::NoButton, std::move(action), {}});
}

void ScriptedDialogs::expectSaveFileName(const QString &path)
{
    m_script.push_back(Step{Kind::SaveFile, u"save dialog"_s, path, false, QMessageBox::NoButton, {}, {}});
}

void ScriptedDialogs::expectOpenFileName(const QString &path)
{
    m_script.push_back(Step{Kind::OpenFile, u"open dialog"_s, path, false, QMessageBox::NoButton, {}, {}});
}

void ScriptedDialogs::expectPrintPreview(PrintPreviewAction action)
{
    m_script.push_back(
        Step{Kind::PrintPreview, u"print preview"_s, {}, false, QMessageBox::NoButton, {}, std::move(action)});
}

bool ScriptedDialogs::done(QString *why) const
{
    QStringList report = m_problems;
    for (const Step &step : m_script)
        report << (step.kind != Kind::Message ? QString(u"dialog never shown: " + step.title)
                                              : QString(u"box never shown: " + Describe(step.title, step.text)));
    if (why)
        *why = report.join(u'\n');
    return report.isEmpty();
}

QMessageBox::StandardButton ScriptedDialogs::message(QWidget *, QMessageBox::Icon icon, const QString &title,
                                                     const QString &text, QMessageBox::StandardButtons buttons,
                                                     QMessageBox::StandardButton defaultButton)
{
    m_shown.append(Shown{icon, title, text, buttons});
    // Unexpected boxes get the answer that changes least.
    QMessageBox::StandardButton fallback = defaultButton;
    for (QMessageBox::StandardButton safe : {QMessageBox::Cancel, QMessageBox::No, QMessageBox::Ok}) {
        if (buttons.testFlag(safe)) {
            fallback = safe;
            break;
        }
    }
    if (m_script.empty() || m_script.front().kind != Kind::Message) {
        addProblem(u"unexpected box " + Describe(title, text));
        return fallback;
    }
    const Step step = m_script.front();
    m_script.pop_front();
    const bool textMatches = step.prefixOnly ? text.startsWith(step.text) : text == step.text;
    if (step.title != title || !textMatches) {
        addProblem(u"expected box " + Describe(step.title, step.text) + u", got " + Describe(title, text));
        return fallback;
    }
    if (!buttons.testFlag(step.answer)) {
        addProblem(u"box " + Describe(title, text) + u" has no button " + QString::number(step.answer));
        return fallback;
    }
    return step.answer;
}

int ScriptedDialogs::execModal(QDialog &dialog)
{
    if (m_script.empty() || m_script.front().kind != Kind::Dialog || m_script.front().title != dialog.objectName()) {
        addProblem(u"unexpected dialog " + dialog.objectName());
        return QDialog::Rejected;
    }
    const Step step = m_script.front();
    m_script.pop_front();
    dialog.show();
    const int result = step.action(dialog);
    dialog.hide();
    return result;
}

QString ScriptedDialogs::saveFileName(QWidget *, const QString &title, const QString &proposedPath,
                                      const QString &filter, const QString &defaultSuffix)
{
    m_saveDialogs.append(SaveDialogShown{title, proposedPath, filter, defaultSuffix});
    const std::optional<Step> step = take(Kind::SaveFile, u"save dialog \"" + title + u'"');
    return step ? step->text : QString();
}

QString ScriptedDialogs::openFileName(QWidget *, const QString &title, const QString &, const QString &)
{
    const std::optional<Step> step = take(Kind::OpenFile, u"open dialog \"" + title + u'"');
    return step ? step->text : QString();
}

int ScriptedDialogs::execPrintPreview(QPrintPreviewDialog &preview)
{
    const std::optional<Step> step = take(Kind::PrintPreview, u"print preview \"" + preview.windowTitle() + u'"');
    if (!step)
        return QDialog::Rejected;
    preview.show();
    const int result = step->previewAction(preview);
    preview.hide();
    return result;
}

std::optional<ScriptedDialogs::Step> ScriptedDialogs::take(Kind kind, const QString &what)
{
    if (m_script.empty() || m_script.front().kind != kind) {
        addProblem(u"unexpected " + what);
        return std::nullopt;
    }
    Step step = m_script.front();
    m_script.pop_front();
    return step;
}

void ScriptedDialogs::addProblem(const QString &problem)
{
    m_problems.append(problem);
    if (m_problems.size() >= MaxProblems)
        qFatal("ScriptedDialogs: script gone wrong:\n%s", qPrintable(m_problems.join(u'\n')));
}

} // namespace testsupport
