#include "ScriptedDialogs.h"

#include <QDialog>
#include <QtGlobal>

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
    m_script.push_back(Step{false, title, text, false, answer, {}});
}

void ScriptedDialogs::expectMessageStartingWith(const QString &title, const QString &textStart,
                                                QMessageBox::StandardButton answer)
{
    m_script.push_back(Step{false, title, textStart, true, answer, {}});
}

void ScriptedDialogs::expectDialog(const QString &objectName, DialogAction action)
{
    m_script.push_back(Step{true, objectName, {}, false, QMessageBox::NoButton, std::move(action)});
}

bool ScriptedDialogs::done(QString *why) const
{
    QStringList report = m_problems;
    for (const Step &step : m_script)
        report << (step.isDialog ? QString(u"dialog never shown: " + step.title)
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
    if (m_script.empty() || m_script.front().isDialog) {
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
    if (m_script.empty() || !m_script.front().isDialog || m_script.front().title != dialog.objectName()) {
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

void ScriptedDialogs::addProblem(const QString &problem)
{
    m_problems.append(problem);
    if (m_problems.size() >= MaxProblems)
        qFatal("ScriptedDialogs: script gone wrong:\n%s", qPrintable(m_problems.join(u'\n')));
}

} // namespace testsupport
