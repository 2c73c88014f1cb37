#include "widgets/BitmapRoutines.h"

#include <QImage>
#include <array>
#include <gtest/gtest.h>
#include <vector>

namespace {

using Pixel = std::array<uint8_t, 4>; // blue, green, red, alpha

std::vector<uint8_t> Bytes(std::initializer_list<Pixel> pixels) {
    std::vector<uint8_t> bytes;
    for (const Pixel& pixel : pixels)
        bytes.insert(bytes.end(), pixel.begin(), pixel.end());
    return bytes;
}

Pixel Grey(uint8_t value) {
    return {value, value, value, 255};
}

QImage Picture(int width, int height, Pixel fill) {
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = image.scanLine(y);
        for (int x = 0; x < width; ++x)
            std::copy(fill.begin(), fill.end(), line + 4 * x);
    }
    return image;
}

Pixel PixelOf(const QImage& image, int x, int y) {
    const uchar* p = image.constScanLine(y) + 4 * x;
    return {p[0], p[1], p[2], p[3]};
}

} // namespace

TEST(BitmapRoutinesTest, AMaskSetsTheAlphaAndScalesEachColourByIt) {
    struct Case {
        uint8_t mask;
        Pixel colour;
        Pixel expected;
    };
    const Case cases[] = {
        {255, {200, 100, 50, 255}, {0, 0, 0, 0}},       // white mask: fully transparent
        {0, {200, 100, 50, 17}, {200, 100, 50, 255}},   // black mask: colour kept, opaque
        {128, {200, 200, 200, 255}, {99, 99, 99, 127}}, // 200 * 127 / 255 = 99 (integer division)
        {128, {255, 1, 0, 0}, {127, 0, 0, 127}},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> image = Bytes({c.colour});
        const std::vector<uint8_t> mask = Bytes({Grey(c.mask)});
        ASSERT_TRUE(bitmaps::ApplyMask(image, mask));
        EXPECT_EQ(image, Bytes({c.expected})) << "mask " << int(c.mask);
    }
}

TEST(BitmapRoutinesTest, PicturesOfUnequalSizesStayUnchanged) {
    std::vector<uint8_t> image = Bytes({{1, 2, 3, 4}, {5, 6, 7, 8}});
    const std::vector<uint8_t> before = image;
    EXPECT_FALSE(bitmaps::ApplyMask(image, Bytes({Grey(0)})));
    EXPECT_EQ(image, before);

    QImage picture = Picture(4, 2, {10, 20, 30, 255});
    const QImage original = picture.copy();
    BitmapApplyMask(picture, Picture(2, 4, Grey(255)));
    EXPECT_EQ(picture, original);

    QImage greyed = Picture(4, 2, {1, 1, 1, 1});
    const QImage greyedBefore = greyed.copy();
    BitmapMakeDisabled(picture, Picture(3, 2, Grey(0)), greyed);
    EXPECT_EQ(greyed, greyedBefore);
}

TEST(BitmapRoutinesTest, TheColourKeyClearsExactlyThatColour) {
    std::vector<uint8_t> image = Bytes({
        {255, 0, 255, 9}, // magenta: red and blue 255, green 0
        {255, 1, 255, 9}, // green 1
        {254, 0, 255, 9}, // blue 254
        {0, 0, 0, 0},     // black
    });
    bitmaps::ApplyColorKey(image, 0x00FF00FF);
    EXPECT_EQ(image, Bytes({{0, 0, 0, 0}, {255, 1, 255, 255}, {254, 0, 255, 255}, {0, 0, 0, 255}}));
}

TEST(BitmapRoutinesTest, BandMasksTreatHalfTheWholeBands) {
    struct Case {
        int height;
        int band;
        int imageBandsTreated;
    };
    // (height / band) / 2 image bands: a trailing image band without its mask stays as it is.
    const Case cases[] = {{8, 2, 2}, {10, 2, 2}, {6, 2, 1}, {7, 3, 1}, {3, 1, 1}, {1, 1, 0}};
    for (const Case& c : cases) {
        QImage strip = Picture(2, c.height, {100, 100, 100, 255});
        for (int band = 0; band * c.band < c.height; ++band) {
            if (band % 2 == 0)
                continue;
            for (int row = band * c.band; row < std::min(c.height, (band + 1) * c.band); ++row)
                std::fill(strip.scanLine(row), strip.scanLine(row) + 8, uint8_t{255}); // white: transparent
        }
        BitmapApplyBandMask(strip, c.band);
        int treated = 0;
        for (int band = 0; band * c.band < c.height; band += 2)
            treated += PixelOf(strip, 0, band * c.band) == Pixel{0, 0, 0, 0};
        EXPECT_EQ(treated, c.imageBandsTreated) << c.height << " rows in bands of " << c.band;
    }
}

TEST(BitmapRoutinesTest, TheGreyedPictureIsHalfThePictureOverWhiteThroughTheMask) {
    // Black opaque over white at half strength: 0 * 128 / 255 + 255 * (255 - 128) / 255 = 127.
    const std::vector<uint8_t> image = Bytes({{0, 0, 0, 255}, {0, 0, 0, 255}});
    const std::vector<uint8_t> mask = Bytes({Grey(0), Grey(255)});
    std::vector<uint8_t> greyed(8, 7);
    ASSERT_TRUE(bitmaps::MakeDisabled(image, mask, greyed));
    EXPECT_EQ(greyed, Bytes({{127, 127, 127, 255}, {0, 0, 0, 0}}));
}
