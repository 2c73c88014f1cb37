#include "app/dialogs/DialogPictures.h"

#include "widgets/BitmapRoutines.h"
#include "widgets/Skin.h"

#include <map>
#include <vector>

namespace dialogpictures {

namespace {

constexpr int kHeaderRow = 16;
constexpr int kHeaderStates = 7;
constexpr int kHeaderMaskRow = 112;
constexpr int kSheetPictures = 3;

std::vector<QImage> CutStrip(int stripId) {
    const QImage strip = skin::Load(stripId);
    std::vector<QImage> images;
    for (int y = 0; y + kStripImageHeight <= strip.height(); y += kStripImageHeight)
        images.push_back(strip.copy(0, y, kStripImageWidth, kStripImageHeight));
    return images;
}

// Each picture band of the sheet is followed by its mask band.
std::vector<QImage> CutSheet() {
    QImage sheet = skin::Load(skin::kCheckSheet);
    BitmapApplyBandMask(sheet, kSheetCell);
    std::vector<QImage> images;
    for (int picture = 0; picture < kSheetPictures; ++picture) {
        for (int column = 0; column < 2; ++column)
            images.push_back(
                sheet.copy(column * kSheetCell, 2 * picture * kSheetCell, kSheetCell, kSheetCell));
    }
    return images;
}

std::vector<QImage> CutHeaderChecks() {
    const QImage strip = skin::Load(skin::kHeaderCheck);
    const QImage mask = strip.copy(0, kHeaderMaskRow, strip.width(), kHeaderRow);
    std::vector<QImage> images;
    for (int state = 0; state < kHeaderStates; ++state) {
        QImage picture = strip.copy(0, state * kHeaderRow, strip.width(), kHeaderRow);
        BitmapApplyMask(picture, mask);
        images.push_back(picture);
    }
    return images;
}

const QImage& At(const std::vector<QImage>& images, int index) {
    static const QImage none;
    if (index < 0 || index >= static_cast<int>(images.size()))
        return none;
    return images[index];
}

} // namespace

const QImage& StripImage(int stripId, int image) {
    static std::map<int, std::vector<QImage>> strips;
    auto found = strips.find(stripId);
    if (found == strips.end())
        found = strips.emplace(stripId, CutStrip(stripId)).first;
    return At(found->second, image);
}

const QImage& SheetImage(SheetPicture picture, bool on) {
    static const std::vector<QImage> sheet = CutSheet();
    return At(sheet, 2 * picture + (on ? 1 : 0));
}

const QImage& HeaderCheckImage(int state) {
    static const std::vector<QImage> checks = CutHeaderChecks();
    return At(checks, state);
}

const QImage& CheckMarkImage() {
    static const QImage mark = skin::LoadMasked(skin::kCheckMark, skin::kCheckMarkMask);
    return mark;
}

} // namespace dialogpictures
