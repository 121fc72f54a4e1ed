#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <sstream>

#include "tools/fx/FxMemory.h"
#include "tools/fx/FxOperations.h"
#include "tools/fx/FxRunner.h"

namespace quillon::fx {
namespace {

// Three pixels of one row: blue, green, red, reserved each.
const QByteArray kThreePixels("\x0a\x14\xfa\x00\x01\x02\x03\x00\xff\xff\xff\x00", 12);

class FxRun : public testing::Test {
protected:
    QString path(const QString& name) const { return directory_.filePath(name); }

    // Runs in-process; "IN", "OUT" and names with an ending stand for files here.
    int run(const QStringList& arguments) {
        QStringList paths;
        for (const QString& argument : arguments)
            paths << (argument.contains('.') && !argument.contains(':') ? path(argument)
                                                                        : argument);
        std::ostringstream out, err;
        const int status = runFx(paths, out, err);
        printed_ = out.str();
        errors_ = err.str();
        return status;
    }
    QString write(const QString& name, const QByteArray& bytes) {
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        return file.fileName();
    }
    QByteArray read(const QString& name) const {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // The operations on the 3x1 raw plane above; the raw output.
    QByteArray onThreePixels(const QStringList& operations) {
        write("in.raw", kThreePixels);
        EXPECT_EQ(run(QStringList{"in.raw", "out.raw", "--size", "3x1"} + operations), kExitSuccess)
            << errors_;
        return read("out.raw");
    }

    QTemporaryDir directory_;
    std::string printed_, errors_;
};

TEST_F(FxRun, OperationsReachTheEngineAndUndoReturns) {
    const std::pair<QStringList, QByteArray> cases[] = {
        {{}, kThreePixels},
        {{"pal:11"}, QByteArray("\xf5\xeb\x05\xff\xfe\xfd\xfc\xff\x00\x00\x00\xff", 12)},
        {{"pix:0,1"}, QByteArray("\x0a\x14\xfa\x00\x84\x89\xfc\x00\xff\xff\xff\x00", 12)},
        {{"incpal:1,5", "autodraw:0", "incpal:0,50", "pal:11", "undo"},
         onThreePixels({"incpal:1,5"})},
        {{"incpal:0,8", "pal:11", "reset"}, kThreePixels},
        {{"pal:11", "undonodraw"}, kThreePixels},
        {{"incpal:0,8", "rotate:360"}, kThreePixels},                // turns the original
        {{"magnify:1,0.5,0.5", "colorx:5,0x123456"}, kThreePixels},  // no pixel of colour X
    };
    for (const auto& [operations, bytes] : cases)
        EXPECT_EQ(onThreePixels(operations), bytes) << operations.join(' ').toStdString();
}

// The file written is what the box shows; its raw rows run bottom-up, transparency shows
// the background, and the editor's adjustments leave the working plane alone.
TEST_F(FxRun, PictureFilesHoldWhatTheBoxShows) {
    write("in.raw", QByteArray("\x00\x00\xff\x00\xff\x00\x00\x00", 8));
    ASSERT_EQ(run({"in.raw", "out.png", "--size", "1x2", "incpal:0,8", "undonodraw"}), 0);
    EXPECT_EQ(QImage(path("out.png")).pixel(0, 0), qRgb(8, 0, 255));
    EXPECT_EQ(QImage(path("out.png")).pixel(0, 1), qRgb(255, 0, 0));

    QImage clear(1, 1, QImage::Format_ARGB32);
    clear.fill(Qt::transparent);
    ASSERT_TRUE(clear.save(path("clear.png")));
    ASSERT_EQ(run({"clear.png", "out.bmp", "--background=0x123456"}), 0);
    EXPECT_EQ(QImage(path("out.bmp")).pixel(0, 0), qRgb(0x56, 0x34, 0x12));

    QImage picture(3, 3, QImage::Format_RGB32);
    picture.fill(qRgb(100, 100, 100));
    picture.setPixel(1, 1, qRgb(130, 255, 200));
    ASSERT_TRUE(picture.save(path("in.jpg"), "PNG"));  // read by content, not ending
    // Sharpened red (26 x 130 - 2 x 800) / 10 = 178, green and blue out of the byte range;
    // stretched green 255 - 51; crushed less the grey 100 seen first.
    for (auto [operation, shown] : {std::pair{"sharpen", qRgb(178, 255, 255)},
                                    {"stretch", qRgb(130, 204, 200)},
                                    {"crush", qRgb(30, 155, 100)}}) {
        EXPECT_EQ(run({"in.jpg", "out.bmp", operation}), 0) << errors_;
        EXPECT_EQ(QImage(path("out.bmp")).pixel(1, 1), shown) << operation;
    }
    ASSERT_EQ(run({"in.jpg", "plain.raw"}), 0);
    ASSERT_EQ(run({"in.jpg", "out.raw", "sharpen", "stretch", "crush"}), 0);
    EXPECT_EQ(read("out.raw"), read("plain.raw"));
}

TEST_F(FxRun, EveryFailureIsOneLineExitTwoAndLeavesTheOutputAlone) {
    write("in.raw", kThreePixels);
    write("huge.ppm", "P6\n24000 24000\n255\n\x01\x02\x03");
    const std::pair<QStringList, const char*> cases[] = {
        {{"in.raw", "OUT.raw", "--size=2x1"}, "holds 12 bytes, but a 2x1 plane is exactly 8"},
        {{"in.raw", "OUT.raw", "--size=4x1"}, "holds 12 bytes, but a 4x1 plane is exactly 16"},
        {{"missing.png", "OUT.png"}, "cannot read"},
        {{"huge.ppm", "OUT.bmp"}, "24000x24000 is too large"},
        {{"in.raw", "no/OUT.raw", "--size=3x1", "pal:11"}, "cannot write"},
        // What the engine would overflow on is refused before the input is read.
        {{"missing.png", "OUT.png", "colorx:0,0,1639"}, "out of range"},
        {{"missing.png", "OUT.png", "colorx:0,0,-1638", "colorx:4,0,32767"}, "cannot read"},
    };
    for (const auto& [arguments, message] : cases) {
        write("OUT.raw", "old");
        const std::string context = arguments.join(' ').toStdString();
        EXPECT_EQ(run(arguments), 2) << context;
        EXPECT_EQ(errors_.rfind("quillon-fx: ", 0), 0u) << context << ": " << errors_;
        EXPECT_NE(errors_.find(message), std::string::npos) << context << ": " << errors_;
        EXPECT_EQ(std::count(errors_.begin(), errors_.end(), '\n'), 1) << errors_;
        EXPECT_EQ(read("OUT.raw"), "old") << context;
        EXPECT_FALSE(QFile::exists(path("OUT.png")) || QFile::exists(path("OUT.bmp"))) << context;
    }
}

TEST_F(FxRun, HelpListsEveryOperationWithItsDefaults) {
    EXPECT_EQ(run({"--help"}), kExitSuccess);
    for (const OperationEntry& operation : operationTable())
        EXPECT_NE(printed_.find(std::string("\n  ") + operation.name), std::string::npos);
    for (const char* text : {"usage: quillon-fx INPUT OUTPUT", "pal:op code[,amount[,colour]]",
                             "amount: -32768..32767; default 1", "--max-megapixels N"})
        EXPECT_NE(printed_.find(text), std::string::npos) << text;
    EXPECT_EQ(errors_, "");
}

// Outputs that are not regular files are written in place, as cp writes them, never
// replaced: a FIFO, directly or through a link, gets the plane; a full device refuses it.
TEST_F(FxRun, OutputsThatAreNotFilesAreWrittenInPlace) {
    write("in.raw", QByteArray(12, '\x2a'));
    const QByteArray fifo = QFile::encodeName(path("pipe.raw"));
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(path("pipe.raw"), path("link.raw")));
    for (const char* output : {"pipe.raw", "link.raw"}) {
        const int reader = ::open(fifo.constData(), O_RDONLY | O_NONBLOCK);
        EXPECT_EQ(run({"in.raw", output, "--size=3x1"}), kExitSuccess) << errors_;
        char plane[64];
        EXPECT_EQ(::read(reader, plane, sizeof plane), 12) << output;
        ::close(reader);
    }
    struct stat status {};
    EXPECT_TRUE(::lstat(fifo.constData(), &status) == 0 && S_ISFIFO(status.st_mode));
    ASSERT_TRUE(QFile::link("/dev/full", path("full.raw")));
    EXPECT_EQ(run({"in.raw", "full.raw", "--size=3x1"}), kExitFailure);
    EXPECT_NE(errors_.find("No space left on device"), std::string::npos) << errors_;
}

// The real tool: a disk that fills during the save (the largest file it may write, 8 KiB)
// keeps the old output, whether a write runs short or only the last flush fails; and
// whatever fails, even in libpng, which prints its own errors, it says in one line.
TEST_F(FxRun, TheRealToolKeepsOldOutputAndSaysOneLine) {
    write("big.raw", QByteArray(4 * 100 * 100, '\x55'));
    write("small.raw", QByteArray(4 * 60 * 50, '\x55'));
    write("wide.raw", QByteArray(4 * 1000001, '\0'));  // libpng writes no PNG this wide
    const QStringList limited{"-c", "trap '' XFSZ; ulimit -f 16 && exec \"$0\" \"$@\"",
                              QUILLON_FX_BINARY};
    const std::pair<QStringList, const char*> runs[] = {
        {limited + QStringList{path("big.raw"), write("old.raw", "old"), "--size=100x100"},
         "File too large"},
        {limited + QStringList{path("small.raw"), write("old.bmp", "old"), "--size=60x50"},
         "File too large"},
        {{"-c", "exec \"$@\"", "sh", QUILLON_FX_BINARY, path("wide.raw"), path("OUT.png"),
          "--size=1000001x1"},
         "quillon-fx: "},
        {{"-c", "exec \"$@\"", "sh", QUILLON_FX_BINARY, path("two\nlines.png"), path("OUT.png")},
         "two\\nlines"},
    };
    for (const auto& [arguments, message] : runs) {
        QProcess tool;
        tool.start("sh", arguments);
        ASSERT_TRUE(tool.waitForFinished(60000));
        const QByteArray errors = tool.readAllStandardError();
        EXPECT_EQ(tool.exitCode(), kExitFailure) << errors.toStdString();
        EXPECT_TRUE(errors.contains(message) && errors.count('\n') == 1) << errors.toStdString();
        EXPECT_EQ(read("old.raw") + read("old.bmp"), "oldold");
        EXPECT_FALSE(QFile::exists(path("OUT.png")));
    }
}

TEST(FxMemory, APictureNeedsAboutTwentyFourBytesAPixel) {
    const PictureSize size{1000, 1000};
    EXPECT_TRUE(checkMemoryFor(size, std::nullopt, "in").ok()) << "nothing known, nothing refused";
    EXPECT_TRUE(checkMemoryFor(size, 24000000, "in").ok());
    EXPECT_EQ(checkMemoryFor(size, 10 << 20, "input 'x.png'").error(),
              "input 'x.png': not enough memory for a 1000x1000 picture (it "
              "needs about 23 MiB, 10 MiB are available)");
}

}  // namespace
}  // namespace quillon::fx
