#pragma once
// A band filled with a pattern picture stretched over it, with a dark line along its top and bottom
// edges; or, without a picture, filled with a colour; with neither it leaves the background. The
// picture wins over the colour.

#include "widgets/SkinnedControl.h"

#include <QImage>
#include <optional>

class ABar : public SkinnedControl {
public:
    ABar(int id, QWidget* parent);

    void SetBitmap(int pictureId);
    void SetColor(ColorRef color);
    // The pattern picture; null without one.
    const QImage& GetBitmap() const { return m_pattern; }

    void Draw(QPainter& painter) override;

private:
    QImage m_pattern;
    std::optional<ColorRef> m_color;
};
