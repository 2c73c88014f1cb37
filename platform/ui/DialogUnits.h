#pragma once
// Dialog templates are laid out in dialog units of their font; these turn them into pixels for the
// dialog font "MS Shell Dlg" 8 at 96 dots per inch (a character cell of 6 x 13 pixels).

#include <QRect>

namespace nativeui {

constexpr int kDialogBaseUnitX = 6;
constexpr int kDialogBaseUnitY = 13;

constexpr int DialogUnitsToPixelsX(int units) {
    return units * kDialogBaseUnitX / 4;
}

constexpr int DialogUnitsToPixelsY(int units) {
    return units * kDialogBaseUnitY / 8;
}

inline QRect DialogUnitsToPixels(int x, int y, int width, int height) {
    return QRect(DialogUnitsToPixelsX(x), DialogUnitsToPixelsY(y), DialogUnitsToPixelsX(width),
                 DialogUnitsToPixelsY(height));
}

} // namespace nativeui
