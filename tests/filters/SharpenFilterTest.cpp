#include <gtest/gtest.h>

#include <QImage>
#include <QTimer>
#include <algorithm>
#include <climits>
#include <functional>
#include <memory>
#include <random>
#include <stdexcept>
#include <vector>

#include "filters/mFilterQ.h"

namespace quillon::mFilterQ {
namespace {

constexpr std::size_t kRestingBytes = 4 * 2 * 2;

QImage filled(int width, int height, int grey, QPoint at = {-1, -1}, QRgb there = 0) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(qRgb(grey, grey, grey));
    if (at.x() >= 0) picture.setPixel(at, there);
    return picture;
}

QImage randomPicture(std::mt19937& random, int width, int height, int low = 0, int high = 255) {
    std::uniform_int_distribution<int> value(low, high);
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, qRgb(value(random), value(random), value(random)));
    }
    return picture;
}

// Sharpens a copy as the window's button does (filter 1, damping 2) and returns it.
QImage sharpened(QImage picture, std::int32_t s = 2) {
    std::int32_t progress = 0;
    ApplyFilter(1, &picture, s, progress);
    return picture;
}

// The filter as two pictures: the upper and left neighbours come from the result so far,
// the others from the original, in 64-bit arithmetic.
QImage referenceSharpen(const QImage& original, int s) {
    QImage result = original;
    const long long k = s + 24, d = s + 8;
    for (int y = 1; y + 1 < original.height(); ++y) {
        for (int x = 1; x + 1 < original.width(); ++x) {
            const QRgb around[8] = {result.pixel(x - 1, y - 1), result.pixel(x, y - 1),
                                    result.pixel(x + 1, y - 1), result.pixel(x - 1, y),
                                    original.pixel(x + 1, y),   original.pixel(x - 1, y + 1),
                                    original.pixel(x, y + 1),   original.pixel(x + 1, y + 1)};
            const auto channel = [&](int (*of)(QRgb)) {
                long long sum = 0;
                for (QRgb n : around) sum += of(n);
                return int(std::clamp((k * of(original.pixel(x, y)) - 2 * sum) / d, 0LL, 255LL));
            };
            result.setPixel(x, y, qRgb(channel(qRed), channel(qGreen), channel(qBlue)));
        }
    }
    return result;
}

// Runs `action` whenever pending events run from now on (once, or at every pause of a
// filter call) for as long as the hook lives.
std::unique_ptr<QTimer> pauseHook(bool repeat, const std::function<void()>& action) {
    auto timer = std::make_unique<QTimer>();
    timer->setSingleShot(!repeat);
    QObject::connect(timer.get(), &QTimer::timeout, action);
    timer->start(0);
    return timer;
}

// The fast rows weigh a row a few thousand pixels at a time and switch between 16-bit and
// 32-bit arithmetic by the centre weight: small pictures, a picture wider than one
// stretch, and weights on either side of each switch (and past the last one, where the
// checked arithmetic takes over), come out as the plain reference has them.
TEST(SharpenFilter, AgreesWithPlainReference) {
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> side(1, 19);
    for (int s : {2, 0, 7, -5, -20, 100}) {
        for (int round = 0; round < 12; ++round) {
            const bool gentle = round % 2 == 0;  // little clamping, so the division shows
            const QImage picture = randomPicture(random, side(random), side(random),
                                                 gentle ? 90 : 0, gentle ? 140 : 255);
            ASSERT_EQ(sharpened(picture, s), referenceSharpen(picture, s))
                << "s " << s << ", " << picture.width() << "x" << picture.height();
        }
    }
    for (int s : {88, 89, 150, -136, -137, 32743, 32744}) {
        const QImage picture = randomPicture(random, 4203, 4);
        ASSERT_EQ(sharpened(picture, s), referenceSharpen(picture, s)) << "s " << s;
    }
}

std::vector<std::pair<int, int>> progressAtPauses(QImage picture, std::int32_t& progress) {
    std::vector<std::pair<int, int>> seen;
    const auto hook = pauseHook(true, [&] { seen.emplace_back(progress, FilterProgress()); });
    ApplyFilter(1, &picture, 2, progress);
    return seen;
}

TEST(FilterProgress, WrittenAfterEveryRowThen100WhileTheModuleKeepsTheLastRow) {
    std::int32_t progress = -1;
    const std::vector<std::pair<int, int>> seven = {{28, 28}, {42, 42}, {57, 57},
                                                    {71, 71}, {85, 85}, {100, 85}};
    EXPECT_EQ(progressAtPauses(filled(4, 7, 50), progress), seven);
    EXPECT_EQ(progress, 100);
    EXPECT_EQ(FilterProgress(), 85);
    // Two columns: no pixel to compute, yet every row reports and pauses.
    EXPECT_EQ(progressAtPauses(filled(2, 5, 50), progress).size(), 4u);
    // Two rows: nothing changes, the module's value starts again at 0.
    std::mt19937 random(3);
    const QImage flat = randomPicture(random, 6, 2);
    progress = -1;
    EXPECT_EQ(sharpened(flat), flat);
    EXPECT_EQ(progressAtPauses(flat, progress), (std::vector<std::pair<int, int>>{{100, 0}}));
}

// The module's two copies hold the picture top row first, only during a call; after the
// first row the second copy still holds the picture as read. A call from a pause returns
// at once, touching nothing.
TEST(FilterModule, ArraysHoldThePictureOnlyDuringACallThatCannotBeEntered) {
    QImage picture = filled(3, 4, 20, {1, 0}, qRgb(255, 0, 0));
    const QImage original = picture;
    std::mt19937 random(5);
    const QImage innerOriginal = randomPicture(random, 4, 4);
    QImage inner = innerOriginal;
    std::int32_t progress = 0, innerProgress = -7;
    std::vector<std::uint8_t> work, ref;
    const auto hook = pauseHook(false, [&] {
        EXPECT_TRUE(FilterBusy());
        ApplyFilter(1, &inner, 2, innerProgress);
        work.assign(WorkPixels().begin(), WorkPixels().end());
        ref.assign(RefPixels().begin(), RefPixels().end());
    });
    ApplyFilter(1, &picture, 2, progress);
    ASSERT_EQ(work.size(), 4u * 3 * 4);
    EXPECT_EQ(QList<int>({work[4 + 2], work[4 * 3 + 4 + 2], ref[4 * 3 + 4 + 2], ref[4 * 9 + 2]}),
              QList<int>({255, 0, 20, 20}));
    EXPECT_EQ(WorkPixels().size() + RefPixels().size(), 2 * kRestingBytes);
    EXPECT_TRUE(innerProgress == -7 && inner == innerOriginal);
    EXPECT_EQ(picture, referenceSharpen(original, 2));
    EXPECT_EQ(sharpened(inner), referenceSharpen(innerOriginal, 2)) << "free again afterwards";
}

TEST(FilterModule, OtherNumbersNoPixelsAndArithmeticFailuresLeaveTheBitmap) {
    std::mt19937 random(11);
    QImage picture = randomPicture(random, 5, 5, 1);
    picture.setPixel(2, 2, qRgb(255, 255, 255));
    const QImage original = picture;
    std::int32_t untouched = -5;
    for (std::int32_t number : {0, 2, 40, -1}) ApplyFilter(number, &picture, 2, untouched);
    QImage empty, noColumns(0, 5, QImage::Format_RGB32);
    for (QImage* nothing : {static_cast<QImage*>(nullptr), &empty, &noColumns})
        ApplyFilter(1, nothing, 2, untouched);
    EXPECT_EQ(untouched, -5);
    EXPECT_EQ(picture, original);
    // s = -8 makes the divisor 0; INT_MAX overflows the centre weight; a centre weight of
    // ten million overflows its product with 255.
    std::int32_t progress = 0;
    EXPECT_THROW(ApplyFilter(1, &picture, -8, progress), std::domain_error);
    EXPECT_THROW(ApplyFilter(1, &picture, INT_MAX, progress), std::overflow_error);
    EXPECT_THROW(ApplyFilter(1, &picture, 9999976, progress), std::overflow_error);
    EXPECT_EQ(picture, original) << "nothing written back";
    EXPECT_FALSE(FilterBusy());
    EXPECT_EQ(WorkPixels().size(), kRestingBytes);
    EXPECT_EQ(RefPixels().size(), kRestingBytes);
}

}  // namespace
}  // namespace quillon::mFilterQ
