#include "FMServer.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "access/Connection.h"
#include "access/Dialogs.h"
#include "access/DigitsValidator.h"
#include "access/cacheapi.h"

using namespace Qt::StringLiterals;

namespace tolven {

namespace {

QLineEdit *MakeField(QWidget *parent, const QString &name)
{
    auto *field = new QLineEdit(parent);
    field->setObjectName(name);
    return field;
}

} // namespace

FMServer::FMServer(QWidget *parent)
    : QDialog(parent)
    , m_serverAddress(MakeField(this, u"BSERVERIP"_s))
    , m_port(MakeField(this, u"BPORT"_s))
    , m_firm(MakeField(this, u"BFIRMA"_s))
    , m_branch(MakeField(this, u"BFIL"_s))
    , m_namespace(MakeField(this, u"BNAMESPACE"_s))
    , m_problem(new QLabel(this))
    , m_edit(new QPushButton(u"Ändern"_s, this))
    , m_back(new QPushButton(u"Zurück"_s, this))
    , m_accepted(ServerSettings::StoreDefaults())
{
    setObjectName(u"FMServer"_s);
    setWindowTitle(u"TOLVEN Server"_s);

    m_port->setValidator(new DigitsValidator(5, m_port));
    const auto *number = new DigitsValidator(9, this);
    m_firm->setValidator(number);
    m_branch->setValidator(number);
    m_serverAddress->setMinimumWidth(320);
    m_serverAddress->setToolTip(u"PostgreSQL-Server (Name oder IP-Adresse) oder Pfad einer Datenbankdatei"_s);

    m_problem->setObjectName(u"LVerbindungsfehler"_s);
    m_problem->setWordWrap(true);
    m_problem->setStyleSheet(u"color: #a00000;"_s);
    m_problem->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_problem->hide();

    m_edit->setObjectName(u"BUEdit"_s);
    m_edit->setCheckable(true);
    m_edit->setAutoDefault(false);
    m_back->setObjectName(u"BUZurück"_s);
    m_back->setDefault(true);

    auto *form = new QFormLayout;
    form->addRow(u"ServerIP:"_s, m_serverAddress);
    form->addRow(u"Port:"_s, m_port);
    form->addRow(u"Firma:"_s, m_firm);
    form->addRow(u"Filiale:"_s, m_branch);
    form->addRow(u"Namespace:"_s, m_namespace);

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
    showValues(m_accepted);
    setFieldsLocked(true);
}

void FMServer::showSettings(const ServerSettings &settings)
{
    m_accepted = settings;
    showValues(m_accepted);
}

ServerSettings FMServer::fieldValues() const
{
    // Blanks around a value are no part of it; any other character is, and a
    // pasted tab or line break is refused rather than cut off unseen.
    const auto withoutBlanks = [](const QString &text) {
        qsizetype begin = 0;
        qsizetype end = text.size();
        while (begin < end && text.at(begin) == u' ')
            ++begin;
        while (end > begin && text.at(end - 1) == u' ')
            --end;
        return text.sliced(begin, end - begin);
    };
    return {withoutBlanks(m_serverAddress->text()), m_port->text(), m_firm->text(), m_branch->text(),
            withoutBlanks(m_namespace->text())};
}

void FMServer::showValues(const ServerSettings &values)
{
    m_serverAddress->setText(values.serverAddress);
    m_port->setText(values.port);
    m_firm->setText(values.firm);
    m_branch->setText(values.branch);
    m_namespace->setText(values.namespaceName);
}

void FMServer::setConnectionProblem(const QString &reason)
{
    m_problem->setText(reason.isEmpty() ? QString() : u"Letzter Verbindungsversuch: " + reason);
    m_problem->setVisible(!reason.isEmpty());
}

void FMServer::BUEdit_Click(bool pressed)
{
    if (pressed) {
        if (AskYesNo(this, LoginTitle, u"Änderungen erlauben?"_s)) {
            setFieldsLocked(false);
            m_serverAddress->setFocus();
        } else {
            m_edit->setChecked(false);
        }
        return;
    }
    const ServerSettings values = fieldValues();
    const ServerSettings::Field invalid = values.invalidField();
    if (invalid != ServerSettings::Field::None) {
        // Nothing unusable goes into the settings: the fields stay open.
        MsgBox(this, QMessageBox::Information, windowTitle(), values.complaint());
        m_edit->setChecked(true);
        QLineEdit *field = fieldFor(invalid);
        field->setFocus();
        field->selectAll();
        return;
    }
    setFieldsLocked(true);
    if (AskYesNo(this, LoginTitle, u"Änderungen sichern?"_s)) {
        m_accepted = values;
        EndServerCall(false);
        Disconnect();
        SaveConnectionSettings();
        // Whoever is logged in goes on working for the firm, branch and
        // server of the login; the connection made again uses them too.
        ShowConnectionSettings();
    } else {
        // Declined values would otherwise reach the store with the next "Anmelden".
        showValues(m_accepted);
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

void FMServer::hideEvent(QHideEvent *event)
{
    // Closing the window is no way to store values: what was not stored goes.
    showValues(m_accepted);
    setFieldsLocked(true);
    QDialog::hideEvent(event);
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

QLineEdit *FMServer::fieldFor(ServerSettings::Field field) const
{
    switch (field) {
    case ServerSettings::Field::ServerAddress:
        return m_serverAddress;
    case ServerSettings::Field::Port:
        return m_port;
    case ServerSettings::Field::Firm:
        return m_firm;
    case ServerSettings::Field::Branch:
        return m_branch;
    case ServerSettings::Field::Namespace:
        return m_namespace;
    case ServerSettings::Field::None:
        break;
    }
    return nullptr;
}

} // namespace tolven
