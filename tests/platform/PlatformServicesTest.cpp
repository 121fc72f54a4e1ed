// The small services under the engine and the window: the random source, the settings
// store, the private grabbed-frame file, and the screen's measures.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "platform/Display.h"
#include "platform/PictureBoxModel.h"
#include "platform/RandomSource.h"
#include "platform/SettingsStore.h"
#include "platform/TempFrameFile.h"

namespace quillon::platform {
namespace {

TEST(RandomSourceTest, NegativeArgumentsAndSeedsGiveRepeatableSequences) {
    RandomSource one, two;
    two.draw();
    two.draw();
    EXPECT_EQ(one.draw(-1.0f), two.draw(-1.0f));
    one.seed(1.0);
    two.seed(1.0);
    for (int i = 0; i < 5; ++i) {
        const float value = one.draw();
        EXPECT_EQ(value, two.draw());
        EXPECT_GE(value, 0.0f);
        EXPECT_LT(value, 1.0f);
    }
    EXPECT_EQ(one.draw(0.0f), two.draw(0.0f)) << "zero repeats the last value";
    EXPECT_NE(one.draw(-1.0f), one.draw(-2.0f));
}

TEST(SettingsStoreTest, WritesTextUnderApplicationAndSection) {
    QStandardPaths::setTestModeEnabled(true);
    saveSetting("QuillonTest", "Settings", "MainLeft", "1230");
    EXPECT_EQ(readSetting("QuillonTest", "Settings", "MainLeft"), "1230");
    QSettings(QSettings::UserScope, "QuillonTest", "QuillonTest").clear();
}

TEST(GrabbedFrameFileTest, LivesInADirectoryOnlyTheUserCanEnter) {
    QTemporaryDir scratch;
    overrideGrabbedFrameDirectory(scratch.path() + "/private");
    const QString path = grabbedFramePath();
    EXPECT_TRUE(path.endsWith("/xQNtemp.fgr"));
    const QFileInfo directory(QFileInfo(path).absolutePath());
    EXPECT_TRUE(directory.isDir());
    EXPECT_EQ(directory.permissions() & (QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                         QFile::ReadOther | QFile::WriteOther | QFile::ExeOther),
              QFile::Permissions{});

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    deleteGrabbedFrame();
    EXPECT_FALSE(QFile::exists(path));
    deleteGrabbedFrame();  // a missing file is not an error
    overrideGrabbedFrameDirectory(QString());
}

TEST(DisplayTest, DepthsAreCountedAsStoredBits) {
    EXPECT_EQ(storedBitsForDepth(24), 32);
    EXPECT_EQ(storedBitsForDepth(15), 16);
    EXPECT_EQ(storedBitsForDepth(16), 16);
    EXPECT_EQ(storedBitsForDepth(8), 8);
    Display::overrideBitsPerPixel(15);
    EXPECT_EQ(Display::bitsPerPixel(), 15) << "tests set the raw value to exercise the depth test";
    Display::overrideBitsPerPixel(0);
}

TEST(PictureBoxModelTest, ShowsBackgroundAndPictureAtTheTopLeft) {
    PictureBoxModel box;
    box.setTwipsPerPixel(15.0, 15.0);
    box.setOuterSizeTwips(5775, 4335);
    EXPECT_EQ(box.image().size(), QSize(385, 289));
    EXPECT_EQ(box.image().pixel(384, 288), 0xFFC0C0C0u);
    QImage picture(2, 2, QImage::Format_RGB32);
    picture.fill(qRgb(1, 2, 3));
    box.setPicture(picture);
    EXPECT_EQ(box.image().pixel(1, 1), qRgb(1, 2, 3));
    EXPECT_EQ(box.image().pixel(2, 2), 0xFFC0C0C0u);
    box.setPicture(QImage());
    EXPECT_EQ(box.image().pixel(1, 1), 0xFFC0C0C0u);
}

}  // namespace
}  // namespace quillon::platform
