// quillon-fx over files it cannot or should not read, and over pictures too large for
// its limit or for the memory it may take: one line, status 2, no output; or, for a
// damaged picture its decoder still reads, an ordinary run.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <sstream>

#include "tests/engine/HostileFiles.h"
#include "tools/fx/FxMemory.h"
#include "tools/fx/FxRunner.h"

namespace quillon::fx {
namespace {

class FxHostileInput : public ::testing::Test {
protected:
    QString write(const QString& name, const QByteArray& bytes) {
        QFile file(directory_.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }
    QString output() const { return directory_.filePath(QStringLiteral("out.png")); }

    // Runs the tool; on failure checks the one line and that nothing was written.
    int run(const QStringList& arguments) {
        std::ostringstream out, err;
        QFile::remove(output());
        const int status = runFx(arguments, out, err);
        message_ = err.str();
        if (status != kExitSuccess) {
            EXPECT_EQ(message_.rfind("quillon-fx: ", 0), 0u) << message_;
            EXPECT_EQ(std::count(message_.begin(), message_.end(), '\n'), 1) << message_;
            EXPECT_FALSE(QFile::exists(output())) << message_;
        }
        return status;
    }
    bool said(const char* text) const { return message_.find(text) != std::string::npos; }

    QTemporaryDir directory_;
    std::string message_;
};

TEST_F(FxHostileInput, DamagedPicturesFailInOneLineOrRunAsUsual) {
    for (const testing::HostileFile& damaged : testing::damagedPictures()) {
        const bool checked = damaged.name.startsWith(u"PNG") || damaged.name.startsWith(u"GIF");
        const int status = run({write(QStringLiteral("in"), damaged.bytes), output(), "pal:11"});
        EXPECT_EQ(status, checked ? kExitFailure : kExitSuccess) << damaged.name.toStdString();
        if (checked) {
            EXPECT_TRUE(said("cannot read")) << message_;
        }
    }
}

TEST_F(FxHostileInput, NothingToReadFailsInOneLine) {
    ASSERT_TRUE(QDir(directory_.path()).mkdir(QStringLiteral("folder.png")));
    const QString cases[] = {write(QStringLiteral("empty.png"), {}),
                             directory_.filePath(QStringLiteral("folder.png")),
                             directory_.filePath(QStringLiteral("missing.png")),
                             write("huge.bmp", testing::bitmapHeaderClaiming(100000, 100000))};
    for (const QString& input : cases) {
        EXPECT_EQ(run({input, output()}), kExitFailure) << input.toStdString();
        EXPECT_TRUE(said("cannot read")) << message_;
    }
}

TEST_F(FxHostileInput, OnePixelRunsLikeAnyPicture) {
    ASSERT_EQ(run({write("pixel.png", testing::onePixelPicture()), output(), "pal:11", "sharpen",
                   "magnify:3", "rotate:45,1,0"}),
              kExitSuccess)
        << message_;
    EXPECT_EQ(QImage(output()).size(), QSize(1, 1));
}

TEST_F(FxHostileInput, PicturesBeyondTheLimitNameTheOptionThatRaisesIt) {
    const QString huge = write("huge.ppm", "P6\n12000 10000\n255\n\x01\x02\x03");
    EXPECT_EQ(run({huge, output()}), kExitFailure);
    EXPECT_TRUE(said("12000x10000 is too large: 120.0 megapixels")) << message_;
    EXPECT_TRUE(said("--max-megapixels")) << message_;
    EXPECT_EQ(run({huge, output(), "--max-megapixels=121"}), kExitFailure);
    EXPECT_FALSE(said("too large")) << "read, but its pixels are missing: " << message_;
}

bool isFifo(const QString& path) {
    struct stat status {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 && S_ISFIFO(status.st_mode);
}

// A full device of the test's own where one may be made (as root), so that nothing of the
// system's is at stake; otherwise a link to the system's, which an ordinary user cannot
// replace.
QString fullDevice(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    if (::mknod(name.constData(), S_IFCHR | 0600, makedev(1, 7)) != 0) {
        EXPECT_EQ(::symlink("/dev/full", name.constData()), 0);
    }
    return path;
}

// Outputs that are not regular files are written in place, as cp writes them, never
// replaced: a FIFO, directly or through a link, gets the plane; a full device refuses it.
TEST_F(FxHostileInput, OutputsThatAreNotFilesAreWrittenInPlace) {
    const QString input = write(QStringLiteral("in.raw"), QByteArray(12, '\x2a'));
    const QString fifo = directory_.filePath(QStringLiteral("pipe.raw"));
    const QString link = directory_.filePath(QStringLiteral("link.raw"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(fifo, link));
    for (const QString& output : {fifo, link}) {
        const int reader = ::open(QFile::encodeName(fifo).constData(), O_RDONLY | O_NONBLOCK);
        EXPECT_EQ(run({input, output, "--size=3x1"}), kExitSuccess) << message_;
        char plane[64];
        EXPECT_EQ(::read(reader, plane, sizeof plane), 12) << output.toStdString();
        ::close(reader);
        EXPECT_TRUE(isFifo(fifo)) << output.toStdString();
    }
    const QString full = fullDevice(directory_.filePath(QStringLiteral("full.raw")));
    EXPECT_EQ(run({input, full, "--size=3x1"}), kExitFailure);
    EXPECT_TRUE(said("No space left on device")) << message_;
    EXPECT_FALSE(QFileInfo(full).isFile());
}

// A disk that fills up during the save (here: the largest file the process may write,
// 8 KiB) gives the system's reason, and the old output stays as it was: whether a write
// runs short, or (a 9 KB bitmap, all of it buffered) only the last flush fails.
TEST_F(FxHostileInput, AFullDiskNamesTheReasonAndKeepsTheOldOutput) {
    const QString big = write("big.raw", QByteArray(4 * 100 * 100, '\x55'));
    const QString small = write("small.raw", QByteArray(4 * 60 * 50, '\x55'));
    const QStringList runs[] = {{big, write("old.raw", "old"), "--size=100x100"},
                                {small, write("old.bmp", "old"), "--size=60x50"}};
    for (const QStringList& arguments : runs) {
        QProcess tool;
        tool.start("sh", QStringList{"-c", "trap '' XFSZ; ulimit -f 16 && exec \"$0\" \"$@\"",
                                     QUILLON_FX_BINARY} +
                             arguments);
        ASSERT_TRUE(tool.waitForFinished(60000));
        const QByteArray errors = tool.readAllStandardError();
        EXPECT_EQ(tool.exitCode(), kExitFailure) << errors.toStdString();
        EXPECT_TRUE(errors.contains("File too large") && errors.count('\n') == 1)
            << errors.toStdString();
        QFile kept(arguments[1]);
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
        EXPECT_EQ(kept.readAll(), "old") << arguments[1].toStdString();
    }
}

// Whatever fails, and wherever (libpng prints its own errors, names and arguments may hold
// line breaks), the real tool prints exactly one line.
TEST_F(FxHostileInput, EveryFailureOfTheRealToolIsOneLine) {
    std::vector<QStringList> runs;
    for (const testing::HostileFile& png : testing::pngsWithValidChecksums())
        runs.push_back({write(png.name, png.bytes), output()});
    runs.push_back({write("bomb.jpg", testing::jpegOfScans(600)), output()});
    runs.push_back({directory_.filePath("two\nlines.png"), output()});
    runs.push_back({write("in.png", testing::onePixelPicture()), output(), "pal:1\n2"});
    // libpng writes no PNG wider than a million pixels.
    runs.push_back(
        {write("wide.raw", QByteArray(4 * 1000001, '\0')), output(), "--size=1000001x1"});
    for (const QStringList& arguments : runs) {
        QProcess tool;
        tool.start(QUILLON_FX_BINARY, arguments);
        ASSERT_TRUE(tool.waitForFinished(60000));
        const QByteArray errors = tool.readAllStandardError();
        EXPECT_EQ(tool.exitCode(), kExitFailure) << arguments[0].toStdString();
        EXPECT_TRUE(errors.startsWith("quillon-fx: ")) << errors.toStdString();
        EXPECT_EQ(errors.count('\n'), 1) << errors.toStdString();
        EXPECT_FALSE(QFile::exists(output())) << errors.toStdString();
    }
}

TEST(FxMemory, APictureNeedsAboutTwentyFourBytesAPixel) {
    const PictureSize size{1000, 1000};
    EXPECT_TRUE(checkMemoryFor(size, std::nullopt, "in").ok()) << "nothing known, nothing refused";
    EXPECT_TRUE(checkMemoryFor(size, 24000000, "in").ok());
    const Status refused = checkMemoryFor(size, 10 << 20, "input 'x.png'");
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.error(),
              "input 'x.png': not enough memory for a 1000x1000 picture (it "
              "needs about 23 MiB, 10 MiB are available)");
    EXPECT_GT(availableMemoryBytes().value_or(1), 0);
}

// The real tool with its data limited so that the picture decodes but the engine's
// three planes (432 MB) cannot be had: a clear line instead of a crash.
TEST_F(FxHostileInput, PlanesThatCannotBeAllocatedFailInOneLine) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer reserves more address space than the limit allows";
#endif
    QImage grey(6000, 6000, QImage::Format_Grayscale8);
    grey.fill(128);
    const QString input = directory_.filePath(QStringLiteral("big.png"));
    ASSERT_TRUE(grey.save(input));
    QProcess tool;
    tool.start("sh", {"-c", "ulimit -d 550000 && exec \"$0\" \"$@\"", QUILLON_FX_BINARY, input,
                      output(), "pal:11"});
    ASSERT_TRUE(tool.waitForFinished(60000));
    const QByteArray errors = tool.readAllStandardError();
    EXPECT_EQ(tool.exitCode(), kExitFailure) << errors.toStdString();
    EXPECT_TRUE(errors.startsWith("quillon-fx: the engine could not take the 6000x6000 picture"))
        << errors.toStdString();
    EXPECT_EQ(errors.count('\n'), 1) << errors.toStdString();
    EXPECT_FALSE(QFile::exists(output()));
}

}  // namespace
}  // namespace quillon::fx
