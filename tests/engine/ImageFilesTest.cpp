// Loading a picture into the bound box (by name or through the open dialog), saving what
// the box shows, and the colour chooser's custom colours.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include "platform/core/Display.h"
#include "platform/core/FileDialogs.h"
#include "platform/core/PictureFiles.h"
#include "platform/core/PictureFilesWork.h"
#include "tests/engine/EngineTestSupport.h"
#include "tests/engine/HostileFiles.h"
#include "tests/support/RecordingMessages.h"
#include "tests/support/ScriptedFileDialogs.h"

namespace quillon {
namespace {

using platform::DialogRequest;
using platform::MessageIcon;
using platform::ShownMessage;
using testing::planeWords;
using testing::shownWords;

const QString kWindow = QStringLiteral("Quillon");

std::int64_t peakResidentKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Decoders' complaints end up in the failure's text, not on the console.
std::vector<QString> warnings;
void recordWarning(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtWarningMsg) warnings.push_back(text);
}

// Everything a failed operation must leave alone.
struct EngineState {
    std::vector<std::uint32_t> planes[3];
    QImage shown;
    QImage picture;
    std::int32_t width, height;
    bool operator==(const EngineState&) const = default;
};

class ImageFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        box = testing::makeBox(8, 6, testing::patternPicture(8, 6));
        engine.setHost(&window);
        engine.setPictureBox(*box);
    }
    QString path(const QString& name) const { return dir.filePath(name); }
    void writeText(const QString& name, const QByteArray& text) {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    EngineState state() const {
        return {{planeWords(engine, 1), planeWords(engine, 2), planeWords(engine, 3)},
                box->image(),
                box->picture(),
                engine.record().width,
                engine.record().height};
    }
    // The new picture as the box shows it: at the top-left over the background, clipped.
    std::vector<std::uint32_t> shownOnBox(const QImage& picture) {
        auto expected = testing::makeBox(engine.record().width, engine.record().height, picture);
        return shownWords(*expected);
    }

    testing::EngineFixtureEnvironment env;
    platform::ScopedScriptedFileDialogs dialogs;
    QTemporaryDir dir;
    testing::RecordingWindow window;
    clsASMpic engine;
    std::unique_ptr<platform::PictureBoxModel> box;
    const QImage newPicture = testing::patternPicture(7, 4).mirrored(true, false);
};

// A given file loads without a dialog and without a name beside it, one chosen in the
// dialog with its name; a cancelled dialog changes nothing.
TEST_F(ImageFilesTest, AFileLoadsIntoAllThreePlanesGivenOrChosen) {
    ASSERT_TRUE(newPicture.save(path("frame.fgr"), "PNG"));  // the name says nothing
    ASSERT_TRUE(newPicture.mirrored().save(path("chosen.bmp"), "BMP"));
    box->setOuterSizePixels(10, 7);
    engine.ASM_PalEffects(11);
    window = {};
    engine.openPictureFile(path("frame.fgr"));
    EXPECT_TRUE(dialogs->asked().empty());
    EXPECT_EQ(std::pair(engine.record().width, engine.record().height), std::pair(10, 7));
    const auto expected = shownOnBox(newPicture);
    for (int plane = 1; plane <= 3; ++plane) EXPECT_EQ(planeWords(engine, plane), expected);
    EXPECT_EQ(shownWords(*box), expected);
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(window.busy, (std::vector<bool>{true, false}));
    EXPECT_EQ(window.repaints, 1);

    dialogs->answerFileName(path("chosen.bmp"));
    dialogs->answerCancel();
    engine.dialogShowOpen();
    EXPECT_EQ(planeWords(engine, 2), shownOnBox(newPicture.mirrored()));
    const EngineState loaded = state();
    engine.dialogShowOpen("Pick one");
    EXPECT_EQ(state(), loaded);
    EXPECT_EQ(window.labels, (std::vector<QString>{QString(), path("chosen.bmp")}));
    EXPECT_TRUE(env.messages.shown().empty());
    ASSERT_EQ(dialogs->asked().size(), 2u);
    EXPECT_EQ(dialogs->asked()[0].title, "Load a Quillon Grabbed Frame");
    EXPECT_EQ(dialogs->asked()[1].title, "Pick one");
    const std::vector<platform::FileFilter>& filters = dialogs->asked()[0].filters;
    ASSERT_EQ(filters.size(), 3u);
    EXPECT_EQ(filters[0], (platform::FileFilter{"Grabbed Frames (*.fgr)", "*.fgr"}));
    for (const char* readable : {"*.bmp", "*.jpg", "*.png", "*.tiff", "*.webp"})
        EXPECT_TRUE(filters[1].pattern.split(' ').contains(readable)) << readable;
    EXPECT_EQ(filters[2], (platform::FileFilter{"All Files (*)", "*"})) << "names without a dot";
}

// Files damaged, empty, absurdly large, no picture or no file at all: the message keeps its
// first line and names the file and what is wrong with it (and the loader's reason), and
// nothing changes. An absurd size is refused from the header alone, before the gigabytes
// it claims are asked for.
TEST_F(ImageFilesTest, AFileThatCannotBeReadChangesNothingAndSaysWhy) {
    const QByteArray png = testing::encodedPicture("PNG");
    QByteArray flipped = png;
    flipped[png.size() / 2] = char(flipped[png.size() / 2] ^ 1);
    const QString damaged = QStringLiteral("the picture is damaged");
    const std::tuple<const char*, QByteArray, QString> files[] = {
        {"notes.fgr", "not a picture", "not a picture in a format that can be read"},
        {"empty.bmp", "", "not a picture in a format that can be read"},
        {"missing.fgr", {}, "the file cannot be read"},
        {"folder.fgr", {}, "the file cannot be read"},
        {"cut.png", png.left(png.size() / 2), damaged + " (the PNG file is cut short)"},
        {"short.png", png.left(png.size() - 1), damaged + " (the PNG file is cut short)"},
        {"flipped.png", flipped, damaged + " (the PNG chunk IDAT is damaged)"},
        {"huge.ppm", "P6\n20000 20000\n255\n\x01\x02\x03",
         "the picture is too large (20000x20000 is too large"},
        {"huge.bmp", testing::bitmapHeaderClaiming(100000, 100000), damaged},
        {"bomb.jpg", testing::jpegOfScans(600),
         "the picture is too large (the JPEG file has more than 500 scans)"}};
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.fgr"));
    engine.ASM_PalEffects(11);
    const EngineState before = state();
    window = {};
    const std::int64_t peakBefore = peakResidentKilobytes();
    for (const auto& [name, bytes, reason] : files) {
        if (!bytes.isNull()) writeText(name, bytes);
        env.messages.clear();
        engine.openPictureFile(path(name));
        ASSERT_EQ(env.messages.shown().size(), 1u) << name;
        const ShownMessage& shown = env.messages.shown()[0];
        EXPECT_EQ(std::pair(shown.title, shown.icon), std::pair(kWindow, MessageIcon::Critical));
        EXPECT_TRUE(
            shown.text.startsWith("Error loading picture file\n" + QString(name) + ": " + reason))
            << shown.text.toStdString();
        EXPECT_EQ(state(), before) << name;
        EXPECT_TRUE(box->isVisible()) << name;
    }
    EXPECT_LT(peakResidentKilobytes() - peakBefore, 64 * 1024);
    dialogs->answerFileName(path("notes.fgr"));
    engine.dialogShowOpen();
    EXPECT_EQ(state(), before);
    EXPECT_TRUE(window.labels.empty());
    EXPECT_TRUE(window.busy.empty());
}

// The BMP and JPEG decoders read what they can of a damaged file and fill the rest: the
// picture loads like any other, as do a progressive JPEG, WebP and TIFF; the decoders'
// complaints stay off the console.
TEST_F(ImageFilesTest, DamagedPicturesADecoderMakesSenseOfLoadWhole) {
    const QByteArray bitmap = testing::encodedPicture("BMP"),
                     jpeg = testing::encodedPicture("JPEG");
    QByteArray changed = jpeg;
    for (qsizetype i = jpeg.size() / 2; i < jpeg.size() / 2 + 8; ++i)
        changed[i] = char(jpeg[i] ^ 0x5A);
    const std::pair<const char*, QByteArray> files[] = {
        {"BMP cut in half", bitmap.left(bitmap.size() / 2)},
        {"JPEG cut 16 bytes short", jpeg.left(jpeg.size() - 16)},
        {"JPEG with bytes changed in the middle", changed},
        {"progressive JPEG", testing::jpegOfScans(0)},
        {"WebP, as the desktop's wallpapers", testing::encodedPicture("WEBP")},
        {"TIFF, as scanners write", testing::encodedPicture("TIFF")}};
    warnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(recordWarning);
    for (const auto& [name, bytes] : files) {
        writeText("loads", bytes);
        engine.openPictureFile(path("loads"));
        EXPECT_TRUE(env.messages.shown().empty()) << name;
        for (int plane = 1; plane <= 3; ++plane)
            EXPECT_EQ(planeWords(engine, plane), shownWords(*box)) << name;
    }
    qInstallMessageHandler(previous);
    EXPECT_TRUE(warnings.empty()) << warnings.front().toStdString();
}

// A source that hands out its bytes slowly, a few at a time, as a stalled network share.
class SlowBuffer : public QBuffer {
public:
    using QBuffer::QBuffer;

protected:
    qint64 readData(char* data, qint64 most) override {
        QThread::msleep(20);
        return QBuffer::readData(data, std::min<qint64>(most, 64));
    }
};

// The window goes on drawing itself while a picture decodes (the application's events are
// processed meanwhile), and a decoder that takes too long is cut off with a reason.
TEST_F(ImageFilesTest, DecodingLetsTheWindowRunAndIsCutOffWhenTooSlow) {
    int argc = 1;
    char name[] = "engine_tests";
    char* argv[] = {name, nullptr};
    const QCoreApplication application(argc, argv);
    bool decoding = true, ranWhileDecoding = false;
    QTimer::singleShot(0, [&] { ranWhileDecoding = decoding; });
    writeText("picture.jpg", testing::encodedPicture("JPEG"));
    engine.openPictureFile(path("picture.jpg"));
    decoding = false;
    EXPECT_TRUE(ranWhileDecoding);
    EXPECT_TRUE(env.messages.shown().empty());

    QByteArray bitmap = testing::encodedPicture("BMP");
    SlowBuffer slow(&bitmap);
    ASSERT_TRUE(slow.open(QIODevice::ReadOnly));
    platform::setLongestDecode(std::chrono::milliseconds(100));
    const platform::LoadedPicture cut = platform::loadPicture(slow);
    platform::setLongestDecode(std::chrono::seconds(30));
    EXPECT_EQ(cut.error(), "the picture took longer than 0.1 s to decode");
}

// A photo larger than the box is shown whole, scaled down and centred on the background,
// and that is what the engine edits.
TEST_F(ImageFilesTest, APhotoLargerThanTheBoxIsShownWholeAndBound) {
    QImage photo(2000, 1500, QImage::Format_RGB32);
    photo.fill(Qt::red);
    QPainter(&photo).fillRect(1000, 750, 1000, 750, Qt::blue);  // the bottom-right quarter
    ASSERT_TRUE(photo.save(path("photo.jpg"), "JPEG", 95));
    box->setOuterSizePixels(40, 20);

    engine.openPictureFile(path("photo.jpg"));
    // 26 x 20 pixels from x = 7, with the background on either side.
    const QImage& shown = box->image();
    EXPECT_GT(qRed(shown.pixel(12, 4)), 240);
    EXPECT_GT(qBlue(shown.pixel(27, 15)), 240);
    EXPECT_EQ(shown.pixel(6, 10), 0xFFC0C0C0);
    EXPECT_EQ(shown.pixel(33, 10), 0xFFC0C0C0);
    for (int plane = 1; plane <= 3; ++plane) EXPECT_EQ(planeWords(engine, plane), shownWords(*box));
    EXPECT_TRUE(env.messages.shown().empty());
}

TEST_F(ImageFilesTest, ABindingThatFailsAfterTheLoadStillShowsTheBox) {
    ASSERT_TRUE(newPicture.save(path("frame.fgr"), "PNG"));
    platform::Display::overrideBitsPerPixel(24);
    engine.openPictureFile(path("frame.fgr"));
    EXPECT_EQ(engine.boundBox(), nullptr);
    EXPECT_TRUE(box->isVisible());
    const ShownMessage refused{"clsASM", "Not 16 or 24-bit color setting", MessageIcon::Critical};
    EXPECT_EQ(env.messages.shown(), std::vector<ShownMessage>{refused});
}

// The bitmap extension is added unless the name ends in it; what the box shows is written.
TEST_F(ImageFilesTest, SaveWritesWhatTheBoxShowsAsABitmap) {
    const std::vector<std::pair<QString, QString>> names{
        {"edit", "edit.bmp"}, {"EDIT.Bmp", "EDIT.Bmp"}, {"photo.bmpx", "photo.bmpx.bmp"}};
    engine.ASM_PalEffects(11);
    engine.setAutoDraw(false);
    engine.ASM_IncrementalPalEffects(0, 90);  // not drawn
    ASSERT_NE(planeWords(engine, 2), shownWords(*box));
    for (const auto& [given, written] : names) {
        dialogs->answerFileName(path(given));
        engine.dialogShowSave();
        EXPECT_TRUE(QFile::exists(path(written))) << given.toStdString();
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), names.size());
    EXPECT_EQ(dialogs->asked().front(), (DialogRequest{DialogRequest::Kind::Save,
                                                       "Save Picture file",
                                                       {{"Pictures (*.bmp)", "*.bmp"}}}));
    dialogs->answerFileName(path("out.bmp"));
    engine.dialogShowSave("Keep it");
    EXPECT_EQ(dialogs->asked().back().title, "Keep it");
    EXPECT_EQ(QImage(path("out.bmp")).convertToFormat(QImage::Format_RGB32), box->image());
    EXPECT_TRUE(env.messages.shown().empty());

    writeText("plain-file", "a file where a directory should be");
    dialogs->answerFileName(path("plain-file/edit"));
    engine.dialogShowSave();
    const ShownMessage failed{kWindow, "Error saving picture file", MessageIcon::Critical};
    EXPECT_EQ(env.messages.shown(), std::vector<ShownMessage>{failed});
}

// The question names the file really written; "No" goes back to the dialog and leaves the
// file as it was, "Yes" replaces it.
TEST_F(ImageFilesTest, SavingOverAFileAsksFirst) {
    writeText("photo.bmp", "the only copy");
    dialogs->answerFileName(path("photo"));
    dialogs->answerCancel();
    engine.dialogShowSave();
    const ShownMessage question{"Save Picture file",
                                "photo.bmp already exists.\nDo you want to replace it?",
                                MessageIcon::Warning};
    EXPECT_EQ(env.messages.shown(), std::vector<ShownMessage>{question});
    EXPECT_EQ(dialogs->asked().size(), 2u);
    QFile kept(path("photo.bmp"));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "the only copy");

    env.messages.answerQuestion(true);
    dialogs->answerFileName(path("photo.bmp"));
    engine.dialogShowSave();
    EXPECT_EQ(QImage(path("photo.bmp")).convertToFormat(QImage::Format_RGB32), box->image());
}

TEST_F(ImageFilesTest, CustomColoursAreKeptAfterAConfirmedDialogOnly) {
    platform::CustomColours chosen{};
    chosen[15] = 0x00FFEEDD;
    dialogs->answerColour({0x000000FF, chosen});
    dialogs->answerCancel();
    dialogs->answerColour({0x00FF0000, chosen});

    EXPECT_EQ(engine.dialogChoseColor(), 0x000000FF);
    EXPECT_EQ(engine.dialogChoseColor(), -1);
    EXPECT_EQ(engine.dialogChoseColor(), 0x00FF0000);
    ASSERT_EQ(dialogs->asked().size(), 3u);
    EXPECT_EQ(dialogs->asked()[0].customColours, platform::CustomColours{});
    EXPECT_EQ(dialogs->asked()[1].customColours, chosen);
    EXPECT_EQ(dialogs->asked()[2].customColours, chosen);
}

}  // namespace
}  // namespace quillon
