#pragma once
// A picture drawn over the skin: opaque, composed with its alpha, through its mask, or stretched over
// the control. It accepts dropped files and folders: their local paths reach the parent in one
// WM_ADD_DROPPED_FILES, whole and in drop order.

#include "widgets/SkinnedControl.h"

#include <QImage>

class ABitmap : public SkinnedControl {
public:
    enum ImageBits { kImage = 1, kMask = 2 };
    enum Anchor { kTopLeft = 1, kTopRight = 2, kBottomLeft = 3, kBottomRight = 4, kCentre = 5, kStretch = 6 };
    enum SizeBits { kFitWidth = 1, kFitHeight = 2 };

    ABitmap(int id, QWidget* parent);

    void LoadImage(int pictureId, int bits);
    // True premultiplies the image with the mask; the mask is dropped either way.
    void SetMask(bool apply);
    // Pixels of the colour become transparent; the mask is dropped.
    void SetTransparentColor(bool flag, ColorRef color);
    // Moves the edges named by `bits` so that the control takes the image's size, keeping the anchor;
    // kStretch only makes the image stretch over the control.
    void SizeToImage(int anchor, int bits);

    void Draw(QPainter& painter) override;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QRect FittedRect(int anchor, int bits) const;
    // The picture as it is drawn (opaque, with its alpha, or through its mask), made once per change.
    const QImage& Prepared();

    QImage m_image;
    QImage m_mask;
    QImage m_prepared;
    bool m_stretch = false;
    bool m_alpha = false;
};
