#include "frmAbout.h"

#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "access/Dialogs.h"
#include "common/Icons.h"

using namespace Qt::StringLiterals;

namespace tolven {

QString ProgramVersion()
{
    return u"" TOLVEN_VERSION ""_s;
}

QStringList SystemInfoTools()
{
    // Graphical tools only: the box is opened from a desktop session, and a
    // console tool started detached would show nothing.
    return {u"hardinfo"_s, u"gnome-system-monitor"_s, u"kinfocenter"_s,
            u"mate-system-monitor"_s, u"xfce4-taskmanager"_s, u"lxtask"_s};
}

frmAbout::frmAbout(QWidget *parent)
    : QDialog(parent)
    , m_cmdOK(new QPushButton(u"OK"_s, this))
    , m_cmdSysInfo(new QPushButton(u"&Systeminfo..."_s, this))
{
    setObjectName(u"frmAbout"_s);
    setWindowTitle(u"Info über TOLVEN Konkurerberverwaltung"_s);
    setWindowIcon(AppIcon(u"konkur"_s));

    m_cmdOK->setObjectName(u"cmdOK"_s);
    m_cmdOK->setDefault(true);
    m_cmdSysInfo->setObjectName(u"cmdSysInfo"_s);

    auto *icon = new QLabel(this);
    icon->setObjectName(u"lblIcon"_s);
    icon->setPixmap(AppIcon(u"konkur"_s).pixmap(48));
    icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto *title = new QLabel(u"TOLVEN Konkurerberverwaltung"_s, this);
    title->setObjectName(u"lblTitle"_s);
    QFont titleFont = title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    title->setFont(titleFont);

    auto *version = new QLabel(u"Version "_s + ProgramVersion(), this);
    version->setObjectName(u"lblVersion"_s);

    auto *description = new QLabel(u"Erfassung und Auswertung von Konkurrenzpreisen"_s, this);
    description->setObjectName(u"lblDescription"_s);

    auto *texts = new QVBoxLayout;
    texts->addWidget(title);
    texts->addWidget(version);
    texts->addSpacing(8);
    texts->addWidget(description);
    texts->addStretch();

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(m_cmdOK);
    buttons->addWidget(m_cmdSysInfo);
    buttons->addStretch();

    auto *layout = new QHBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(icon);
    layout->addSpacing(8);
    layout->addLayout(texts);
    layout->addSpacing(16);
    layout->addLayout(buttons);

    connect(m_cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
}

void frmAbout::cmdSysInfo_Click()
{
    QString program;
    for (const QString &tool : SystemInfoTools()) {
        program = QStandardPaths::findExecutable(tool);
        if (!program.isEmpty())
            break;
    }
    if (program.isEmpty() || !QProcess::startDetached(program)) {
        MsgBox(this, QMessageBox::Information, windowTitle(),
               u"Systeminformationen sind momentan nicht verfügbar"_s, QMessageBox::Ok);
    }
}

} // namespace tolven
