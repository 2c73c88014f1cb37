#include "widgets/TextFormat.h"

#include <QPainter>

namespace textformat {

int ToQtFlags(int format) {
    int flags = 0;
    if (format & kCenter)
        flags |= Qt::AlignHCenter;
    else if (format & kRight)
        flags |= Qt::AlignRight;
    else
        flags |= Qt::AlignLeft;
    if (format & kSingleLine) {
        flags |= Qt::TextSingleLine;
        if (format & kVCenter)
            flags |= Qt::AlignVCenter;
        else if (format & kBottom)
            flags |= Qt::AlignBottom;
        else
            flags |= Qt::AlignTop;
    } else {
        flags |= Qt::AlignTop;
        if (format & kWordBreak)
            flags |= Qt::TextWordWrap;
    }
    return flags;
}

void Draw(QPainter& painter, const QRect& rect, const QString& text, int format) {
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    painter.drawText(rect, ToQtFlags(format), text);
    painter.restore();
}

} // namespace textformat
