#include <QApplication>
#include <QLocale>

#include <memory>

#include "access/cacheapi.h"
#include "app/Icons.h"
#include "positions/FMStart.h"
#include "store/StoreFactory.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("TOLVEN"));
    QCoreApplication::setApplicationName(QStringLiteral("konkur"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TOLVEN_VERSION));
    // The client speaks German; without a locale of the user's own its
    // numbers and dates are German too.
    if (QLocale().language() == QLocale::C)
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    tolven::InitAppResources();
    QApplication::setWindowIcon(tolven::AppIcon(QStringLiteral("konkur")));

    // The client's "CacheObject.Factory": the object store on the database
    // that the connection string names.
    tolven::cacheapi gateway([] { return std::make_unique<store::StoreFactory>(); });
    tolven::FMStart window;
    if (!window.Form_Load())
        return 0;
    window.show();
    return QApplication::exec();
}
