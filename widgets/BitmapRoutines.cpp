#include "widgets/BitmapRoutines.h"

#include <QImage>
#include <QtGlobal>
#include <algorithm>

static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "32-bit pictures are read as blue, green, red, alpha bytes");

namespace bitmaps {

namespace {

constexpr int kBytesPerPixel = 4;
constexpr int kBlue = 0;
constexpr int kGreen = 1;
constexpr int kRed = 2;
constexpr int kAlpha = 3;
constexpr int kOpaque = 255;
constexpr int kDisabledStrength = 128;
constexpr uint8_t kWhite = 255;

uint8_t Scale(int value, int alpha) {
    return static_cast<uint8_t>(value * alpha / kOpaque);
}

void Premultiply(uint8_t* pixel, int alpha) {
    pixel[kBlue] = Scale(pixel[kBlue], alpha);
    pixel[kGreen] = Scale(pixel[kGreen], alpha);
    pixel[kRed] = Scale(pixel[kRed], alpha);
    pixel[kAlpha] = static_cast<uint8_t>(alpha);
}

// One premultiplied source pixel over the destination, the source weakened by a constant alpha.
void BlendOver(uint8_t* destination, const uint8_t* source, int constantAlpha) {
    const int sourceAlpha = Scale(source[kAlpha], constantAlpha);
    for (int channel = 0; channel < kBytesPerPixel; ++channel) {
        const int weakened = Scale(source[channel], constantAlpha);
        destination[channel] =
            static_cast<uint8_t>(weakened + destination[channel] * (kOpaque - sourceAlpha) / kOpaque);
    }
}

} // namespace

bool ApplyMask(std::span<uint8_t> image, std::span<const uint8_t> mask) {
    if (image.size() != mask.size() || image.size() % kBytesPerPixel != 0)
        return false;
    for (size_t i = 0; i < image.size(); i += kBytesPerPixel)
        Premultiply(&image[i], kOpaque - mask[i + kBlue]);
    return true;
}

void ApplyColorKey(std::span<uint8_t> image, ColorRef key) {
    for (size_t i = 0; i + kBytesPerPixel <= image.size(); i += kBytesPerPixel) {
        uint8_t* pixel = &image[i];
        const ColorRef value = (static_cast<ColorRef>(pixel[kBlue]) << 16) |
                               (static_cast<ColorRef>(pixel[kGreen]) << 8) | pixel[kRed];
        if (value == key) {
            pixel[kBlue] = pixel[kGreen] = pixel[kRed] = pixel[kAlpha] = 0;
        } else {
            pixel[kAlpha] = kOpaque;
        }
    }
}

bool MakeDisabled(std::span<const uint8_t> image, std::span<const uint8_t> mask,
                  std::span<uint8_t> destination) {
    if (image.size() != mask.size() || destination.size() != image.size())
        return false;
    std::fill(destination.begin(), destination.end(), kWhite);
    for (size_t i = 0; i + kBytesPerPixel <= image.size(); i += kBytesPerPixel)
        BlendOver(&destination[i], &image[i], kDisabledStrength);
    return ApplyMask(destination, mask);
}

} // namespace bitmaps

namespace {

bool IsThirtyTwoBit(const QImage& image) {
    return !image.isNull() && image.depth() == 32;
}

std::span<uint8_t> Bytes(QImage& image) {
    return {image.bits(), static_cast<size_t>(image.sizeInBytes())};
}

std::span<const uint8_t> Bytes(const QImage& image) {
    return {image.constBits(), static_cast<size_t>(image.sizeInBytes())};
}

void MarkPremultiplied(QImage& image) {
    image.reinterpretAsFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace

void BitmapApplyMask(QImage& image, const QImage& mask) {
    if (!IsThirtyTwoBit(image) || !IsThirtyTwoBit(mask) || image.size() != mask.size())
        return;
    if (bitmaps::ApplyMask(Bytes(image), Bytes(mask)))
        MarkPremultiplied(image);
}

void BitmapApplyBandMask(QImage& strip, int bandHeight) {
    if (!IsThirtyTwoBit(strip) || bandHeight < 1)
        return;
    const int imageBands = (strip.height() / bandHeight) / 2;
    const size_t bandBytes = static_cast<size_t>(strip.bytesPerLine()) * bandHeight;
    std::span<uint8_t> bytes = Bytes(strip);
    for (int band = 0; band < imageBands; ++band) {
        const size_t imageStart = 2 * band * bandBytes;
        bitmaps::ApplyMask(bytes.subspan(imageStart, bandBytes),
                           bytes.subspan(imageStart + bandBytes, bandBytes));
    }
    MarkPremultiplied(strip);
}

void BitmapApplyColorKey(QImage& image, ColorRef key) {
    if (!IsThirtyTwoBit(image))
        return;
    bitmaps::ApplyColorKey(Bytes(image), key);
    MarkPremultiplied(image);
}

void BitmapMakeDisabled(const QImage& image, const QImage& mask, QImage& destination) {
    if (!IsThirtyTwoBit(image) || !IsThirtyTwoBit(mask) || !IsThirtyTwoBit(destination))
        return;
    if (image.size() != mask.size() || destination.size() != image.size())
        return;
    if (bitmaps::MakeDisabled(Bytes(image), Bytes(mask), Bytes(destination)))
        MarkPremultiplied(destination);
}
