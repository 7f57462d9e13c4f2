#include "FMServer.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QShowEvent>
#include <QVBoxLayout>

#include "access/Connection.h"
#include "access/Dialogs.h"
#include "access/LoginContext.h"
#include "access/cacheapi.h"

namespace tolven {

namespace {

const QString LoginTitle = QStringLiteral("Anmeldung an Caché");

QLineEdit *MakeField(QWidget *parent, const QString &name, const QString &text)
{
    auto *field = new QLineEdit(text, parent);
    field->setObjectName(name);
    return field;
}

} // namespace

FMServer::FMServer(QWidget *parent)
    : QDialog(parent)
    , m_serverAddress(MakeField(this, QStringLiteral("BSERVERIP"), DefaultServerAddress()))
    , m_port(MakeField(this, QStringLiteral("BPORT"), QStringLiteral("1973")))
    , m_firm(MakeField(this, QStringLiteral("BFIRMA"), QStringLiteral("1")))
    , m_branch(MakeField(this, QStringLiteral("BFIL"), QStringLiteral("0")))
    , m_namespace(MakeField(this, QStringLiteral("BNAMESPACE"), QStringLiteral("TOLVEN")))
    , m_problem(new QLabel(this))
    , m_edit(new QPushButton(QStringLiteral("Ändern"), this))
    , m_back(new QPushButton(QStringLiteral("Zurück"), this))
{
    setObjectName(QStringLiteral("FMServer"));
    setWindowTitle(QStringLiteral("TOLVEN Server"));

    m_port->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,5}")), m_port));
    const auto *number = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,9}")), this);
    m_firm->setValidator(number);
    m_branch->setValidator(number);
    m_serverAddress->setMinimumWidth(320);
    m_serverAddress->setToolTip(QStringLiteral("PostgreSQL-Server (Name oder IP-Adresse) oder Pfad einer Datenbankdatei"));

    m_problem->setObjectName(QStringLiteral("LVerbindungsfehler"));
    m_problem->setWordWrap(true);
    m_problem->setStyleSheet(QStringLiteral("color: #a00000;"));
    m_problem->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_problem->hide();

    m_edit->setObjectName(QStringLiteral("BUEdit"));
    m_edit->setCheckable(true);
    m_edit->setAutoDefault(false);
    m_back->setObjectName(QStringLiteral("BUZurück"));
    m_back->setDefault(true);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("ServerIP:"), m_serverAddress);
    form->addRow(QStringLiteral("Port:"), m_port);
    form->addRow(QStringLiteral("Firma:"), m_firm);
    form->addRow(QStringLiteral("Filiale:"), m_branch);
    form->addRow(QStringLiteral("Namespace:"), m_namespace);

    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(m_edit, QDialogButtonBox::ActionRole);
    buttons->addButton(m_back, QDialogButtonBox::RejectRole);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_problem);
    layout->addStretch();
    layout->addWidget(buttons);

    setTabOrder(m_serverAddress, m_port);
    setTabOrder(m_port, m_firm);
    setTabOrder(m_firm, m_branch);
    setTabOrder(m_branch, m_namespace);
    setTabOrder(m_namespace, m_edit);
    setTabOrder(m_edit, m_back);

    connect(m_edit, &QPushButton::clicked, this, &FMServer::BUEdit_Click);
    connect(m_back, &QPushButton::clicked, this, &FMServer::BUZurueck_Click);
    setFieldsLocked(true);
}

void FMServer::showSettings(const LoginContext &context)
{
    m_serverAddress->setText(context.ServerAddress);
    m_port->setText(context.ServerPort);
    m_firm->setText(context.Firm);
    m_branch->setText(context.Branch);
    m_namespace->setText(context.Namespace);
}

QString FMServer::serverAddress() const
{
    return m_serverAddress->text().trimmed();
}

QString FMServer::port() const
{
    return m_port->text();
}

QString FMServer::firm() const
{
    return m_firm->text();
}

QString FMServer::branch() const
{
    return m_branch->text();
}

QString FMServer::namespaceName() const
{
    return m_namespace->text().trimmed();
}

void FMServer::setConnectionProblem(const QString &reason)
{
    m_problem->setText(reason.isEmpty() ? QString() : u"Letzter Verbindungsversuch: " + reason);
    m_problem->setVisible(!reason.isEmpty());
}

void FMServer::BUEdit_Click(bool pressed)
{
    if (pressed) {
        if (AskYesNo(this, LoginTitle, QStringLiteral("Änderungen erlauben?"))) {
            setFieldsLocked(false);
            m_serverAddress->setFocus();
        } else {
            m_edit->setChecked(false);
        }
        return;
    }
    QLineEdit *wrongField = nullptr;
    const QString complaint = invalidInput(&wrongField);
    if (!complaint.isEmpty()) {
        // Nothing unusable goes into the settings: the fields stay open.
        MsgBox(this, QMessageBox::Information, windowTitle(), complaint);
        m_edit->setChecked(true);
        wrongField->setFocus();
        wrongField->selectAll();
        return;
    }
    setFieldsLocked(true);
    if (AskYesNo(this, LoginTitle, QStringLiteral("Änderungen sichern?"))) {
        EndServerCall(false);
        Disconnect();
        SaveConnectionSettings();
        LoadConnectionSettings();
    }
}

void FMServer::BUZurueck_Click()
{
    hide();
}

void FMServer::showEvent(QShowEvent *event)
{
    // The fields are locked whenever the window opens.
    setFieldsLocked(true);
    QDialog::showEvent(event);
}

void FMServer::setFieldsLocked(bool locked)
{
    m_locked = locked;
    m_edit->setChecked(!locked);
    for (QLineEdit *field : {m_serverAddress, m_port, m_firm, m_branch, m_namespace}) {
        field->setReadOnly(locked);
        QPalette palette = field->palette();
        palette.setColor(QPalette::Base, locked ? this->palette().color(QPalette::Button)
                                                : this->palette().color(QPalette::Base));
        field->setPalette(palette);
    }
}

QString FMServer::invalidInput(QLineEdit **field) const
{
    if (serverAddress().isEmpty()) {
        *field = m_serverAddress;
        return QStringLiteral("Bitte geben Sie den Server oder den Pfad der Datenbankdatei an.");
    }
    const int portNumber = m_port->text().toInt();
    if (portNumber < 1 || portNumber > 65535) {
        *field = m_port;
        return QStringLiteral("Der Port muss eine Zahl von 1 bis 65535 sein.");
    }
    if (m_firm->text().isEmpty()) {
        *field = m_firm;
        return QStringLiteral("Bitte geben Sie die Firmennummer an.");
    }
    if (m_branch->text().isEmpty()) {
        *field = m_branch;
        return QStringLiteral("Bitte geben Sie die Filialnummer an.");
    }
    return {};
}

} // namespace tolven
