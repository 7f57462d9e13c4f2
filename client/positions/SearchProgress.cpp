#include "SearchProgress.h"

#include <QCoreApplication>
#include <QLocale>
#include <QProgressDialog>

using namespace Qt::StringLiterals;

namespace tolven {

namespace {

// How often events are handled while the search runs.
constexpr qint64 EventIntervalMs = 40;

} // namespace

QString PositionCountText(int count)
{
    return QLocale().toString(count) + (count == 1 ? u" Position"_s : u" Positionen"_s);
}

SearchProgress::SearchProgress(QWidget *window, std::chrono::milliseconds delay)
    : m_window(window)
    , m_delay(delay)
{
    m_clock.start();
}

SearchProgress::~SearchProgress()
{
    delete m_dialog.data();
}

void SearchProgress::show()
{
    auto *dialog = new QProgressDialog(m_window);
    dialog->setObjectName(u"Suchfortschritt"_s);
    dialog->setWindowTitle(u"Positionen suchen"_s);
    dialog->setCancelButtonText(u"Abbrechen"_s);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setMinimumDuration(0);
    dialog->setAutoReset(false);
    dialog->setAutoClose(false);
    QObject::connect(dialog, &QProgressDialog::canceled, dialog, [this] { m_cancelled = true; });
    dialog->show();
    m_dialog = dialog;
}

bool SearchProgress::update(int done, int total)
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
    const QLocale locale;
    if (total > 0) {
        m_dialog->setLabelText(u"Artikeldaten zu " + locale.toString(done) + u" von " + PositionCountText(total)
                               + u" gelesen");
        m_dialog->setRange(0, total);
        m_dialog->setValue(done);
    } else {
        m_dialog->setLabelText(PositionCountText(done) + u" gelesen");
        m_dialog->setRange(0, 0);
    }
    QCoreApplication::processEvents();
    return !m_cancelled;
}

} // namespace tolven
