#pragma once

#include <QIcon>
#include <QString>
#include <QStringList>

namespace tolven {

// Registers the client's icons with Qt's resource system. The resources live
// in a static library, where nothing registers them on its own: main() and
// every test that shows icons call this once, before the first window.
void InitAppResources();

// The icon of that name ("save", "print", ...; see AppIconNames): the desktop
// theme's icon where the theme has one, otherwise our own drawing.
QIcon AppIcon(const QString &name);

// Every name AppIcon knows.
QStringList AppIconNames();

} // namespace tolven
