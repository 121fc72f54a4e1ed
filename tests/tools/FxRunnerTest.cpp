#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <sstream>

#include "tools/fx/FxOperations.h"
#include "tools/fx/FxRunner.h"

namespace quillon::fx {
namespace {

// Three pixels of one row: blue, green, red, reserved each.
const QByteArray kThreePixels("\x0a\x14\xfa\x00\x01\x02\x03\x00\xff\xff\xff\x00", 12);

class FxRun : public testing::Test {
protected:
    QString path(const QString& name) const { return directory_.filePath(name); }

    int run(QStringList arguments) {
        out_.str({});
        err_.str({});
        return runFx(arguments, out_, err_);
    }
    std::string errors() const { return err_.str(); }
    std::string printed() const { return out_.str(); }

    void writeFile(const QString& name, const QByteArray& bytes) {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }
    QByteArray readFile(const QString& name) const {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Runs the operations on a 3x1 raw plane and gives back the raw output.
    QByteArray onThreePixels(const QStringList& operations) {
        writeFile("in.raw", kThreePixels);
        const int status =
            run(QStringList{path("in.raw"), path("out.raw"), "--size", "3x1"} + operations);
        EXPECT_EQ(status, kExitSuccess) << errors();
        return readFile("out.raw");
    }

private:
    QTemporaryDir directory_;
    std::ostringstream out_;
    std::ostringstream err_;
};

TEST_F(FxRun, RawPlaneComesBackByteForByteIncludingReservedBytes) {
    const QByteArray withReserved("\x01\x02\x03\x04\x05\x06\x07\x08", 8);
    writeFile("in.raw", withReserved);
    ASSERT_EQ(run({path("in.raw"), path("out.raw"), "--size=1x2"}), kExitSuccess) << errors();
    EXPECT_EQ(readFile("out.raw"), withReserved);
    EXPECT_EQ(errors(), "");
}

TEST_F(FxRun, RedStepSaturatesAtWhite) {
    EXPECT_EQ(onThreePixels({"incpal:0,8"}),
              QByteArray("\x0a\x14\xff\x00\x01\x02\x0b\x00\xff\xff\xff\x00", 12));
}

TEST_F(FxRun, NegativeInvertsTheReservedByteToo) {
    EXPECT_EQ(onThreePixels({"pal:11"}),
              QByteArray("\xf5\xeb\x05\xff\xfe\xfd\xfc\xff\x00\x00\x00\xff", 12));
}

TEST_F(FxRun, UndoAfterAutodrawOffReturnsToTheStateWhenSwitchedOff) {
    const QByteArray stepped = onThreePixels({"incpal:1,5"});
    EXPECT_EQ(onThreePixels({"incpal:1,5", "autodraw:0", "incpal:0,50", "pal:11", "undo"}),
              stepped);
    EXPECT_NE(onThreePixels({"incpal:1,5", "autodraw:0", "incpal:0,50", "pal:11"}), stepped);
}

TEST_F(FxRun, ResetAndUndoReturnToTheInput) {
    EXPECT_EQ(onThreePixels({"incpal:0,8", "pal:11", "reset"}), kThreePixels);
    EXPECT_EQ(onThreePixels({"pal:11", "undonodraw"}), kThreePixels);
    EXPECT_EQ(onThreePixels({"reset", "undo", "drawnow"}), kThreePixels);
}

TEST_F(FxRun, BackgroundParsesButPaletteEffectsIgnoreIt) {
    const QByteArray usual = onThreePixels({"pal:11", "incpal:2,3"});
    EXPECT_EQ(onThreePixels({"--background=0x123456", "pal:11", "incpal:2,3", "--background", "0"}),
              usual);
    EXPECT_EQ(onThreePixels({"pal:11,1,0xFFFFFFFF", "incpal:2,3"}), usual);
}

TEST_F(FxRun, PictureOperationsReachTheEngine) {
    // Horizontal smoothing halves the neighbours of the middle pixel, all four bytes.
    EXPECT_EQ(onThreePixels({"pix:0,1"}),
              QByteArray("\x0a\x14\xfa\x00\x84\x89\xfc\x00\xff\xff\xff\x00", 12));
    EXPECT_EQ(onThreePixels({"magnify:1,0.5,0.5"}), kThreePixels);
    EXPECT_EQ(onThreePixels({"incpal:0,8", "rotate:360"}), kThreePixels) << "turns the original";
    EXPECT_EQ(onThreePixels({"colorx:5,0x123456"}), kThreePixels) << "no pixel of colour X";
}

// What the engine's arithmetic would overflow on is refused with the other arguments,
// before the input is read; the largest values that fit get as far as reading it.
TEST_F(FxRun, WhatTheEngineWouldOverflowOnIsRefusedBeforeReading) {
    const QString missing = path("missing.png"), output = path("out.png");
    for (const char* operation : {"rotate:32408", "magnify:214748368", "magnify:-3.4e38",
                                  "colorx:0,0,1639", "colorx:0,0,-1639"}) {
        EXPECT_EQ(run({missing, output, operation}), kExitFailure) << operation;
        EXPECT_NE(errors().find("out of range"), std::string::npos) << errors();
    }
    EXPECT_EQ(run({missing, output, "rotate:32407", "magnify:-214748352", "colorx:0,0,-1638",
                   "colorx:4,0,32767"}),
              kExitFailure);
    EXPECT_NE(errors().find("cannot read"), std::string::npos) << errors();
}

QImage distinctPixels() {
    QImage picture(4, 3, QImage::Format_RGB32);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) picture.setPixel(x, y, qRgb(60 * x, 80 * y, 7 + x * y));
    }
    return picture;
}

TEST_F(FxRun, PngToBmpKeepsEveryPixel) {
    ASSERT_TRUE(distinctPixels().save(path("in.png")));
    ASSERT_EQ(run({path("in.png"), path("out.bmp")}), kExitSuccess) << errors();
    const QImage written(path("out.bmp"));
    EXPECT_EQ(written.convertToFormat(QImage::Format_RGB32), distinctPixels());
}

TEST_F(FxRun, PictureFilesAreReadByContentNotEnding) {
    ASSERT_TRUE(distinctPixels().save(path("in.jpg"), "PNG"));
    ASSERT_EQ(run({path("in.jpg"), path("out.png")}), kExitSuccess) << errors();
    EXPECT_EQ(QImage(path("out.png")).convertToFormat(QImage::Format_RGB32), distinctPixels());
}

TEST_F(FxRun, SharpenStretchAndCrushChangeThePictureShownOnly) {
    QImage picture(3, 3, QImage::Format_RGB32);
    picture.fill(qRgb(100, 100, 100));
    picture.setPixel(1, 1, qRgb(130, 255, 200));
    ASSERT_TRUE(picture.save(path("in.png")));
    const auto shownAfter = [&](const char* operation) {
        EXPECT_EQ(run({path("in.png"), path("out.png"), operation}), kExitSuccess) << errors();
        return QImage(path("out.png")).pixel(1, 1);
    };
    // Red (26 x 130 - 2 x 800) / 10 = 178; green and blue leave the byte range.
    EXPECT_EQ(shownAfter("sharpen"), qRgb(178, 255, 255));
    EXPECT_EQ(shownAfter("stretch"), qRgb(130, 204, 200)) << "255 - 51";
    EXPECT_EQ(shownAfter("crush"), qRgb(30, 155, 100)) << "less the grey 100 seen first";
    // The engine's working plane does not see them.
    ASSERT_EQ(run({path("in.png"), path("plain.raw")}), kExitSuccess) << errors();
    ASSERT_EQ(run({path("in.png"), path("out.raw"), "sharpen", "stretch", "crush"}), kExitSuccess);
    EXPECT_EQ(readFile("out.raw"), readFile("plain.raw"));
}

TEST_F(FxRun, RawRowsRunBottomUpInThePictureShown) {
    // Two rows: the first four bytes are the bottom pixel.
    writeFile("in.raw", QByteArray("\x00\x00\xff\x00\xff\x00\x00\x00", 8));
    ASSERT_EQ(run({path("in.raw"), path("out.png"), "--size", "1x2"}), kExitSuccess) << errors();
    const QImage shown(path("out.png"));
    EXPECT_EQ(shown.pixel(0, 1), qRgb(255, 0, 0));
    EXPECT_EQ(shown.pixel(0, 0), qRgb(0, 0, 255));
}

TEST_F(FxRun, PictureOutputIsWhatTheBoxShowsNotTheWorkingPlane) {
    // Taking back the step without drawing leaves the stepped picture on show.
    writeFile("in.raw", kThreePixels);
    const QStringList steps{"--size=3x1", "incpal:0,8", "undonodraw"};
    ASSERT_EQ(run(QStringList{path("in.raw"), path("out.png")} + steps), kExitSuccess);
    ASSERT_EQ(run(QStringList{path("in.raw"), path("out.raw")} + steps), kExitSuccess);
    EXPECT_EQ(QImage(path("out.png")).pixel(1, 0), qRgb(0x0b, 0x02, 0x01));
    EXPECT_EQ(readFile("out.raw"), kThreePixels);
}

TEST_F(FxRun, TransparentPicturePartsShowTheBackground) {
    QImage picture(2, 1, QImage::Format_ARGB32);
    picture.setPixel(0, 0, qRgba(0, 0, 0, 0));
    picture.setPixel(1, 0, qRgb(9, 8, 7));
    ASSERT_TRUE(picture.save(path("in.png")));
    ASSERT_EQ(run({path("in.png"), path("out.raw"), "--background", "0x123456"}), kExitSuccess)
        << errors();
    EXPECT_EQ(readFile("out.raw"), QByteArray("\x12\x34\x56\x00\x07\x08\x09\x00", 8));
}

TEST_F(FxRun, HelpListsEveryOperationWithItsDefaultsAndExamples) {
    EXPECT_EQ(run({"--help"}), kExitSuccess);
    const std::string help = printed();
    EXPECT_EQ(help.rfind("usage: quillon-fx INPUT OUTPUT", 0), 0u);
    for (const OperationEntry& operation : operationTable()) {
        EXPECT_NE(help.find(std::string("\n  ") + operation.name), std::string::npos)
            << operation.name;
    }
    for (const char* text : {"incpal:op code[,amount]", "pal:op code[,amount[,colour]]",
                             "amount: -32768..32767; default 1", "--max-megapixels N", "--version",
                             "xargs -0 -P \"$(nproc)\"", "Exit status 0"}) {
        EXPECT_NE(help.find(text), std::string::npos) << text;
    }
    EXPECT_EQ(errors(), "");
}

// A picture header that announces 24000 x 24000 pixels (2.3 GB a plane) and holds three bytes.
const QByteArray kHugePixmap("P6\n24000 24000\n255\n\x01\x02\x03");

struct FailingRun {
    QStringList arguments;  // "IN" and "OUT" stand for files in the test's directory
    const char* message;
};

TEST_F(FxRun, EveryFailureIsOneLineExitTwoAndLeavesTheOutputAlone) {
    writeFile("in.raw", kThreePixels);
    writeFile("text.png", "this is not a picture\n");
    writeFile("huge.ppm", kHugePixmap);
    const FailingRun cases[] = {
        {{"in.raw", "OUT.raw", "--size=3x1", "blur"}, "unknown operation 'blur'"},
        {{"in.raw", "OUT.raw", "--size=3x1", "pal"}, "pal: op code is missing"},
        {{"in.raw", "OUT.raw", "--size=3x1", "pal:11,40000"}, "pal: amount 40000 is out of range"},
        {{"in.raw", "OUT.raw", "--size=3x1", "pal:0xZZ"}, "pal: op code '0xZZ' is not a number"},
        {{"in.raw", "OUT.raw", "--size=3x1", "incpal:1,2,3"}, "incpal: too many arguments"},
        {{"in.raw", "OUT.raw"}, "a .raw input needs its size"},
        {{"in.raw", "OUT.raw", "--size=2x1"}, "holds 12 bytes, but a 2x1 plane is exactly 8"},
        {{"in.raw", "OUT.raw", "--size=4x1"}, "holds 12 bytes, but a 4x1 plane is exactly 16"},
        {{"missing.png", "OUT.png"}, "cannot read"},
        {{"missing.raw", "OUT.raw", "--size=1x1"}, "cannot read"},
        {{"text.png", "OUT.png"}, "cannot read"},
        {{"huge.ppm", "OUT.bmp"}, "24000x24000 is too large"},
        {{"in.raw", "OUT.raw", "--size=3x1", "--frob"},
         "unknown option '--frob'; quillon-fx --help"},
        {{"in.raw", "OUT.xyz", "--size=3x1"}, "cannot write pictures of format 'xyz'"},
    };
    for (const FailingRun& failing : cases) {
        writeFile("OUT.raw", "old");
        QStringList arguments;
        for (const QString& argument : failing.arguments) {
            arguments << (argument.contains('.') ? path(argument) : argument);
        }
        const std::string context = failing.arguments.join(' ').toStdString();
        EXPECT_EQ(run(arguments), kExitFailure) << context;
        const std::string message = errors();
        EXPECT_EQ(message.rfind("quillon-fx: ", 0), 0u) << context << ": " << message;
        EXPECT_NE(message.find(failing.message), std::string::npos) << context << ": " << message;
        EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;
        EXPECT_EQ(readFile("OUT.raw"), "old") << context;
        EXPECT_FALSE(QFile::exists(path("OUT.png")) || QFile::exists(path("OUT.bmp"))) << context;
    }
}

TEST_F(FxRun, OutputIntoAMissingDirectoryFailsAfterTheWork) {
    writeFile("in.raw", kThreePixels);
    EXPECT_EQ(run({path("in.raw"), path("nowhere/out.raw"), "--size=3x1", "pal:11"}), kExitFailure);
    EXPECT_NE(errors().find("cannot write"), std::string::npos) << errors();
    EXPECT_FALSE(QFile::exists(path("nowhere")));
}

}  // namespace
}  // namespace quillon::fx
