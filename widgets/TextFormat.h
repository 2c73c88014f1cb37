#pragma once
// Text drawing by the format flags the callers pass (the DrawText flags), so that a format written as
// a number keeps its meaning: 37 is centred on one line, 21 centred and broken into words.

#include <QRect>
#include <QString>

class QPainter;

namespace textformat {

constexpr int kLeft = 0x0;
constexpr int kCenter = 0x1;
constexpr int kRight = 0x2;
constexpr int kVCenter = 0x4;
constexpr int kBottom = 0x8;
constexpr int kWordBreak = 0x10;
constexpr int kSingleLine = 0x20;

constexpr int kCenteredLine = kCenter | kVCenter | kSingleLine; // 37
constexpr int kLeftLine = kVCenter | kSingleLine;               // 36
constexpr int kCenteredWords = kCenter | kVCenter | kWordBreak; // 21

// Qt's alignment and text flags for a format. As with DrawText, vertical placement applies only to a
// single line; other text starts at the top.
int ToQtFlags(int format);

// Draws with the painter's font and pen, clipped to the rectangle.
void Draw(QPainter& painter, const QRect& rect, const QString& text, int format);

} // namespace textformat
