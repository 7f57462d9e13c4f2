#include "ClientSetup.h"

#include <QApplication>
#include <QLocale>

#include <memory>

#include "common/Icons.h"
#include "common/QtTranslations.h"
#include "common/frmAbout.h"
#include "store/StoreFactory.h"

using namespace Qt::StringLiterals;

namespace tolven {

void SetUpClient()
{
    QCoreApplication::setOrganizationName(u"TOLVEN"_s);
    QCoreApplication::setApplicationName(u"konkur"_s);
    QCoreApplication::setApplicationVersion(ProgramVersion());
    // Lets a desktop (Wayland above all) match the windows with the installed
    // launcher konkur.desktop and its icon.
    QGuiApplication::setDesktopFileName(u"konkur"_s);
    // The client speaks German; without a locale of the user's own its
    // numbers and dates are German too.
    if (QLocale().language() == QLocale::C)
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    InstallQtTranslations();
    InitAppResources();
    QApplication::setWindowIcon(AppIcon(u"konkur"_s));
}

FactoryMaker StoreFactoryMaker()
{
    return [] { return std::make_unique<store::StoreFactory>(); };
}

} // namespace tolven
