#pragma once

#include <QDialog>

#include "access/LoginSettings.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace tolven {

// "TOLVEN Server": the connection settings. The fields are locked when the
// window opens; "Ändern" unlocks them after asking, and pressed again locks
// them and offers to store them. Values the user did not store (declined,
// refused, or left when the window closed) go back to the accepted ones.
// Stored values serve the next login; a session already logged in keeps its own.
class FMServer : public QDialog
{
    Q_OBJECT

public:
    explicit FMServer(QWidget *parent = nullptr);

    // Shows settings; they are the accepted values from now on.
    void showSettings(const ServerSettings &settings);
    // The values last shown by showSettings or stored by the user: what the
    // settings store may receive.
    const ServerSettings &acceptedSettings() const { return m_accepted; }
    // What the fields hold now.
    ServerSettings fieldValues() const;
    bool fieldsLocked() const { return m_locked; }

    // Why the last connection attempt failed; empty hides the line.
    void setConnectionProblem(const QString &reason);

    void BUEdit_Click(bool pressed);
    void BUZurueck_Click();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void setFieldsLocked(bool locked);
    void showValues(const ServerSettings &values);
    QLineEdit *fieldFor(ServerSettings::Field field) const;

    QLineEdit *m_serverAddress;
    QLineEdit *m_port;
    QLineEdit *m_firm;
    QLineEdit *m_branch;
    QLineEdit *m_namespace;
    QLabel *m_problem;
    QPushButton *m_edit;
    QPushButton *m_back;
    ServerSettings m_accepted;
    bool m_locked = true;
};

} // namespace tolven
