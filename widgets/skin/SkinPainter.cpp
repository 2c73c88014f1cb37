// Draws the skin's pictures and writes them as PNG files named by picture id into a folder:
//   orvantis_skin_painter DIR
// The pictures are committed in widgets/skin/pictures/ and compiled into the program; run this again
// only to change the skin's look. Image pictures are opaque and black where their mask is white; masks
// are grey pictures, white where transparent and black where opaque.

#include <QColor>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using Paint = std::function<void(QPainter&, const QRectF&)>;

struct Picture {
    int id;
    QSize size;
    QPainterPath shape;
    Paint paint; // null for a mask
};

const QColor kInk(0x30, 0x33, 0x36);
const QColor kBlue(0x2A, 0x6F, 0xB8);
const QColor kLightBlue(0x7F, 0xB2, 0xE5);
const QColor kGreen(0x3C, 0x9A, 0x34);
const QColor kLightGreen(0x86, 0xCF, 0x6E);
const QColor kRed(0xB0, 0x2E, 0x28);
const QColor kLightRed(0xE8, 0x72, 0x6A);
const QColor kGrey(0x9A, 0x9D, 0xA0);

QPainterPath RoundedRect(const QSizeF& size, qreal radius, qreal inset = 0.5) {
    QPainterPath path;
    path.addRoundedRect(QRectF(inset, inset, size.width() - 2 * inset, size.height() - 2 * inset), radius,
                        radius);
    return path;
}

QPainterPath Circle(const QSizeF& size, qreal inset = 0.5) {
    QPainterPath path;
    path.addEllipse(QRectF(inset, inset, size.width() - 2 * inset, size.height() - 2 * inset));
    return path;
}

void FillVertical(QPainter& painter, const QRectF& area, const QColor& top, const QColor& bottom) {
    QLinearGradient gradient(area.topLeft(), area.bottomLeft());
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    painter.fillRect(area, gradient);
}

void Outline(QPainter& painter, const QPainterPath& shape, const QColor& color) {
    painter.setPen(QPen(color, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(shape);
}

// A glossy body in the shape, lighter at the top; pressed bodies are darker and lit from below.
Paint Body(const QPainterPath& shape, const QColor& light, const QColor& dark, bool pressed) {
    return [=](QPainter& painter, const QRectF& area) {
        painter.setClipPath(shape);
        FillVertical(painter, area, pressed ? dark.darker(115) : light, pressed ? light.darker(110) : dark);
        painter.setClipping(false);
        Outline(painter, shape, dark.darker(150));
    };
}

Paint WithGlyph(Paint body, std::function<void(QPainter&, const QRectF&)> glyph, bool pressed) {
    return [=](QPainter& painter, const QRectF& area) {
        body(painter, area);
        painter.save();
        if (pressed)
            painter.translate(1, 1);
        glyph(painter, area);
        painter.restore();
    };
}

void Triangle(QPainter& painter, const QPointF& a, const QPointF& b, const QPointF& c, const QColor& color) {
    QPainterPath path;
    path.moveTo(a);
    path.lineTo(b);
    path.lineTo(c);
    path.closeSubpath();
    painter.fillPath(path, color);
}

void Arrow(QPainter& painter, const QPointF& from, const QPointF& to, const QColor& color, qreal head = 4) {
    painter.setPen(QPen(color, 2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(from, to);
    const QPointF direction = (to - from) / std::hypot(to.x() - from.x(), to.y() - from.y());
    const QPointF normal(-direction.y(), direction.x());
    Triangle(painter, to + direction * 2, to - direction * head + normal * head,
             to - direction * head - normal * head, color);
}

void Note(QPainter& painter, const QRectF& box, const QColor& color) {
    const qreal w = box.width();
    const qreal h = box.height();
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawEllipse(QRectF(box.left() + 0.15 * w, box.top() + 0.62 * h, 0.34 * w, 0.26 * h));
    painter.fillRect(QRectF(box.left() + 0.42 * w, box.top() + 0.15 * h, 0.08 * w, 0.6 * h), color);
    painter.fillRect(QRectF(box.left() + 0.42 * w, box.top() + 0.15 * h, 0.36 * w, 0.1 * h), color);
}

void Library(QPainter& painter, const QRectF& box, const QColor& fill) {
    QPainterPath body;
    body.addRoundedRect(box, 3, 3);
    painter.fillPath(body, fill);
    Outline(painter, body, fill.darker(160));
    Note(painter, box.adjusted(2, 2, -2, -2), Qt::white);
}

void Device(QPainter& painter, const QRectF& box, const QColor& fill) {
    const QRectF shell(box.center().x() - box.height() * 0.33, box.top(), box.height() * 0.66, box.height());
    QPainterPath body;
    body.addRoundedRect(shell, 2.5, 2.5);
    painter.fillPath(body, fill);
    Outline(painter, body, fill.darker(160));
    painter.fillRect(QRectF(shell.left() + 2, shell.top() + 2, shell.width() - 4, shell.height() * 0.38),
                     Qt::white);
    painter.setPen(QPen(Qt::white, 1.2));
    painter.setBrush(Qt::NoBrush);
    const qreal wheel = shell.width() * 0.5;
    painter.drawEllipse(QRectF(shell.center().x() - wheel / 2, shell.bottom() - wheel - 2, wheel, wheel));
}

// The nine small icons of the setting strip, each in a 16 x 16 cell.
void Icon(QPainter& painter, int icon, const QRectF& cell) {
    const QRectF box = cell.adjusted(1, 1, -1, -1);
    const QPointF centre = cell.center();
    switch (icon) {
    case 0: {
        QPainterPath side;
        side.addRoundedRect(box.adjusted(1, 1, -1, -1), 3, 3);
        painter.fillPath(side, QColor(0xD0, 0xD3, 0xD6));
        Outline(painter, side, kGrey.darker(130));
        break;
    }
    case 1:
        Library(painter, box, kBlue);
        break;
    case 2:
        Device(painter, box, kBlue);
        break;
    case 3:
        painter.setPen(Qt::NoPen);
        painter.setBrush(kGrey);
        painter.drawEllipse(centre, 2, 2);
        break;
    case 4:
        painter.fillRect(QRectF(cell.left() + 3, centre.y() - 3, 10, 2), kBlue);
        painter.fillRect(QRectF(cell.left() + 3, centre.y() + 1, 10, 2), kBlue);
        break;
    case 5:
        Arrow(painter, QPointF(cell.left() + 2, centre.y()), QPointF(cell.right() - 3, centre.y()), kGreen);
        break;
    case 6:
        Arrow(painter, QPointF(cell.left() + 2, centre.y() - 3), QPointF(cell.right() - 3, centre.y() - 3),
              kBlue, 3);
        Arrow(painter, QPointF(cell.right() - 2, centre.y() + 3), QPointF(cell.left() + 3, centre.y() + 3),
              kBlue, 3);
        break;
    case 7:
        painter.setPen(QPen(kRed, 2.2, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(box.topLeft() + QPointF(2, 2), box.bottomRight() - QPointF(2, 2));
        painter.drawLine(box.topRight() + QPointF(-2, 2), box.bottomLeft() + QPointF(2, -2));
        break;
    default:
        painter.fillRect(QRectF(cell.left() + 3, centre.y() - 1, 10, 2), kGrey);
        break;
    }
}

void IconStrip(QImage& strip) {
    constexpr int kCells = 9;
    constexpr int kCell = 16;
    constexpr int kMaskRow = 32;
    strip.fill(Qt::black);
    QPainter painter(&strip);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int icon = 0; icon < kCells; ++icon)
        Icon(painter, icon, QRectF(icon * kCell, 0, kCell, kCell));
    // The mask row: white everywhere the icon left black.
    for (int y = 0; y < kCell; ++y) {
        for (int x = 0; x < kCells * kCell; ++x) {
            const QColor pixel = strip.pixelColor(x, y);
            const int ink = std::max({pixel.red(), pixel.green(), pixel.blue()});
            const int opacity = std::min(255, ink * 3);
            strip.setPixelColor(x, kMaskRow + y, QColor(255 - opacity, 255 - opacity, 255 - opacity));
        }
    }
}

// The way of one setting between the library (left) and the device (right).
void SettingWay(QPainter& painter, int setting, const QRectF& gap) {
    const qreal y = gap.center().y();
    const qreal left = gap.left();
    const qreal right = gap.right();
    switch (setting) {
    case 0:
        Arrow(painter, QPointF(left, y - 4), QPointF(right, y - 4), kBlue);
        Arrow(painter, QPointF(right, y + 4), QPointF(left, y + 4), kBlue);
        painter.setPen(QPen(kRed, 1.6));
        painter.drawLine(QPointF(gap.center().x() - 3, y - 2), QPointF(gap.center().x() + 3, y + 2));
        painter.drawLine(QPointF(gap.center().x() + 3, y - 2), QPointF(gap.center().x() - 3, y + 2));
        break;
    case 1:
        Arrow(painter, QPointF(left, y - 4), QPointF(right, y - 4), kGreen);
        Arrow(painter, QPointF(right, y + 4), QPointF(left, y + 4), kGreen);
        break;
    case 2:
        Arrow(painter, QPointF(left, y), QPointF(right, y), kGreen);
        break;
    case 3:
        Arrow(painter, QPointF(right, y), QPointF(left, y), kGreen);
        break;
    case 4:
    case 5: {
        const bool toDevice = setting == 4;
        Arrow(painter, QPointF(toDevice ? left : right, y + 4), QPointF(toDevice ? right : left, y + 4),
              kBlue);
        painter.fillRect(QRectF(gap.center().x() - 6, y - 8, 12, 2), kBlue);
        painter.fillRect(QRectF(gap.center().x() - 6, y - 4, 12, 2), kBlue);
        break;
    }
    default:
        painter.setPen(QPen(kGrey, 2, Qt::DashLine));
        painter.drawLine(QPointF(left, y), QPointF(right, y));
        break;
    }
}

Paint SettingPicture(const QPainterPath& shape, int setting) {
    return [=](QPainter& painter, const QRectF& area) {
        painter.setClipPath(shape);
        FillVertical(painter, area, QColor(0xF6, 0xF7, 0xF8), QColor(0xD9, 0xDC, 0xDF));
        painter.setClipping(false);
        Outline(painter, shape, QColor(0x8A, 0x8D, 0x90));
        const bool none = setting > 5;
        Library(painter, QRectF(4, 3, 20, 20), none ? kGrey : kBlue);
        Device(painter, QRectF(77, 3, 20, 20), none ? kGrey : kBlue);
        SettingWay(painter, setting, QRectF(32, 3, 37, 20));
    };
}

Paint StatusFrame(const QPainterPath& shape) {
    return [=](QPainter& painter, const QRectF& area) {
        painter.setClipPath(shape);
        FillVertical(painter, area, QColor(0xF4, 0xF5, 0xF6), QColor(0xD3, 0xD6, 0xD9));
        painter.fillRect(QRectF(area.left(), area.top() + 1, area.width(), 1), QColor(255, 255, 255));
        painter.setClipping(false);
        Outline(painter, shape, QColor(0x7C, 0x80, 0x84));
    };
}

Paint Idle(const QPainterPath& shape) {
    return [=](QPainter& painter, const QRectF& area) {
        QRadialGradient gradient(area.center() - QPointF(4, 5), area.width() * 0.7);
        gradient.setColorAt(0, kLightBlue);
        gradient.setColorAt(1, kBlue);
        painter.fillPath(shape, gradient);
        Outline(painter, shape, kBlue.darker(150));
        Note(painter, area.adjusted(7, 6, -7, -6), Qt::white);
    };
}

void AddButtonSet(std::vector<Picture>& pictures, int normal, int pressed, int mask, const QSize& size,
                  const QPainterPath& shape, const QColor& light, const QColor& dark,
                  std::function<void(QPainter&, const QRectF&)> glyph) {
    pictures.push_back({normal, size, shape, WithGlyph(Body(shape, light, dark, false), glyph, false)});
    pictures.push_back({pressed, size, shape, WithGlyph(Body(shape, light, dark, true), glyph, true)});
    pictures.push_back({mask, size, shape, nullptr});
}

void NoGlyph(QPainter&, const QRectF&) {}

std::vector<Picture> Pictures() {
    std::vector<Picture> pictures;
    const QSize bar(1, 7);
    pictures.push_back({500, bar, QPainterPath(), [](QPainter& painter, const QRectF& area) {
                            FillVertical(painter, area, kLightBlue, kBlue);
                        }});

    const QSize frame(13, 49);
    const QPainterPath frameShape = RoundedRect(frame, 5);
    pictures.push_back({502, frame, frameShape, StatusFrame(frameShape)});
    pictures.push_back({503, frame, frameShape, nullptr});

    const QSize round(36, 36);
    const QPainterPath roundShape = Circle(round);
    AddButtonSet(pictures, 675, 676, 677, round, roundShape, kLightGreen, kGreen,
                 [](QPainter& painter, const QRectF& area) {
                     const QPointF c = area.center();
                     Triangle(painter, c + QPointF(-5, -8), c + QPointF(-5, 8), c + QPointF(9, 0), Qt::white);
                 });
    AddButtonSet(pictures, 508, 509, 510, round, roundShape, kLightRed, kRed,
                 [](QPainter& painter, const QRectF& area) {
                     painter.fillRect(QRectF(area.center() - QPointF(6, 6), QSizeF(12, 12)), Qt::white);
                 });

    const QSize small(31, 22);
    const QPainterPath smallShape = RoundedRect(small, 4);
    const QColor buttonLight(0xF2, 0xF3, 0xF4);
    const QColor buttonDark(0xB9, 0xBD, 0xC1);
    AddButtonSet(pictures, 624, 625, 626, small, smallShape, buttonLight, buttonDark,
                 [](QPainter& painter, const QRectF& area) {
                     painter.setPen(QPen(kInk, 2));
                     painter.drawLine(area.center() + QPointF(-5, 0), area.center() + QPointF(5, 0));
                     painter.drawLine(area.center() + QPointF(0, -5), area.center() + QPointF(0, 5));
                 });
    const auto chevron = [](bool down) {
        return [down](QPainter& painter, const QRectF& area) {
            const QPointF c = area.center();
            const qreal tip = down ? 3 : -3;
            painter.setPen(QPen(kInk, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            painter.drawPolyline(
                QPolygonF({c + QPointF(-5, -tip), c + QPointF(0, tip), c + QPointF(5, -tip)}));
        };
    };
    pictures.push_back({627, small, smallShape,
                        WithGlyph(Body(smallShape, buttonLight, buttonDark, false), chevron(true), false)});
    pictures.push_back({628, small, smallShape,
                        WithGlyph(Body(smallShape, buttonLight, buttonDark, false), chevron(false), false)});
    pictures.push_back({629, small, smallShape,
                        WithGlyph(Body(smallShape, buttonLight, buttonDark, true), chevron(true), true)});
    pictures.push_back({630, small, smallShape,
                        WithGlyph(Body(smallShape, buttonLight, buttonDark, true), chevron(false), true)});
    pictures.push_back({631, small, smallShape, nullptr});

    const QSize arrow(16, 16);
    QPainterPath arrowShape;
    arrowShape.moveTo(3, 5);
    arrowShape.lineTo(13, 5);
    arrowShape.lineTo(8, 11);
    arrowShape.closeSubpath();
    pictures.push_back({632, arrow, arrowShape,
                        [=](QPainter& painter, const QRectF&) { painter.fillPath(arrowShape, kInk); }});
    pictures.push_back({633, arrow, arrowShape,
                        [=](QPainter& painter, const QRectF&) { painter.fillPath(arrowShape, kBlue); }});
    pictures.push_back({634, arrow, arrowShape, nullptr});

    const QSize setting(101, 26);
    const QPainterPath settingShape = RoundedRect(setting, 6);
    for (int i = 0; i < 7; ++i)
        pictures.push_back({650 + i, setting, settingShape, SettingPicture(settingShape, i)});
    pictures.push_back({657, setting, settingShape, nullptr});

    const QSize idle(32, 32);
    const QPainterPath idleShape = Circle(idle);
    pictures.push_back({666, idle, idleShape, Idle(idleShape)});
    pictures.push_back({667, idle, idleShape, nullptr});

    const QSize cancel(16, 16);
    const QPainterPath cancelShape = Circle(cancel);
    AddButtonSet(pictures, 668, 669, 670, cancel, cancelShape, kLightRed, kRed,
                 [](QPainter& painter, const QRectF& area) {
                     painter.setPen(QPen(Qt::white, 1.8, Qt::SolidLine, Qt::RoundCap));
                     const QPointF c = area.center();
                     painter.drawLine(c + QPointF(-3, -3), c + QPointF(3, 3));
                     painter.drawLine(c + QPointF(3, -3), c + QPointF(-3, 3));
                 });

    const QSize wide(99, 18);
    const QPainterPath wideShape = RoundedRect(wide, 8.5);
    AddButtonSet(pictures, 672, 673, 674, wide, wideShape, buttonLight, buttonDark, NoGlyph);
    AddButtonSet(pictures, 682, 683, 684, wide, wideShape, kLightBlue, kBlue, NoGlyph);
    return pictures;
}

QImage Draw(const Picture& picture) {
    if (!picture.paint) {
        QImage mask(picture.size, QImage::Format_Grayscale8);
        mask.fill(Qt::white);
        QPainter painter(&mask);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillPath(picture.shape, Qt::black);
        return mask;
    }
    QImage image(picture.size, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    picture.paint(painter, QRectF(QPointF(0, 0), QSizeF(picture.size)));
    return image;
}

// ---- The action lists' pictures: strips with their own alpha, and sheets with masks inside ----

constexpr QSize kStripCell(62, 14);
constexpr int kStripImages = 24;
constexpr int kSyncModeImages = 14;
const QColor kCopyGreen(0, 128, 0);
const QColor kDeleteRed(255, 0, 0);
const QColor kReplaceOrange(255, 128, 0);
const QColor kUndefinedBlue(0, 0, 255);

// A mark in the middle of an action symbol, on a white disc so that it reads over the arrow.
void ActionMark(QPainter& painter, const QPointF& centre, int kind, const QColor& color) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawEllipse(centre, 5.5, 5.5);
    painter.setPen(QPen(color, 2, Qt::SolidLine, Qt::RoundCap));
    if (kind == 0) {
        painter.drawLine(centre + QPointF(-3.5, 0), centre + QPointF(3.5, 0));
        painter.drawLine(centre + QPointF(0, -3.5), centre + QPointF(0, 3.5));
    } else if (kind == 1) {
        painter.drawLine(centre + QPointF(-3, -3), centre + QPointF(3, 3));
        painter.drawLine(centre + QPointF(3, -3), centre + QPointF(-3, 3));
    } else {
        painter.setBrush(color);
        painter.setPen(Qt::NoPen);
        painter.drawPolygon(QPolygonF({centre + QPointF(0, -3.5), centre + QPointF(3.5, 0),
                                       centre + QPointF(0, 3.5), centre + QPointF(-3.5, 0)}));
    }
}

void QuestionMark(QPainter& painter, const QPointF& centre, const QColor& color) {
    QPainterPath hook;
    hook.moveTo(centre + QPointF(-2.5, -2.5));
    hook.cubicTo(centre + QPointF(-2.5, -6), centre + QPointF(3, -6), centre + QPointF(3, -3));
    hook.cubicTo(centre + QPointF(3, -1), centre + QPointF(0, -0.5), centre + QPointF(0, 2));
    painter.setPen(QPen(color, 1.6, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(hook);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawEllipse(centre + QPointF(0, 4.5), 1.1, 1.1);
}

// The symbol of one display index of a sync's action list: the arrow points to the side that
// receives (Directory 1 on the left), the mark says what happens there.
void SyncActionSymbol(QPainter& painter, int index, const QRectF& cell) {
    const qreal y = cell.center().y();
    const QPointF left(cell.left() + 6, y);
    const QPointF right(cell.right() - 6, y);
    const bool toSide1 = index % 2 == 0;
    const auto arrow = [&](const QColor& color, int mark) {
        Arrow(painter, toSide1 ? right : left, toSide1 ? left : right, color, 3.5);
        ActionMark(painter, cell.center(), mark, color);
    };
    switch (index) {
    case 0:
    case 1:
        arrow(kCopyGreen, 0);
        break;
    case 2:
    case 3:
        arrow(kDeleteRed, 1);
        break;
    case 4:
    case 5:
        arrow(kReplaceOrange, 2);
        break;
    case 10:
        QuestionMark(painter, cell.center() - QPointF(8, 0), kUndefinedBlue);
        QuestionMark(painter, cell.center() + QPointF(8, 0), kUndefinedBlue);
        break;
    case 11:
        painter.fillRect(QRectF(cell.center().x() - 6, y - 3, 12, 2), kGrey);
        painter.fillRect(QRectF(cell.center().x() - 6, y + 1, 12, 2), kGrey);
        break;
    default: // folder actions show no symbol
        break;
    }
}

// The symbol of one display index of a tool's list of songs to add: the song and what happens to it.
void ToolActionSymbol(QPainter& painter, int index, const QRectF& cell) {
    const QPointF centre = cell.center();
    const QRectF note(centre.x() - 12, cell.top() + 1, 12, 12);
    switch (index / 2) {
    case 0:
        Note(painter, note, kCopyGreen);
        ActionMark(painter, centre + QPointF(6, 0), 0, kCopyGreen);
        break;
    case 1:
        Note(painter, note, kDeleteRed);
        ActionMark(painter, centre + QPointF(6, 0), 1, kDeleteRed);
        break;
    case 2:
        Note(painter, note, kReplaceOrange);
        ActionMark(painter, centre + QPointF(6, 0), 2, kReplaceOrange);
        break;
    case 5:
        if (index == 10)
            QuestionMark(painter, centre, kUndefinedBlue);
        break;
    default:
        break;
    }
}

QImage ActionStrip(const std::function<void(QPainter&, int, const QRectF&)>& symbol) {
    QImage strip(kStripCell.width(), kStripCell.height() * kStripImages, QImage::Format_ARGB32);
    strip.fill(Qt::transparent);
    QPainter painter(&strip);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int index = 0; index < kStripImages / 2; ++index)
        symbol(painter, index, QRectF(QPointF(0, 2 * index * kStripCell.height()), QSizeF(kStripCell)));
    return strip;
}

// The sync modes as the setting pictures show their ways, scaled into a strip cell.
QImage SyncModeStrip() {
    QImage strip(kStripCell.width(), kStripCell.height() * kSyncModeImages, QImage::Format_ARGB32);
    strip.fill(Qt::transparent);
    QPainter painter(&strip);
    painter.setRenderHint(QPainter::Antialiasing);
    constexpr qreal kScale = 0.7;
    for (int mode = 0; mode < kSyncModeImages / 2; ++mode) {
        painter.save();
        painter.translate(0, 2 * mode * kStripCell.height());
        painter.scale(kScale, kScale);
        SettingWay(painter, mode,
                   QRectF(4, 0, kStripCell.width() / kScale - 8, kStripCell.height() / kScale));
        painter.restore();
    }
    return strip;
}

// One 13 x 13 cell of the check sheet: a picture black outside its shape, or the shape's mask.
void SheetCell(QPainter& painter, const QRectF& cell, bool radio, bool on, bool greyed, bool mask) {
    const QRectF box = cell.adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath shape;
    if (radio)
        shape.addEllipse(box);
    else
        shape.addRect(box);
    if (mask) {
        painter.fillRect(cell, Qt::white);
        painter.fillPath(shape, Qt::black);
        return;
    }
    painter.fillRect(cell, Qt::black);
    painter.fillPath(shape, greyed ? QColor(0xE6, 0xE6, 0xE6) : Qt::white);
    Outline(painter, shape, greyed ? kGrey : QColor(0x1C, 0x51, 0x80));
    const QColor ink = greyed ? kGrey : kInk;
    if (!on)
        return;
    if (radio) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(ink);
        painter.drawEllipse(cell.center(), 2.5, 2.5);
        return;
    }
    painter.setPen(QPen(ink, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolyline(QPolygonF({cell.topLeft() + QPointF(3, 6.5), cell.topLeft() + QPointF(5.5, 9),
                                    cell.topLeft() + QPointF(10, 3.5)}));
}

// Two columns (off, on) of six rows: check box, its mask, radio, its mask, greyed radio, its mask.
QImage CheckSheet() {
    constexpr int kCell = 13;
    QImage sheet(2 * kCell, 6 * kCell, QImage::Format_RGB32);
    QPainter painter(&sheet);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int column = 0; column < 2; ++column) {
        for (int row = 0; row < 6; ++row) {
            const QRectF cell(column * kCell, row * kCell, kCell, kCell);
            SheetCell(painter, cell, row >= 2, column == 1, row >= 4, row % 2 == 1);
        }
    }
    return sheet;
}

// Seven 16-row pictures of the header's check box (clear, ticked, greyed clear and ticked, hot clear and
// ticked, mixed), their one mask at row 112.
QImage HeaderCheck() {
    constexpr int kRow = 16;
    constexpr int kMaskRow = 112;
    QImage strip(kRow, 8 * kRow, QImage::Format_RGB32);
    strip.fill(Qt::black);
    QPainter painter(&strip);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box(1.5, 1.5, 13, 13);
    for (int state = 0; state < 7; ++state) {
        const QRectF shifted = box.translated(0, state * kRow);
        const bool greyed = state == 2 || state == 3;
        const bool hot = state == 4 || state == 5;
        painter.fillRect(shifted, greyed ? QColor(0xE6, 0xE6, 0xE6)
                                  : hot  ? QColor(0xEE, 0xF4, 0xFB)
                                         : Qt::white);
        painter.setPen(QPen(greyed ? kGrey : QColor(0x1C, 0x51, 0x80), 1));
        painter.drawRect(shifted);
        const QColor ink = greyed ? kGrey : kInk;
        if (state == 6) {
            painter.fillRect(shifted.adjusted(3.5, 3.5, -3.5, -3.5), ink);
        } else if (state % 2 == 1) {
            painter.setPen(QPen(ink, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            painter.drawPolyline(
                QPolygonF({shifted.topLeft() + QPointF(3, 6.5), shifted.topLeft() + QPointF(5.5, 9),
                           shifted.topLeft() + QPointF(10, 3.5)}));
        }
    }
    painter.fillRect(QRectF(0, kMaskRow, kRow, kRow), Qt::white);
    painter.fillRect(QRectF(1, kMaskRow + 1, 14, 14), Qt::black);
    return strip;
}

QPainterPath CheckMarkShape() {
    QPainterPath tick;
    tick.moveTo(0.5, 3.5);
    tick.lineTo(2.5, 5.5);
    tick.lineTo(6.5, 1.0);
    return QPainterPathStroker(QPen(Qt::black, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin))
        .createStroke(tick);
}

// The pictures that are not one shape with a mask of its own, by id.
std::vector<std::pair<int, QImage>> SheetPictures() {
    QImage iconStrip(144, 48, QImage::Format_RGB32);
    IconStrip(iconStrip);
    const QSize mark(7, 7);
    QImage checkMark(mark, QImage::Format_RGB32);
    checkMark.fill(Qt::black);
    {
        QPainter painter(&checkMark);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillPath(CheckMarkShape(), kInk.lighter(200));
    }
    return {
        {511, iconStrip},
        {161, checkMark},
        {163, Draw({163, mark, CheckMarkShape(), nullptr})},
        {658, HeaderCheck()},
        {678, ActionStrip(SyncActionSymbol)},
        {679, SyncModeStrip()},
        {680, ActionStrip(ToolActionSymbol)},
        {681, CheckSheet()},
    };
}

bool Save(const QDir& folder, int id, const QImage& picture) {
    const QString path = folder.filePath(QStringLiteral("%1.png").arg(id));
    if (picture.save(path))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.exists() && !QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "cannot make %s\n", argv[1]);
        return 1;
    }
    for (const Picture& picture : Pictures()) {
        if (!Save(folder, picture.id, Draw(picture)))
            return 1;
    }
    for (const auto& [id, picture] : SheetPictures()) {
        if (!Save(folder, id, picture))
            return 1;
    }
    return 0;
}
