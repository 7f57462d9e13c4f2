#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QString>

#include <chrono>
#include <functional>

class QProgressDialog;
class QWidget;

namespace tolven {

// "1 Position", "1.234 Positionen": a number of positions in the locale's notation.
QString PositionCountText(int count);

// Shows how far a long piece of work (a search, a save) is: after the delay a
// window-modal dialog with the rows done (and the total once known) and
// "Abbrechen". Until then, and between updates, the windows still paint; user
// input reaches only the dialog, so nothing else can start meanwhile.
class WorkProgress
{
public:
    static constexpr std::chrono::milliseconds DefaultDelay{500};

    // What the dialog says: its object name, its title, and the text for
    // rows done of a total (0 while unknown).
    struct Texts
    {
        QString objectName;
        QString title;
        std::function<QString(int done, int total)> label;
    };
    static Texts SearchTexts();
    static Texts SaveTexts();

    WorkProgress(QWidget *window, Texts texts, std::chrono::milliseconds delay = DefaultDelay);
    ~WorkProgress();
    WorkProgress(const WorkProgress &) = delete;
    WorkProgress &operator=(const WorkProgress &) = delete;

    // Rows done and the total (0 while unknown); false once the user cancelled.
    bool update(int done, int total);

private:
    void show();

    QWidget *m_window;
    Texts m_texts;
    std::chrono::milliseconds m_delay;
    QElapsedTimer m_clock;
    qint64 m_lastEvents = 0;
    QPointer<QProgressDialog> m_dialog;
    bool m_cancelled = false;
};

} // namespace tolven
