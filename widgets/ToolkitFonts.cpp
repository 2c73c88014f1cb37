#include "widgets/ToolkitFonts.h"

#include <QStringList>

namespace toolkitfonts {

namespace {

constexpr int kDialogFontPixels = 11;

bool IsMonospaced(const QString& family) {
    return family.startsWith(QStringLiteral("Courier"), Qt::CaseInsensitive);
}

} // namespace

QFont Make(const QString& family, int pixelHeight, int weight) {
    QFont font;
    const bool mono = IsMonospaced(family);
    font.setFamilies({family, mono ? QStringLiteral("DejaVu Sans Mono") : QStringLiteral("DejaVu Sans")});
    font.setStyleHint(mono ? QFont::Monospace : QFont::SansSerif);
    font.setPixelSize(pixelHeight);
    font.setWeight(weight >= kWeightBold ? QFont::Bold : QFont::Normal);
    return font;
}

QFont Tahoma13() {
    return Make(QStringLiteral("Tahoma"), 13, kWeightNormal);
}

QFont DialogFont() {
    return Make(QStringLiteral("Tahoma"), kDialogFontPixels, kWeightNormal);
}

} // namespace toolkitfonts
