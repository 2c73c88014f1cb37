// Draws the main window's own pictures and writes them as PNG files named by picture id:
//   orvantis_app_skin_painter DIR
// The pictures are committed in app/skin/pictures/ and compiled into the program; run this again only
// to change the window's look.

#include "app/skin/AppSkin.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

const QColor kKey(0x00, 0xFF, 0xFF);
const QColor kInk(0x30, 0x33, 0x36);
const QColor kBlue(0x2A, 0x6F, 0xB8);
const QColor kLightBlue(0x7F, 0xB2, 0xE5);
const QColor kSilver(0xD8, 0xDB, 0xDE);
const QColor kDarkSilver(0x8E, 0x93, 0x98);

struct Picture {
    int id;
    QImage image;
};

QImage Keyed(int size) {
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(kKey);
    return image;
}

void FillVertical(QPainter& painter, const QPainterPath& shape, const QColor& top, const QColor& bottom) {
    const QRectF area = shape.boundingRect();
    QLinearGradient gradient(area.topLeft(), area.bottomLeft());
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    painter.fillPath(shape, gradient);
}

void Note(QPainter& painter, const QRectF& box, const QColor& color) {
    const qreal w = box.width();
    const qreal h = box.height();
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawEllipse(QRectF(box.left() + 0.12 * w, box.top() + 0.62 * h, 0.34 * w, 0.26 * h));
    painter.drawEllipse(QRectF(box.left() + 0.56 * w, box.top() + 0.54 * h, 0.34 * w, 0.26 * h));
    painter.fillRect(QRectF(box.left() + 0.38 * w, box.top() + 0.15 * h, 0.08 * w, 0.6 * h), color);
    painter.fillRect(QRectF(box.left() + 0.82 * w, box.top() + 0.07 * h, 0.08 * w, 0.6 * h), color);
    QPainterPath beam;
    beam.moveTo(box.left() + 0.38 * w, box.top() + 0.15 * h);
    beam.lineTo(box.left() + 0.90 * w, box.top() + 0.07 * h);
    beam.lineTo(box.left() + 0.90 * w, box.top() + 0.19 * h);
    beam.lineTo(box.left() + 0.38 * w, box.top() + 0.27 * h);
    beam.closeSubpath();
    painter.fillPath(beam, color);
}

// The silhouette is drawn without smoothing, so that no edge pixel blends into the key colour.
void Silhouette(QPainter& painter, const QPainterPath& shape, const QColor& top, const QColor& bottom) {
    painter.setRenderHint(QPainter::Antialiasing, false);
    FillVertical(painter, shape, top, bottom);
    painter.setPen(QPen(bottom.darker(150), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(shape);
    painter.setRenderHint(QPainter::Antialiasing, true);
}

// A screen's glass, lit from its top-left corner.
void Glass(QPainter& painter, const QRectF& screen) {
    QLinearGradient glass(screen.topLeft(), screen.bottomRight());
    glass.setColorAt(0, QColor(0xCF, 0xE3, 0xF6));
    glass.setColorAt(1, QColor(0x6E, 0x9C, 0xC9));
    painter.fillRect(screen, glass);
}

QImage LibraryPicture() {
    QImage image = Keyed(64);
    QPainter painter(&image);
    QPainterPath body;
    body.addRoundedRect(QRectF(6, 6, 52, 52), 10, 10);
    Silhouette(painter, body, kLightBlue, kBlue);
    Note(painter, QRectF(14, 14, 36, 36), Qt::white);
    return image;
}

// What tells the device models apart: body colours, screen and wheel proportions.
struct DeviceLook {
    QColor body;
    qreal width;    // of 64
    qreal height;   // of 64
    qreal screen;   // share of the height
    bool wheel;
    bool wideScreen;
};

DeviceLook LookOf(int id) {
    static const QColor colours[] = {QColor(0xF4, 0xF4, 0xF4), QColor(0x3A, 0x3C, 0x40), QColor(0xC9, 0x4F, 0x7C),
                                     QColor(0x4F, 0x8F, 0xC9), QColor(0x7C, 0xB8, 0x4A), QColor(0xD8, 0xA9, 0x3A),
                                     QColor(0xB5, 0xB8, 0xBC)};
    const QColor body = colours[(id - appskin::kFirstDeviceModel) % 7];
    if (id == 621 || id == 613)
        return {body, 26, 34, 0.0, true, false}; // the small players without a screen
    if (id >= 614 && id <= 620)
        return {body, 40, 60, 0.45, true, true};  // the video players
    if (id >= 608 && id <= 610)
        return {body, 24, 58, 0.35, true, false}; // the slim players
    return {body, 36, 58, 0.40, true, false};
}

QImage DevicePicture(const DeviceLook& look, bool unknown) {
    QImage image = Keyed(64);
    QPainter painter(&image);
    const QRectF shell(32 - look.width / 2, 32 - look.height / 2, look.width, look.height);
    QPainterPath body;
    body.addRoundedRect(shell, 5, 5);
    Silhouette(painter, body, look.body.lighter(110), look.body.darker(115));
    const qreal inset = 3;
    if (look.screen > 0) {
        const QRectF screen(shell.left() + inset, shell.top() + inset, shell.width() - 2 * inset,
                            shell.height() * look.screen);
        Glass(painter, screen);
        painter.setPen(QPen(kInk, 1));
        painter.drawRect(screen);
    }
    if (look.wheel) {
        const qreal free = shell.height() * (1 - look.screen) - 2 * inset;
        const qreal wheel = std::min(shell.width() - 2 * inset, free) * 0.86;
        const QRectF ring(shell.center().x() - wheel / 2, shell.bottom() - inset - free / 2 - wheel / 2, wheel,
                          wheel);
        painter.setPen(QPen(look.body.darker(140), 1));
        painter.setBrush(look.body.lightness() > 128 ? kSilver : kDarkSilver);
        painter.drawEllipse(ring);
        painter.setBrush(look.body);
        painter.drawEllipse(ring.adjusted(wheel * 0.32, wheel * 0.32, -wheel * 0.32, -wheel * 0.32));
    }
    if (unknown) {
        painter.setPen(kInk);
        QFont font = painter.font();
        font.setPixelSize(22);
        font.setBold(true);
        painter.setFont(font);
        painter.drawText(QRectF(shell.left(), shell.top() + 2, shell.width(), shell.height() * look.screen + 4),
                         Qt::AlignCenter, QStringLiteral("?"));
    }
    return image;
}

QImage RemotePicture() {
    QImage image = Keyed(64);
    QPainter painter(&image);
    QPainterPath monitor;
    monitor.addRoundedRect(QRectF(6, 8, 52, 36), 4, 4);
    Silhouette(painter, monitor, kSilver, kDarkSilver);
    Glass(painter, QRectF(10, 12, 44, 28));
    Note(painter, QRectF(22, 15, 20, 22), kBlue);
    QPainterPath stand;
    stand.addRect(QRectF(27, 44, 10, 6));
    stand.addRoundedRect(QRectF(18, 50, 28, 5), 2, 2);
    Silhouette(painter, stand, kSilver, kDarkSilver);
    return image;
}

QImage Background() {
    QImage image(16, 16, QImage::Format_RGB32);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const int shade = 0xDC + (((x + y) % 4 == 0) ? 6 : 0) - (y % 8 == 7 ? 3 : 0);
            image.setPixelColor(x, y, QColor(shade, shade + 1, shade + 3));
        }
    }
    return image;
}

QImage ProgramIcon() {
    QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath disc;
    disc.addEllipse(QRectF(1, 1, 30, 30));
    FillVertical(painter, disc, kLightBlue, kBlue);
    painter.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(6, 6, 20, 20), 30 * 16, 120 * 16);
    painter.drawArc(QRectF(6, 6, 20, 20), 210 * 16, 120 * 16);
    Note(painter, QRectF(10, 9, 12, 14), Qt::white);
    return image;
}

// Minimise, an empty middle button and close, each normal, hot and pressed; their masks below.
QImage CaptionButtons() {
    const int size = appskin::kCaptionButtonSize;
    QImage image(9 * size, 2 * size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int button = 0; button < 3; ++button) {
        for (int state = 0; state < 3; ++state) {
            const QRectF cell((3 * button + state) * size, 0, size, size);
            const QRectF face = cell.adjusted(1, 1, -1, -1);
            QPainterPath round;
            round.addEllipse(face);
            const QColor base = button == 2 ? QColor(0xD2, 0x4B, 0x3F) : QColor(0x8C, 0x91, 0x96);
            const QColor light = state == 1 ? base.lighter(125) : base.lighter(108);
            FillVertical(painter, round, state == 2 ? base.darker(120) : light, state == 2 ? light : base.darker(115));
            painter.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap));
            const QPointF c = face.center() + (state == 2 ? QPointF(0.5, 0.5) : QPointF());
            if (button == 0)
                painter.drawLine(c + QPointF(-3.5, 2.5), c + QPointF(3.5, 2.5));
            if (button == 2) {
                painter.drawLine(c + QPointF(-3, -3), c + QPointF(3, 3));
                painter.drawLine(c + QPointF(3, -3), c + QPointF(-3, 3));
            }
            QPainterPath mask;
            mask.addEllipse(face.translated(0, size));
            painter.fillPath(mask, Qt::black);
        }
    }
    return image;
}

// Pixels of the cut colour outside a rounded corner of radius 6, for each corner.
QImage CornerMask() {
    const int size = appskin::kCornerSize;
    QImage image(4 * size, 2 * size, QImage::Format_RGB32);
    image.fill(Qt::white);
    const QColor cut(1, 1, 1);
    const qreal radius = 6;
    for (int corner = 0; corner < 4; ++corner) {
        const bool right = corner % 2 == 1;
        const bool bottom = corner >= 2;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                // The pixel's distance from the window's own edges, whichever corner this is.
                const qreal fromSide = (right ? size - 1 - x : x) + 0.5;
                const qreal fromEdge = (bottom ? size - 1 - y : y) + 0.5;
                const qreal dx = radius - fromSide;
                const qreal dy = radius - fromEdge;
                if (dx > 0 && dy > 0 && dx * dx + dy * dy > radius * radius)
                    image.setPixelColor(corner * size + x, y, cut);
            }
        }
    }
    return image;
}

std::vector<Picture> Pictures() {
    std::vector<Picture> pictures;
    pictures.push_back({appskin::kProgramIcon, ProgramIcon()});
    pictures.push_back({appskin::kRemoteLibrary, RemotePicture()});
    pictures.push_back({appskin::kBackground, Background()});
    pictures.push_back({appskin::kUnknownDevice, DevicePicture({kSilver, 36, 58, 0.40, true, false}, true)});
    for (int id = appskin::kFirstDeviceModel; id <= appskin::kLastDeviceModel; ++id)
        pictures.push_back({id, DevicePicture(LookOf(id), false)});
    pictures.push_back({appskin::kLibrary, LibraryPicture()});
    pictures.push_back({appskin::kCaptionButtons, CaptionButtons()});
    pictures.push_back({appskin::kCornerMask, CornerMask()});
    return pictures;
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
        const QString path = folder.filePath(QStringLiteral("%1.png").arg(picture.id));
        if (!picture.image.save(path)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
