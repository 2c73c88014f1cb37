#include "widgets/ABitmap.h"

#include "widgets/BitmapRoutines.h"
#include "widgets/ControlMessages.h"
#include "widgets/QtText.h"
#include "widgets/Skin.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPainter>
#include <QUrl>
#include <vector>

namespace {

std::vector<AString> LocalPaths(const QMimeData* data) {
    std::vector<AString> paths;
    if (!data)
        return paths;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            paths.push_back(PathToAString(url.toLocalFile()));
    }
    return paths;
}

} // namespace

ABitmap::ABitmap(int id, QWidget* parent) : SkinnedControl(id, parent) {
    setAcceptDrops(true);
}

void ABitmap::LoadImage(int pictureId, int bits) {
    if (bits & kImage)
        m_image = skin::Load(pictureId);
    if (bits & kMask)
        m_mask = skin::Load(pictureId);
    m_prepared = QImage();
    update();
}

void ABitmap::SetMask(bool apply) {
    if (apply)
        BitmapApplyMask(m_image, m_mask);
    m_alpha = apply;
    m_mask = QImage();
    m_prepared = QImage();
    update();
}

void ABitmap::SetTransparentColor(bool, ColorRef color) {
    BitmapApplyColorKey(m_image, color);
    m_mask = QImage();
    m_prepared = QImage();
    m_alpha = true;
    update();
}

QRect ABitmap::FittedRect(int anchor, int bits) const {
    QRect fitted = geometry();
    const int imageWidth = m_image.width();
    const int imageHeight = m_image.height();
    const bool fitWidth = bits & kFitWidth;
    const bool fitHeight = bits & kFitHeight;
    int left = fitted.left();
    int top = fitted.top();
    int right = fitted.left() + fitted.width();
    int bottom = fitted.top() + fitted.height();
    const bool keepLeft = anchor == kTopLeft || anchor == kBottomLeft;
    const bool keepTop = anchor == kTopLeft || anchor == kTopRight;
    if (anchor == kCentre) {
        if (fitWidth) {
            left -= (imageWidth - fitted.width() - 1) / 2;
            right = left + imageWidth;
        }
        if (fitHeight) {
            top -= (imageHeight - fitted.height() - 1) / 2;
            bottom = top + imageHeight;
        }
        return QRect(left, top, right - left, bottom - top);
    }
    if (fitWidth) {
        if (keepLeft)
            right = left + imageWidth;
        else
            left = right - imageWidth;
    }
    if (fitHeight) {
        if (keepTop)
            bottom = top + imageHeight;
        else
            top = bottom - imageHeight;
    }
    return QRect(left, top, right - left, bottom - top);
}

void ABitmap::SizeToImage(int anchor, int bits) {
    if (anchor == kStretch) {
        m_stretch = true;
        update();
        return;
    }
    if (anchor < kTopLeft || anchor > kCentre)
        return;
    setGeometry(FittedRect(anchor, bits));
}

const QImage& ABitmap::Prepared() {
    if (!m_prepared.isNull())
        return m_prepared;
    if (!m_mask.isNull()) {
        m_prepared = m_image;
        BitmapApplyMask(m_prepared, m_mask);
    } else if (m_alpha) {
        m_prepared = m_image;
    } else {
        m_prepared = m_image.convertToFormat(QImage::Format_RGB32);
    }
    return m_prepared;
}

void ABitmap::Draw(QPainter& painter) {
    if (m_image.isNull())
        return;
    const QRect natural(QPoint(0, 0), m_image.size());
    // An alpha picture without a mask keeps its natural size even when stretching.
    const bool naturalSize = !m_stretch || (m_alpha && m_mask.isNull());
    painter.drawImage(naturalSize ? natural : rect(), Prepared());
    DrawFrame(painter);
}

void ABitmap::dragEnterEvent(QDragEnterEvent* event) {
    if (!LocalPaths(event->mimeData()).empty())
        event->acceptProposedAction();
}

void ABitmap::dropEvent(QDropEvent* event) {
    std::vector<AString> paths = LocalPaths(event->mimeData());
    if (paths.empty())
        return;
    event->acceptProposedAction();
    PostToParent(controlmsg::kWmAddDroppedFiles, 0, Handle(),
                 nativeui::PrivateMessage::MakePayload(std::move(paths)));
}
