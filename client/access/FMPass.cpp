#include "FMPass.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <utility>

#include "access/Connection.h"
#include "access/Dialogs.h"
#include "access/FMServer.h"
#include "access/Login.h"
#include "access/cacheapi.h"
#include "objectapi/TextCheck.h"

using namespace Qt::StringLiterals;

namespace tolven {

FMPass::FMPass(QWidget *parent)
    : QDialog(parent)
    , m_password(new QLineEdit(this))
    , m_user(new QLineEdit(this))
    , m_login(new QPushButton(u"Anmelden"_s, this))
    , m_cancel(new QPushButton(u"Abbruch"_s, this))
    , m_server(new QPushButton(u"Server"_s, this))
{
    setObjectName(u"FMPass"_s);
    setWindowTitle(u"TOLVEN Benutzeranmeldung"_s);

    m_password->setObjectName(u"BPASSWORT"_s);
    m_password->setEchoMode(QLineEdit::Password);
    // One "*" per character, whatever the desktop style draws by default.
    m_password->setStyleSheet(u"lineedit-password-character: 42"_s);
    m_user->setObjectName(u"BUSER"_s);
    m_user->setMinimumWidth(180);
    m_login->setObjectName(u"BUSpeich"_s);
    m_login->setDefault(true);
    m_cancel->setObjectName(u"BUAusst"_s);
    m_cancel->setAutoDefault(false);
    m_server->setObjectName(u"BUServer"_s);
    m_server->setAutoDefault(false);

    auto *form = new QFormLayout;
    form->addRow(u"Passwort:"_s, m_password);
    form->addRow(u"User(WWS Personalcode):"_s, m_user);

    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(m_login, QDialogButtonBox::AcceptRole);
    buttons->addButton(m_cancel, QDialogButtonBox::RejectRole);
    buttons->addButton(m_server, QDialogButtonBox::ActionRole);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch();
    layout->addWidget(buttons);

    setTabOrder(m_password, m_user);
    setTabOrder(m_user, m_login);
    setTabOrder(m_login, m_cancel);
    setTabOrder(m_cancel, m_server);

    m_password->installEventFilter(this);
    m_user->installEventFilter(this);
    connect(m_login, &QPushButton::clicked, this, &FMPass::BUSpeich_Click);
    connect(m_cancel, &QPushButton::clicked, this, [this] {
        // "Abbruch" ends the program: unsaved work in the main window is asked about first.
        if (cacheapi::instance().mayReplaceWork())
            BUAusst_Click();
    });
    connect(m_server, &QPushButton::clicked, this, &FMPass::BUServer_Click);
}

QString FMPass::passwordText() const
{
    return m_password->text();
}

void FMPass::setPasswordText(const QString &text)
{
    m_password->setText(text);
}

QString FMPass::userText() const
{
    return m_user->text();
}

void FMPass::setUserText(const QString &text)
{
    m_user->setText(text);
}

void FMPass::BUSpeich_Click()
{
    // Enter presses "Anmelden" without leaving the field.
    BUSER_LostFocus();
    // Nothing pasted in that no personnel code or password can hold reaches
    // the settings or the server; the fields keep it for correcting.
    for (const auto &[field, name] : {std::pair{m_user, u"Personalcode"_s}, std::pair{m_password, u"Passwort"_s}}) {
        if (const QString complaint = ForbiddenCharacterComplaint(name, field->text(), false); !complaint.isEmpty()) {
            MsgBox(this, QMessageBox::Information, windowTitle(), complaint);
            SelectAllText(field, false);
            return;
        }
    }
    cacheapi &api = cacheapi::instance();
    // A login from the running program replaces the user and the grid's
    // work with it: unsaved work is saved or given up first.
    if (api.mainWindowShown() && !api.mayReplaceWork())
        return;
    Sichern();
    if (api.mainWindowShown()) {
        Disconnect();
        const bool success = Login();
        emit loggedInAgain(success);
        QCoreApplication::processEvents();
        // Nobody may go on working under a login that failed: the window
        // stays until a login succeeds or the program ends.
        if (!success && !api.exitRequested()) {
            show();
            SelectAllText(m_password, false);
            return;
        }
    } else {
        QCoreApplication::processEvents();
    }
    hide();
}

void FMPass::BUAusst_Click()
{
    Context().LoginKey.clear();
    ExitApplication();
}

void FMPass::BUServer_Click()
{
    ExecModal(cacheapi::instance().serverWindow());
}

bool FMPass::eventFilter(QObject *watched, QEvent *event)
{
    auto *field = qobject_cast<QLineEdit *>(watched);
    if (field && event->type() == QEvent::FocusIn) {
        // After the mouse click that brought the focus has placed the cursor.
        QTimer::singleShot(0, field, [field] { SelectAllText(field, true); });
    } else if (field == m_user && event->type() == QEvent::FocusOut) {
        BUSER_LostFocus();
    }
    return QDialog::eventFilter(watched, event);
}

void FMPass::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_password->setFocus();
}

void FMPass::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !m_user->hasFocus())
        m_password->setFocus();
}

void FMPass::reject()
{
    // Closing the window while nobody is logged in means giving up, as "Abbruch" does.
    if (Context().LoginKey.isEmpty() && !ExitRequested())
        BUAusst_Click();
    QDialog::reject();
}

void FMPass::BUSER_LostFocus()
{
    const QString upper = m_user->text().toUpper();
    if (upper != m_user->text())
        m_user->setText(upper);
}

} // namespace tolven
