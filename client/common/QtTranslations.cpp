#include "QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

using namespace Qt::StringLiterals;

namespace tolven {

bool InstallQtTranslations()
{
    QLocale locale;
    if (locale.language() != QLocale::German)
        locale = QLocale(QLocale::German, QLocale::Germany);
    // Owned by the application, which keeps it for as long as it runs.
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(locale, u"qtbase"_s, u"_"_s, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

} // namespace tolven
