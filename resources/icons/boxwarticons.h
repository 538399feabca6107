#pragma once

#include <QIcon>
#include <QPixmap>

// Icons of the window and the shortcut bar, drawn with QPainter so that no
// picture files have to travel with the program.
namespace BoxwartIcons {

enum class Flag { Germany, UnitedKingdom, Russia, Netherlands, Italy, Greece };

enum class Symbol {
    Settings,   // gear
    Upload,     // arrow up into the box
    Download,   // arrow down out of the box
    Network,    // TFTP
    Console,    // terminal prompt
    Clock,      // timers
    Disk,       // hard disk
    Connect,    // plug
    Disconnect, // unplugged
    Save,       // floppy
};

QIcon flag(Flag flag);
QIcon symbol(Symbol symbol);
// 105 x 57: the program's name on a stylised box front.
QPixmap logo();
// The window and program icon.
QIcon programIcon();

} // namespace BoxwartIcons
