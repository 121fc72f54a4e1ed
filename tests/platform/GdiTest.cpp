// The graphics calls over QImage: row order, the reserved byte, and clipping so that no
// argument reaches outside the bitmap or the caller's buffer.
#include <gtest/gtest.h>

#include <vector>

#include "platform/core/Gdi.h"

namespace quillon::gdi {
namespace {

QImage numbered(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.setPixel(x, y, 0xFF000000u | (y << 8) | x);
    return image;
}

BitmapInfoHeader header(int width, int height) {
    BitmapInfoHeader h;
    h.width = width;
    h.height = height;
    return h;
}

// Positive heights read bottom-up, negative top-down, with the reserved byte zero; a
// buffer narrower or shorter than the bitmap is never overrun, a wider one gets zeros
// beyond it; writing is the inverse and keeps the image opaque.
TEST(GdiDibits, RowOrderBuffersAndWritingBack) {
    QImage image = numbered(3, 2);
    DeviceContext dc(&image);
    const auto read = [&](int width, int height, int lines) {
        std::vector<std::uint32_t> buffer(std::abs(width * height) + 1, 0xDEADBEEF);
        const BitmapInfoHeader h = header(width, height);
        EXPECT_EQ(GetDIBits(&dc, &image, 0, lines, buffer.data(), &h, DIB_RGB_COLORS),
                  std::min(std::abs(height), 2));
        return buffer;
    };
    using Words = std::vector<std::uint32_t>;
    EXPECT_EQ(read(3, 2, 2), (Words{0x100, 0x101, 0x102, 0x000, 0x001, 0x002, 0xDEADBEEF}));
    EXPECT_EQ(read(3, -2, 2), (Words{0x000, 0x001, 0x002, 0x100, 0x101, 0x102, 0xDEADBEEF}));
    EXPECT_EQ(read(2, 1, 5), (Words{0x100, 0x101, 0xDEADBEEF}));
    EXPECT_EQ(read(4, -1, 1), (Words{0x100, 0x101, 0x102, 0, 0xDEADBEEF}));  // scan 0 is the bottom

    std::vector<std::uint32_t> pixels(6);
    for (std::uint32_t i = 0; i < 6; ++i) pixels[i] = 0x7F000000u | i * 0x010203u;
    const BitmapInfoHeader down = header(3, -2);
    EXPECT_EQ(SetDIBits(&dc, &image, 0, 2, pixels.data(), &down, DIB_RGB_COLORS), 2);
    EXPECT_EQ(image.pixel(1, 0), 0xFF000000u | 0x010203u);
    EXPECT_EQ(image.pixel(2, 1), 0xFF000000u | 5 * 0x010203u);
}

TEST(GdiDibits, RefusesWhatItCannotRead) {
    QImage image = numbered(2, 2);
    DeviceContext dc(&image);
    std::vector<std::uint32_t> buffer(4);
    BitmapInfoHeader h = header(2, 2);
    h.bitCount = 24;
    EXPECT_EQ(GetDIBits(&dc, &image, 0, 2, buffer.data(), &h, 0), 0);
    EXPECT_EQ(GetDIBits(&dc, nullptr, 0, 2, buffer.data(), &h, 0), 0);
    const BitmapInfoHeader ok = header(2, 2);
    EXPECT_EQ(GetDIBits(&dc, &image, 2, 2, buffer.data(), &ok, 0), 0) << "start beyond the bitmap";
}

TEST(GdiStretch, EqualSizesCopyOneToOneBottomUp) {
    QImage target(3, 2, QImage::Format_RGB32);
    target.fill(0);
    DeviceContext dc(&target);
    const std::vector<std::uint32_t> bits{1, 2, 3, 4, 5, 6};  // bottom row first
    const BitmapInfoHeader h = header(3, 2);
    EXPECT_NE(StretchDIBits(&dc, 0, 0, 3, 2, 0, 0, 3, 2, bits.data(), &h, 1, SRCCOPY), 0);
    EXPECT_EQ(target.pixel(0, 1), 0xFF000001u);
    EXPECT_EQ(target.pixel(2, 0), 0xFF000006u);
    // Two source pixels of the top row stretched over the whole target: nearest columns.
    EXPECT_NE(StretchDIBits(&dc, 0, 0, 3, 2, 0, 0, 2, 1, bits.data(), &h, 1, SRCCOPY), 0);
    EXPECT_EQ(target.pixel(1, 1), 0xFF000004u);
    EXPECT_EQ(target.pixel(2, 0), 0xFF000005u);
}

TEST(GdiStretch, ClipsToTheTargetAndFailsOnUnusableArguments) {
    QImage target(2, 2, QImage::Format_RGB32);
    target.fill(0);
    DeviceContext dc(&target);
    const std::vector<std::uint32_t> bits(16, 9);
    const BitmapInfoHeader h = header(4, 4);
    EXPECT_NE(StretchDIBits(&dc, -1, -1, 4, 4, 0, 0, 4, 4, bits.data(), &h, 1, SRCCOPY), 0);
    EXPECT_EQ(target.pixel(1, 1), 0xFF000009u);
    EXPECT_EQ(StretchDIBits(&dc, 0, 0, 0, 4, 0, 0, 4, 4, bits.data(), &h, 1, SRCCOPY), 0);
    EXPECT_EQ(StretchDIBits(&dc, 0, 0, 4, 4, 0, 0, 4, 4, bits.data(), &h, 1, 0x00EE0086), 0);
    DeviceContext empty;
    EXPECT_EQ(StretchDIBits(&empty, 0, 0, 4, 4, 0, 0, 4, 4, bits.data(), &h, 1, SRCCOPY), 0);
}

TEST(GdiPixels, ColoursAreBlueGreenRedAndOutsideIsInvalid) {
    QImage image(2, 2, QImage::Format_RGB32);
    image.fill(qRgb(0x11, 0x22, 0x33));
    DeviceContext dc(&image);
    EXPECT_EQ(GetPixel(&dc, 1, 1), 0x00332211u);
    EXPECT_EQ(SetPixel(&dc, 0, 1, 0x00AABBCC), 0x00AABBCCu);
    EXPECT_EQ(image.pixel(0, 1), qRgb(0xCC, 0xBB, 0xAA));
    EXPECT_EQ(GetPixel(&dc, 2, 0), CLR_INVALID);
    EXPECT_EQ(GetPixel(&dc, 0, -1), CLR_INVALID);
    EXPECT_EQ(SetPixel(&dc, -1, 0, 0), CLR_INVALID);
}

TEST(GdiBlit, CopiesTheOverlapOnly) {
    QImage source = numbered(3, 3), target(2, 2, QImage::Format_RGB32);
    target.fill(0xFF000000u);
    DeviceContext from(&source), to(&target);
    EXPECT_TRUE(BitBlt(&to, -1, 0, 5, 5, &from, 0, 1, SRCCOPY));
    EXPECT_EQ(target.pixel(0, 0), 0xFF000101u);
    EXPECT_EQ(target.pixel(1, 1), 0xFF000202u);
}

TEST(GdiObject, ReportsTheBitmapSizeAndDepthOnRequest) {
    QImage image = numbered(7, 5);
    BitmapRecord record;
    EXPECT_EQ(GetObjectA(&image, sizeof record, &record), 24);
    EXPECT_EQ(record.width, 7);
    EXPECT_EQ(record.height, 5);
    EXPECT_EQ(GetObjectA(&image, 8, &record), 0) << "buffer too small";
}

}  // namespace
}  // namespace quillon::gdi
