#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <map>
#include <memory>

#include "store/StoreFactory.h"
#include "support/TestDatabase.h"

namespace testsupport {

using Properties = QList<std::pair<QString, QString>>;

// For tests of the business classes: one demo database per backend serves
// every test function of a test class, and each test function works in a
// firm of its own (11, 12, ...), so the demo firms 1 and 2 stay as filled
// and no test sees another's objects.
class FirmFixture
{
public:
    // In init(): the database of the current backend row (made on first use),
    // a connected factory and a new firm. Returns false when it has skipped
    // or failed the test (QtTest then leaves the test function out).
    bool begin();
    // In cleanup().
    void end();
    // In cleanupTestCase().
    void dropDatabases() { m_databases.clear(); }

    store::StoreFactory &factory() { return m_factory; }
    TestDatabase &database() { return *m_db; }
    const QString &firm() const { return m_firm; }
    // A further firm nobody has used.
    QString newFirm() { return QString::number(++m_lastFirm); }
    void setFirm(const QString &firm) { m_firm = firm; }

    // Creates and saves an object of the current firm; its id.
    QString save(const QString &className, const Properties &properties);
    // All rows of a class query, each with every column.
    QList<QStringList> rows(const QString &className, const QString &query, const QStringList &arguments);
    QString call(const QString &className, const QString &method, const QStringList &arguments);
    QString xecute(const QString &command);
    // "S FIRMA=<current firm>,FIL=0,PERSONAL="..."" and "D ^%XTT".
    void setSessionFirm();

private:
    std::map<QString, std::unique_ptr<TestDatabase>> m_databases;
    TestDatabase *m_db = nullptr;
    store::StoreFactory m_factory;
    QString m_firm;
    int m_lastFirm = 10;
};

// The first column of every row.
QStringList FirstColumns(const QList<QStringList> &rows);

} // namespace testsupport
