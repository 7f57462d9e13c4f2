#include "FirmFixture.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace testsupport {

namespace {

QString currentBackend()
{
    QFETCH_GLOBAL(QString, backend);
    return backend;
}

} // namespace

bool FirmFixture::begin()
{
    std::unique_ptr<TestDatabase> &db = m_databases[currentBackend()];
    if (!db) {
        // TOLVEN_FRESH_DATABASE returns from this function when it skips or fails.
        auto make = [&] { TOLVEN_FRESH_DATABASE(db); };
        make();
        if (!db)
            return false;
    }
    m_db = db.get();
    try {
        m_factory.connect(m_db->connectString());
    } catch (const tolven::AccessError &e) {
        QTest::qFail(qPrintable(e.description()), __FILE__, __LINE__);
        return false;
    }
    m_firm = newFirm();
    return true;
}

void FirmFixture::end()
{
    m_factory.disconnect();
}

QString FirmFixture::save(const QString &className, const Properties &properties)
{
    std::unique_ptr<tolven::ServerObject> object = m_factory.createNew(className);
    object->setProperty(u"Firma"_s, m_firm);
    for (const auto &[name, value] : properties)
        object->setProperty(name, value);
    object->sys_save();
    const QString id = object->sys_ID();
    object->sys_Close();
    return id;
}

QList<QStringList> FirmFixture::rows(const QString &className, const QString &query, const QStringList &arguments)
{
    std::unique_ptr<tolven::ResultSet> result = m_factory.openQuery(className, query);
    result->execute(arguments);
    QList<QStringList> all;
    while (result->next()) {
        QStringList row;
        for (int n = 1; n <= result->columnCount(); ++n)
            row << result->getColumn(n);
        all << row;
    }
    result->close();
    return all;
}

QString FirmFixture::call(const QString &className, const QString &method, const QStringList &arguments)
{
    std::unique_ptr<tolven::ServerObject> object = m_factory.classObject(className);
    const QString answer = object->callMethod(method, arguments);
    object->sys_Close();
    return answer;
}

QString FirmFixture::xecute(const QString &command)
{
    return call(u"TV.Windows"_s, u"Xecute"_s, {command});
}

void FirmFixture::setSessionFirm()
{
    xecute(u"S FIRMA=" + m_firm + u",FIL=0,PERSONAL=\"MUELLER\"");
    xecute(u"D ^%XTT"_s);
}

QStringList FirstColumns(const QList<QStringList> &rows)
{
    QStringList list;
    for (const QStringList &row : rows)
        list << row.first();
    return list;
}

} // namespace testsupport
