#pragma once
// The program's emblem: a ticket with a tick, drawn so it needs no image file.

#include <QIcon>
#include <QPixmap>

namespace gui {

QPixmap emblem(int size);
// The emblem at the sizes title bars, task bars and menus ask for.
QIcon applicationIcon();

} // namespace gui
