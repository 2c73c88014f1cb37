#include "widgets/Skin.h"

#include "widgets/BitmapRoutines.h"

#include <QString>

namespace skin {

QImage Load(int id) {
    const QImage picture(QStringLiteral(":/skin/%1.png").arg(id));
    if (picture.isNull())
        return {};
    return picture.convertToFormat(QImage::Format_ARGB32);
}

QImage LoadMasked(int id, int maskId) {
    QImage picture = Load(id);
    BitmapApplyMask(picture, Load(maskId));
    return picture;
}

} // namespace skin
