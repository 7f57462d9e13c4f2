#pragma once

#include <QIcon>
#include <QString>
#include <QStringList>

class QPushButton;
class QWidget;

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

// A push button of a window's button row, found by its object name; Enter
// does not press it unless it has the focus and Space is pressed.
QPushButton *MakeButton(QWidget *parent, const QString &name, const QString &caption, const QString &icon);

} // namespace tolven
