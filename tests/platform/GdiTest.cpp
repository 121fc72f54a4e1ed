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
// beyond it; what cannot be read is refused.
TEST(GdiDibits, RowOrderBuffersAndRefusals) {
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
    EXPECT_EQ(read(3, -2, 2), (Words{0x000, 0x001, 0x002, 0x100, 0x101, 0x102, 0xDEADBEEF}));
    EXPECT_EQ(read(2, 1, 5), (Words{0x100, 0x101, 0xDEADBEEF}));
    EXPECT_EQ(read(4, -1, 1), (Words{0x100, 0x101, 0x102, 0, 0xDEADBEEF}));  // scan 0 is the bottom

    std::vector<std::uint32_t> buffer(4);
    BitmapInfoHeader h = header(2, 2);
    EXPECT_EQ(GetDIBits(&dc, &image, 2, 2, buffer.data(), &h, 0), 0) << "start beyond the bitmap";
    EXPECT_EQ(GetDIBits(&dc, nullptr, 0, 2, buffer.data(), &h, 0), 0);
    h.bitCount = 24;
    EXPECT_EQ(GetDIBits(&dc, &image, 0, 2, buffer.data(), &h, 0), 0);
}

// Equal sizes copy one to one, bottom row first, clipped to the target.
TEST(GdiStretch, CopiesClipsAndFailsOnUnusableArguments) {
    QImage target(3, 2, QImage::Format_RGB32);
    target.fill(0);
    DeviceContext dc(&target);
    const std::vector<std::uint32_t> bits{1, 2, 3, 4, 5, 6, 7, 8, 9};
    const BitmapInfoHeader h = header(3, 3);
    EXPECT_NE(StretchDIBits(&dc, 0, -1, 3, 3, 0, 0, 3, 3, bits.data(), &h, 1, SRCCOPY), 0);
    EXPECT_EQ(QList({target.pixel(0, 1), target.pixel(2, 0)}), QList({0xFF000001u, 0xFF000006u}));
    EXPECT_EQ(StretchDIBits(&dc, 0, 0, 0, 3, 0, 0, 3, 3, bits.data(), &h, 1, SRCCOPY), 0);
    EXPECT_EQ(StretchDIBits(&dc, 0, 0, 3, 3, 0, 0, 3, 3, bits.data(), &h, 1, 0x00EE0086), 0);
    DeviceContext empty;
    EXPECT_EQ(StretchDIBits(&empty, 0, 0, 3, 3, 0, 0, 3, 3, bits.data(), &h, 1, SRCCOPY), 0);
}

TEST(GdiCalls, PixelsOverlapsAndTheBitmapRecord) {
    QImage source = numbered(3, 3), target(2, 2, QImage::Format_RGB32);
    target.fill(qRgb(0x11, 0x22, 0x33));
    DeviceContext from(&source), to(&target);
    EXPECT_EQ(GetPixel(&to, 1, 1), 0x00332211u) << "blue, green, red";
    EXPECT_EQ(QList({GetPixel(&to, 2, 0), GetPixel(&to, 0, -1)}),
              QList({CLR_INVALID, CLR_INVALID}));
    EXPECT_TRUE(BitBlt(&to, -1, 0, 5, 5, &from, 0, 1, SRCCOPY));
    EXPECT_EQ(QList({target.pixel(0, 0), target.pixel(1, 1)}), QList({0xFF000101u, 0xFF000202u}));

    BitmapRecord record;
    EXPECT_EQ(GetObjectA(&source, sizeof record, &record), 24);
    EXPECT_EQ(QSize(record.width, record.height), QSize(3, 3));
    EXPECT_EQ(GetObjectA(&source, 8, &record), 0) << "buffer too small";
}

}  // namespace
}  // namespace quillon::gdi
