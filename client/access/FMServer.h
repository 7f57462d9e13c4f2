#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace tolven {

struct LoginContext;

// "TOLVEN Server": the connection settings. The fields are locked when the
// window opens; "Ändern" unlocks them after asking, and pressed again locks
// them and offers to store them.
class FMServer : public QDialog
{
    Q_OBJECT

public:
    explicit FMServer(QWidget *parent = nullptr);

    void showSettings(const LoginContext &context);
    QString serverAddress() const;
    QString port() const;
    QString firm() const;
    QString branch() const;
    QString namespaceName() const;
    bool fieldsLocked() const { return m_locked; }

    // Why the last connection attempt failed; empty hides the line.
    void setConnectionProblem(const QString &reason);

    void BUEdit_Click(bool pressed);
    void BUZurueck_Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void setFieldsLocked(bool locked);
    // A clear complaint about the first field that cannot be stored; empty when all can.
    QString invalidInput(QLineEdit **field) const;

    QLineEdit *m_serverAddress;
    QLineEdit *m_port;
    QLineEdit *m_firm;
    QLineEdit *m_branch;
    QLineEdit *m_namespace;
    QLabel *m_problem;
    QPushButton *m_edit;
    QPushButton *m_back;
    bool m_locked = true;
};

} // namespace tolven
