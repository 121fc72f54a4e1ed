// Reading pictures whatever their name says, writing Windows bitmaps without ever
// leaving a damaged file, and the filter text of the file dialogs.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/core/FileDialogs.h"
#include "platform/core/PictureFiles.h"
#include "platform/core/PictureFilesWork.h"
#include "tests/engine/EngineTestSupport.h"
#include "tests/engine/HostileFiles.h"

namespace quillon::platform {
namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A one-pixel red GIF: Qt reads GIF but cannot write it.
const QByteArray kRedGif = QByteArray::fromHex(
    "474946383961010001008000 00ff0000000000 21f90400000000 00"
    "2c0000000001000100 00 02024401 00 3b");

class PictureFilesTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir.filePath(name); }
    QTemporaryDir dir;
    const QImage pattern = testing::patternPicture(9, 5);
};

// A 24-bit bitmap that reopens with the same pixels; a failed save leaves an existing file
// whole and no temporary file behind.
TEST_F(PictureFilesTest, SavedBitmapReopensOrTheOldFileStaysWhole) {
    const SavedPicture saved = savePictureAsBitmap(pattern, path("p.bmp"));
    ASSERT_TRUE(saved.ok()) << saved.error().toStdString();
    const QByteArray before = readFile(path("p.bmp"));
    EXPECT_EQ(before.mid(28, 2), QByteArray("\x18\x00", 2));
    const LoadedPicture loaded = loadPicture(path("p.bmp"));
    ASSERT_TRUE(loaded.ok()) << loaded.error().toStdString();
    EXPECT_EQ(loaded.value().convertToFormat(QImage::Format_RGB32), pattern);

    const SavedPicture nothing = savePictureAsBitmap(QImage(), path("p.bmp"));
    EXPECT_FALSE(nothing.ok() || nothing.error().isEmpty());
    EXPECT_EQ(readFile(path("p.bmp")), before);
    EXPECT_FALSE(savePictureAsBitmap(pattern, path("no-such-folder/p.bmp")).ok());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

// The engine's tests load PNG, BMP and files that are no picture at all.
TEST_F(PictureFilesTest, JpegAndGifLoadWhateverTheirNameSays) {
    ASSERT_TRUE(pattern.save(path("photo.bmp"), "JPEG"));
    writeFile(path("red.png"), kRedGif);
    const LoadedPicture jpeg = loadPicture(path("photo.bmp")), gif = loadPicture(path("red.png"));
    ASSERT_TRUE(jpeg.ok() && gif.ok()) << jpeg.error().toStdString() << gif.error().toStdString();
    EXPECT_EQ(jpeg.value().size(), pattern.size());
    EXPECT_EQ(gif.value().pixel(0, 0), qRgb(255, 0, 0));
}

// A 16-bit picture of exactly the limit must fit what the decoders may allocate, and a
// progressive JPEG of exactly the most scans still loads (the file with more is refused
// among the hostile files).
TEST_F(PictureFilesTest, PicturesAtTheLimitsLoad) {
    EXPECT_EQ(decoderAllocationLimitMegabytes(100 * kPixelsPerMegapixel), 763);  // 762.94
    EXPECT_EQ(decoderAllocationLimitMegabytes(kLargestPicturePixels), 977);      // 976.56
    writeFile(path("most.jpg"), testing::jpegOfScans(kMostJpegScans));
    EXPECT_TRUE(loadPicture(path("most.jpg")).ok())
        << loadPicture(path("most.jpg")).error().toStdString();
}

TEST(FileDialogFiltersTest, DescriptionsNameTheirPatternsInTheOrderGiven) {
    EXPECT_EQ(filterListText({{"Grabbed Frames (*.fgr)", "*.fgr"}, {"All Files (*.*)", "*.*"}}),
              "Grabbed Frames (*.fgr);;All Files (*.*)");
    EXPECT_EQ(filterListText({{"Pictures", "*.bmp"}}), "Pictures (*.bmp)");
}

}  // namespace
}  // namespace quillon::platform
