#include "WorkProgress.h"

#include <QCoreApplication>
#include <QLocale>
#include <QProgressDialog>

#include <utility>

using namespace Qt::StringLiterals;

namespace tolven {

namespace {

// How often events are handled while the work runs.
constexpr qint64 EventIntervalMs = 40;

} // namespace

QString PositionCountText(int count)
{
    return QLocale().toString(count) + (count == 1 ? u" Position"_s : u" Positionen"_s);
}

WorkProgress::Texts WorkProgress::SearchTexts()
{
    return {u"Suchfortschritt"_s, u"Positionen suchen"_s, [](int done, int total) -> QString {
                if (total == 0)
                    return PositionCountText(done) + u" gelesen";
                return u"Artikeldaten zu " + QLocale().toString(done) + u" von " + PositionCountText(total)
                    + u" gelesen";
            }};
}

WorkProgress::Texts WorkProgress::SaveTexts()
{
    return {u"Speicherfortschritt"_s, u"Positionen speichern"_s, [](int done, int total) -> QString {
                return QLocale().toString(done) + u" von " + PositionCountText(total) + u" gespeichert";
            }};
}

WorkProgress::WorkProgress(QWidget *window, Texts texts, std::chrono::milliseconds delay)
    : m_window(window)
    , m_texts(std::move(texts))
    , m_delay(delay)
{
    m_clock.start();
}

WorkProgress::~WorkProgress()
{
    delete m_dialog.data();
}

void WorkProgress::show()
{
    auto *dialog = new QProgressDialog(m_window);
    dialog->setObjectName(m_texts.objectName);
    dialog->setWindowTitle(m_texts.title);
    dialog->setCancelButtonText(u"Abbrechen"_s);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setMinimumDuration(0);
    dialog->setAutoReset(false);
    dialog->setAutoClose(false);
    QObject::connect(dialog, &QProgressDialog::canceled, dialog, [this] { m_cancelled = true; });
    dialog->show();
    m_dialog = dialog;
}

bool WorkProgress::update(int done, int total)
{
    if (m_cancelled)
        return false;
    const qint64 now = m_clock.elapsed();
    const bool due = !m_dialog && now >= m_delay.count();
    if (!due && now - m_lastEvents < EventIntervalMs)
        return true;
    m_lastEvents = now;
    if (due)
        show();
    if (!m_dialog) {
        // Paint, but let no click or key start anything before the dialog is up.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        return !m_cancelled;
    }
    m_dialog->setLabelText(m_texts.label(done, total));
    m_dialog->setRange(0, total);
    if (total > 0)
        m_dialog->setValue(done);
    QCoreApplication::processEvents();
    return !m_cancelled;
}

} // namespace tolven
