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
#include "app/Icons.h"

namespace tolven {

QStringList SystemInfoTools()
{
    // Graphical tools only: the box is opened from a desktop session, and a
    // console tool started detached would show nothing.
    return {QStringLiteral("hardinfo"), QStringLiteral("gnome-system-monitor"), QStringLiteral("kinfocenter"),
            QStringLiteral("mate-system-monitor"), QStringLiteral("xfce4-taskmanager"), QStringLiteral("lxtask")};
}

frmAbout::frmAbout(QWidget *parent)
    : QDialog(parent)
    , m_cmdOK(new QPushButton(QStringLiteral("OK"), this))
    , m_cmdSysInfo(new QPushButton(QStringLiteral("&Systeminfo..."), this))
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("Info über TOLVEN Konkurerberverwaltung"));
    setWindowIcon(AppIcon(QStringLiteral("konkur")));

    m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
    m_cmdOK->setDefault(true);
    m_cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));

    auto *icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("lblIcon"));
    icon->setPixmap(AppIcon(QStringLiteral("konkur")).pixmap(48));
    icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto *title = new QLabel(QStringLiteral("TOLVEN Konkurerberverwaltung"), this);
    title->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    title->setFont(titleFont);

    auto *version = new QLabel(QStringLiteral("Version " TOLVEN_VERSION), this);
    version->setObjectName(QStringLiteral("lblVersion"));

    auto *description = new QLabel(QStringLiteral("Erfassung und Auswertung von Konkurrenzpreisen"), this);
    description->setObjectName(QStringLiteral("lblDescription"));

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
               QStringLiteral("Systeminformationen sind momentan nicht verfügbar"), QMessageBox::Ok);
    }
}

} // namespace tolven
