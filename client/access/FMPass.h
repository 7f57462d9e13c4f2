#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace tolven {

// "TOLVEN Benutzeranmeldung": password and personnel code. At start-up the
// login shows it modally until "Anmelden"; from the main window's menu it
// runs a new login for the running program.
class FMPass : public QDialog
{
    Q_OBJECT

public:
    explicit FMPass(QWidget *parent = nullptr);

    QString passwordText() const;
    void setPasswordText(const QString &text);
    QString userText() const;
    void setUserText(const QString &text);
    QLineEdit *passwordField() const { return m_password; }
    QLineEdit *userField() const { return m_user; }

    void BUSpeich_Click();
    void BUAusst_Click();
    void BUServer_Click();

signals:
    // A login from the running main window has ended, well or not.
    void loggedInAgain(bool success);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    void reject() override;

private:
    void BUSER_LostFocus();

    QLineEdit *m_password;
    QLineEdit *m_user;
    QPushButton *m_login;
    QPushButton *m_cancel;
    QPushButton *m_server;
};

} // namespace tolven
