#pragma once

#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTextStream>

#include <memory>

#include "access/Dialogs.h"

namespace store {
struct DatabaseTarget;
}
namespace tolven {
class FMStart;
class cacheapi;
}

// What the benchmarks that drive the real client share.

// Numbers as the figures print them.
extern const QLocale German;
double Median(QList<double> values);
// "850 ms", "2,35 s".
QString Seconds(double milliseconds);

// Answers every box without a user: the answer that does least, and a note
// on stderr, so that a box can neither hang the measurement nor pass unseen.
class UnattendedDialogs : public tolven::Dialogs
{
public:
    explicit UnattendedDialogs(QString program)
        : m_program(std::move(program))
    {
    }

    QMessageBox::StandardButton message(QWidget *, QMessageBox::Icon, const QString &title, const QString &text,
                                        QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton) override;
    int execModal(QDialog &dialog) override;
    // A measurement neither exports nor prints: cancelled, with a note.
    QString saveFileName(QWidget *parent, const QString &title, const QString &proposedPath, const QString &filter,
                         const QString &defaultSuffix) override;
    QString openFileName(QWidget *parent, const QString &title, const QString &folder, const QString &filter) override;
    int execPrintPreview(QPrintPreviewDialog &preview) override;

    const QStringList &shown() const { return m_shown; }

private:
    QString m_program;
    QStringList m_shown;
};

// Before the QApplication of a benchmark that shows windows: the offscreen
// platform and a runtime folder of its own, without its notices.
void PrepareOffscreenProcess();

// The client in a benchmark process, set up as main() does but with none of
// the user's settings, every box answered unattended. Made after the
// QApplication and before the main window, gone after the window and before
// the QApplication.
class BenchClient
{
public:
    explicit BenchClient(const QString &program);
    ~BenchClient();
    BenchClient(const BenchClient &) = delete;
    BenchClient &operator=(const BenchClient &) = delete;
    // Logs the demo user MUELLER of firm 1 in on that server and shows the
    // main window with every filter empty; false (and why on stderr) when
    // the login failed.
    bool start(tolven::FMStart &window, const QString &server, const QString &port);

    UnattendedDialogs &dialogs() { return m_dialogs; }

private:
    QString m_program;
    QTemporaryDir m_settings;
    UnattendedDialogs m_dialogs;
    std::unique_ptr<tolven::cacheapi> m_gateway;
};
