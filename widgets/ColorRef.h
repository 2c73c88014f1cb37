#pragma once
// Colours as the toolkit's callers give them: 0x00BBGGRR values, so that a colour written as a number
// keeps its meaning (0x00FF0000 is blue). The system colours the controls draw with are fixed here,
// so that every machine paints the same pixels.

#include <QColor>
#include <cstdint>

using ColorRef = uint32_t;

// Passed where a colour may be left as it is.
constexpr ColorRef kKeepColor = 0xFFFFFFFF;

constexpr ColorRef Rgb(int red, int green, int blue) {
    return static_cast<ColorRef>(red & 0xFF) | (static_cast<ColorRef>(green & 0xFF) << 8) |
           (static_cast<ColorRef>(blue & 0xFF) << 16);
}

inline QColor ToQColor(ColorRef color) {
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

namespace syscolor {
constexpr ColorRef kButtonText = Rgb(0, 0, 0);
constexpr ColorRef kGrayText = Rgb(109, 109, 109);
constexpr ColorRef kHighlight = Rgb(0, 120, 215);
constexpr ColorRef kHighlightText = Rgb(255, 255, 255);
} // namespace syscolor
