#pragma once
// The preparation of skin pictures, done once when a picture is loaded, never per paint. Pixels are
// 32-bit values in blue, green, red, alpha byte order; a mask is a picture of the same size whose blue
// byte gives the transparency (255 fully transparent, 0 fully opaque). Routines that meet pictures of
// unequal sizes leave them unchanged.

#include "widgets/ColorRef.h"

#include <cstdint>
#include <span>

class QImage;

namespace bitmaps {

// Alpha = 255 - mask blue; each colour byte becomes value * alpha / 255.
bool ApplyMask(std::span<uint8_t> image, std::span<const uint8_t> mask);
// A pixel equal to the key (blue * 65536 + green * 256 + red) becomes all zero; every other pixel
// keeps its colour and becomes opaque.
void ApplyColorKey(std::span<uint8_t> image, ColorRef key);
// Half the premultiplied image over white, then premultiplied by the mask: the greyed picture.
bool MakeDisabled(std::span<const uint8_t> image, std::span<const uint8_t> mask,
                  std::span<uint8_t> destination);

} // namespace bitmaps

// The same on 32-bit pictures. A picture that was premultiplied is marked as such, so that it is
// composed with its alpha.
void BitmapApplyMask(QImage& image, const QImage& mask);
// The strip's rows are bands of `bandHeight` rows alternating image and mask, an image band first;
// each image band is premultiplied by the mask band below it. (height / band) / 2 image bands.
void BitmapApplyBandMask(QImage& strip, int bandHeight);
void BitmapApplyColorKey(QImage& image, ColorRef key);
// `destination` is a copy of the picture of the same size; it becomes the greyed picture.
void BitmapMakeDisabled(const QImage& image, const QImage& mask, QImage& destination);
