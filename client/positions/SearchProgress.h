#pragma once

#include <QElapsedTimer>
#include <QPointer>

#include <chrono>

class QProgressDialog;
class QString;
class QWidget;

namespace tolven {

// "1 Position", "1.234 Positionen": a number of positions in the locale's notation.
QString PositionCountText(int count);

// Shows how far a long search is: after the delay a window-modal dialog with
// the rows done (and the total once known) and "Abbrechen". Until then, and
// between updates, the windows still paint; user input reaches only the
// dialog, so nothing else can start meanwhile.
class SearchProgress
{
public:
    static constexpr std::chrono::milliseconds DefaultDelay{500};

    SearchProgress(QWidget *window, std::chrono::milliseconds delay = DefaultDelay);
    ~SearchProgress();
    SearchProgress(const SearchProgress &) = delete;
    SearchProgress &operator=(const SearchProgress &) = delete;

    // Rows done and the total (0 while unknown); false once the user cancelled.
    bool update(int done, int total);

private:
    void show();

    QWidget *m_window;
    std::chrono::milliseconds m_delay;
    QElapsedTimer m_clock;
    qint64 m_lastEvents = 0;
    QPointer<QProgressDialog> m_dialog;
    bool m_cancelled = false;
};

} // namespace tolven
