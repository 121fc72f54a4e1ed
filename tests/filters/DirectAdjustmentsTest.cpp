#include <gtest/gtest.h>

#include <QImage>
#include <initializer_list>
#include <memory>

#include "app/adjustments/ColourStretch.h"
#include "app/adjustments/WhiteCrush.h"
#include "platform/core/PictureBoxModel.h"

namespace quillon {
namespace {

using Adjustment = void (*)(platform::PictureBoxModel&);

// A box exactly the picture's size, so its scale size is the picture's pixel size.
std::unique_ptr<platform::PictureBoxModel> boxShowing(const QImage& picture) {
    auto box = std::make_unique<platform::PictureBoxModel>();
    box->setTwipsPerPixel(15.0, 15.0);
    box->setOuterSizePixels(picture.width(), picture.height());
    box->setPicture(picture);
    return box;
}

QImage rows(std::initializer_list<std::initializer_list<QRgb>> pixels) {
    QImage picture(int(pixels.begin()->size()), int(pixels.size()), QImage::Format_RGB32);
    auto* pixel = reinterpret_cast<QRgb*>(picture.bits());  // rows of 32-bit pixels abut
    for (const auto& row : pixels)
        for (QRgb colour : row) *pixel++ = colour;
    return picture;
}

QRgb grey(int value) {
    return qRgb(value, value, value);
}

QImage shownAfter(Adjustment adjustment, const QImage& picture, int clicks = 1) {
    const auto box = boxShowing(picture);
    for (int i = 0; i < clicks; ++i) adjustment(*box);
    return box->image();
}

TEST(ColourStretch, LowersOnlyTheFirstChannelAbove205UntilNoneIsLeft) {
    const QImage picture = rows({{grey(255), qRgb(210, 255, 0), qRgb(100, 230, 240),
                                  qRgb(200, 100, 206), grey(205), grey(0)}});
    // 255 - 76.5 = 178.5 rounds to the even 178; 230 x 0.2 = 46; 206 - 61.8 = 144.2.
    EXPECT_EQ(shownAfter(ColourStretch, picture),
              rows({{qRgb(178, 255, 255), qRgb(147, 255, 0), qRgb(100, 184, 240),
                     qRgb(200, 100, 144), grey(205), grey(0)}}));
    EXPECT_EQ(shownAfter(ColourStretch, picture, 4),  // settled after three
              rows({{qRgb(178, 204, 178), qRgb(147, 204, 0), qRgb(100, 184, 168),
                     qRgb(200, 100, 144), grey(205), grey(0)}}));
    // Four pixels at a time pass unchanged only where no channel is above the limit.
    QImage wide(9, 1, QImage::Format_RGB32);
    wide.fill(grey(100));
    wide.setPixel(2, 0, qRgb(100, 230, 100));
    wide.setPixel(7, 0, qRgb(211, 100, 240));
    QImage expected = wide;
    expected.setPixel(2, 0, qRgb(100, 184, 100));
    expected.setPixel(7, 0, qRgb(148, 100, 240));  // 147.7 rounded
    EXPECT_EQ(shownAfter(ColourStretch, wide), expected);
}

TEST(WhiteCrush, RunningMinimaFollowRowsFromTheTopEachFromTheLeftPastZeros) {
    // Minima: capped to 100 at the first pixel, 30 after the third, then (20, 30, 30).
    EXPECT_EQ(
        shownAfter(WhiteCrush, rows({{grey(200), grey(150), grey(30)},
                                     {grey(150), qRgb(20, 40, 60), grey(255)}})),
        rows({{grey(100), grey(50), grey(0)}, {grey(120), qRgb(0, 10, 30), qRgb(235, 225, 225)}}));
    EXPECT_EQ(shownAfter(WhiteCrush, rows({{grey(30), grey(200)}})), rows({{grey(0), grey(170)}}));
    // The minima start again at every click: 100 - 100, not 100 - 30.
    EXPECT_EQ(shownAfter(WhiteCrush, rows({{grey(200), grey(30)}}), 2), rows({{grey(0), grey(0)}}));
    // Any zero channel keeps the pixel whole. Zeros never lower a minimum, but a kept pixel's other
    // channels still do: the 7 of the kept fourth pixel is what the last pixel loses in blue.
    const QImage picture =
        rows({{grey(0), grey(150), qRgb(0, 200, 200), qRgb(200, 0, 7), grey(180)}});
    EXPECT_EQ(shownAfter(WhiteCrush, picture),
              rows({{grey(0), grey(50), qRgb(0, 200, 200), qRgb(200, 0, 7), qRgb(80, 80, 173)}}));
}

TEST(DirectAdjustments, EachAsksForOneRepaintAlsoWithoutPixels) {
    for (Adjustment adjustment : {ColourStretch, WhiteCrush}) {
        for (const QImage& picture : {QImage(), rows({{grey(255)}})}) {
            const auto box = boxShowing(picture);
            int repaints = 0;
            QObject::connect(box.get(), &platform::PictureBoxModel::repaintRequested,
                             [&] { ++repaints; });
            adjustment(*box);
            EXPECT_TRUE(repaints == 1 && box->image().size() == picture.size());
        }
    }
}

}  // namespace
}  // namespace quillon
