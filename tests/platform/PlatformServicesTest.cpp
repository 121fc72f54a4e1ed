// The small services under the engine and the window: the random source, the settings
// store, the private grabbed-frame file, and the screen's depth.
#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "platform/core/Display.h"
#include "platform/core/RandomSource.h"
#include "platform/core/SettingsStore.h"
#include "platform/core/TempFrameFile.h"

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
        EXPECT_TRUE(value == two.draw() && value >= 0.0f && value < 1.0f) << value;
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

TEST(SettingsStoreTest, WithoutHomeSettingsAndCachesStayInTheAccountsHome) {
    const QByteArray home = qgetenv("HOME");
    qunsetenv("HOME");
    readSetting("QuillonTest", "Settings", "MainLeft");
    const passwd* account = getpwuid(geteuid());
    ASSERT_NE(account, nullptr);
    EXPECT_EQ(QDir::homePath(), QDir::cleanPath(QFile::decodeName(account->pw_dir)));
    qputenv("HOME", home);
}

// The frame lives in a private folder of this window's own. A cache folder that is a link,
// or that others may enter, is neither used nor changed.
TEST(GrabbedFrameFileTest, LivesInAPrivateFolderOfTheWindowsOwn) {
    QTemporaryDir scratch;
    const QString open = scratch.filePath("open"), link = scratch.filePath("link");
    ASSERT_TRUE(QDir().mkdir(open) && QFile::setPermissions(open, QFile::Permissions(0x7777)) &&
                QFile::link(open, link));
    for (const QString& untrusted : {open, link}) {
        overrideGrabbedFrameDirectory(untrusted);
        const QString path = grabbedFramePath();
        EXPECT_FALSE(QFileInfo(path).absoluteDir().canonicalPath().startsWith(open))
            << path.toStdString();
        EXPECT_EQ(QFileInfo(open).permissions(), QFile::Permissions(0x7777)) << "left alone";
    }
    const QString cache = scratch.filePath("cache");
    overrideGrabbedFrameDirectory(cache);
    const QString path = grabbedFramePath(), folder = QFileInfo(path).absolutePath();
    EXPECT_TRUE(QFileInfo(folder).absolutePath() == cache && path.endsWith("/xQNtemp.fgr"))
        << path.toStdString();
    EXPECT_EQ((QFileInfo(cache).permissions() | QFileInfo(folder).permissions()) &
                  QFile::Permissions(0x0077),
              QFile::Permissions{});

    // A frame already in the cache folder belongs to another window: never this one's.
    QFile theirs(cache + "/xQNtemp.fgr"), mine(path);
    ASSERT_TRUE(theirs.open(QIODevice::WriteOnly) && mine.open(QIODevice::WriteOnly));
    deleteGrabbedFrame();
    EXPECT_TRUE(!mine.exists() && theirs.exists());
    deleteGrabbedFrame();  // a missing file is not an error
    overrideGrabbedFrameDirectory(QString());
}

TEST(DisplayTest, DepthsAreCountedAsStoredBits) {
    for (auto [depth, bits] : {std::pair{24, 32}, {15, 16}, {16, 16}, {8, 8}})
        EXPECT_EQ(storedBitsForDepth(depth), bits);
}

}  // namespace
}  // namespace quillon::platform
