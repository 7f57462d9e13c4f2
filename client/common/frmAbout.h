#pragma once

#include <QDialog>
#include <QStringList>

class QPushButton;

namespace tolven {

// The program's version, as the about box shows it.
QString ProgramVersion();

// The system information programs "Systeminfo..." looks for on PATH, the
// preferred one first.
QStringList SystemInfoTools();

// The about box: program icon, name, version and a line on what it is for.
// The main window shows it non-modal; OK or Escape close it.
class frmAbout : public QDialog
{
    Q_OBJECT

public:
    explicit frmAbout(QWidget *parent = nullptr);

private:
    // Starts the first system information program found, detached.
    void cmdSysInfo_Click();

    QPushButton *m_cmdOK;
    QPushButton *m_cmdSysInfo;
};

} // namespace tolven
