#include "Icons.h"

#include <QPushButton>
#include <QStringView>
#include <QtGlobal>

// Q_INIT_RESOURCE declares the resource's init function and must therefore
// be used outside any namespace.
static void InitKonkurResources()
{
    Q_INIT_RESOURCE(konkur);
}

namespace tolven {

namespace {

struct IconName
{
    QStringView name;
    // Name in the freedesktop icon theme; empty where the theme has nothing that fits.
    QStringView themeName;
};

constexpr IconName KnownIcons[] = {
    {u"konkur", u""},
    {u"search", u"system-search"},
    {u"competitors", u""},
    {u"pricetypes", u""},
    {u"save", u"document-save"},
    {u"print", u"document-print"},
    {u"export", u""},
    {u"import", u"document-open"},
    {u"exit", u"application-exit"},
    {u"login", u"dialog-password"},
    {u"new-row", u"list-add"},
    {u"copy-row", u"edit-copy"},
    {u"delete-row", u"list-remove"},
    {u"about", u"help-about"},
};

} // namespace

void InitAppResources()
{
    InitKonkurResources();
}

QIcon AppIcon(const QString &name)
{
    const QIcon bundled(u":/icons/" + name + u".svg");
    for (const IconName &icon : KnownIcons) {
        if (icon.name == name)
            return icon.themeName.isEmpty() ? bundled : QIcon::fromTheme(icon.themeName.toString(), bundled);
    }
    Q_ASSERT_X(false, "AppIcon", qPrintable(u"unknown icon " + name));
    return bundled;
}

QStringList AppIconNames()
{
    QStringList names;
    for (const IconName &icon : KnownIcons)
        names << icon.name.toString();
    return names;
}

QPushButton *MakeButton(QWidget *parent, const QString &name, const QString &caption, const QString &icon)
{
    auto *button = new QPushButton(AppIcon(icon), caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

} // namespace tolven
