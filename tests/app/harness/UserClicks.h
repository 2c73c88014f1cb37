#pragma once
// A user's hand on the main window: clicks and keys sent at the places where the window paints its
// controls, the menu bar's titles found in its picture, and the menus that open from them.

#include <QPoint>
#include <QRect>
#include <QString>
#include <vector>

class AMenu;
class QMenu;
class QWidget;

// Where the menu bar's titles are painted: the spans of its dark (text) pixels, left to right.
std::vector<QRect> PaintedTitles(AMenu& bar);
// The title of a menu as its bar shows it ("&Help" as "Help").
QString ShownTitle(const QMenu& menu);
// The popup menu open now, waiting a little for one to open; null when none did.
QMenu* OpenMenu();
// Closes every open menu.
void CloseMenus();
// Makes the window the active one, as the desktop does when a menu closed (the offscreen platform
// leaves the closed menu active): true once it is.
bool Activate(QWidget& window);
// A click with the left button at a point of the widget, delivered to its window.
void ClickAt(QWidget& widget, const QPoint& point);
// Clicks the menu bar's title where it is painted: the menu that opened, or null.
QMenu* OpenMenuByTitle(AMenu& bar, const QString& title);
// Clicks the entry of an open menu; for an entry with a submenu, the submenu that opened (else null).
QMenu* ClickMenuEntry(QMenu& menu, const QString& text);
