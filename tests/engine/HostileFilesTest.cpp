// Files that are damaged, empty, unreadable, no file at all or absurdly large, opened the
// way the window opens pictures: each fails with "Error loading picture file" and leaves
// the picture, the box and the engine's planes as they were, or (a damaged file a decoder
// still makes sense of) loads as a whole new picture.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>
#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include "platform/core/PictureFiles.h"
#include "platform/core/PictureFilesWork.h"
#include "tests/engine/EngineTestSupport.h"
#include "tests/engine/HostileFiles.h"
#include "tests/support/RecordingMessages.h"

namespace quillon {
namespace {

using platform::MessageIcon;
using platform::ShownMessage;
using testing::planeWords;
using testing::shownWords;

const ShownMessage kLoadFailed{"Quillon", "Error loading picture file", MessageIcon::Critical};

struct EngineState {
    std::vector<std::uint32_t> planes[3];
    QImage shown;
    bool operator==(const EngineState&) const = default;
};

class HostileFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        box = testing::makeBox(8, 6, testing::patternPicture(8, 6));
        engine.setHost(&window);
        engine.setPictureBox(*box);
        engine.ASM_PalEffects(11);
    }
    QString write(const QString& name, const QByteArray& bytes) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }
    EngineState state() const {
        return {{planeWords(engine, 1), planeWords(engine, 2), planeWords(engine, 3)},
                box->image()};
    }
    // Opens the file and checks that it failed with the message and changed nothing.
    void expectRefused(const QString& path) {
        const EngineState before = state();
        env.messages.clear();
        engine.openPictureFile(path);
        ASSERT_EQ(env.messages.shown().size(), 1u) << path.toStdString();
        ShownMessage shown = env.messages.shown()[0];
        shown.text = shown.text.section(u'\n', 0, 0);  // the file and the reason follow
        EXPECT_EQ(shown, kLoadFailed) << path.toStdString();
        EXPECT_EQ(state(), before) << path.toStdString();
        EXPECT_TRUE(box->isVisible());
    }

    testing::EngineFixtureEnvironment env;
    QTemporaryDir dir;
    testing::RecordingWindow window;
    clsASMpic engine;
    std::unique_ptr<platform::PictureBoxModel> box;
};

// PNG and GIF carry checks of their own and refuse any damage; the BMP and JPEG decoders
// read what they can and fill the rest, so the damaged picture loads like any other.
TEST_F(HostileFilesTest, DamagedPicturesFailWholeOrLoadWhole) {
    for (const testing::HostileFile& damaged : testing::damagedPictures()) {
        const std::string name = damaged.name.toStdString();
        const bool checked = damaged.name.startsWith(u"PNG") || damaged.name.startsWith(u"GIF");
        const QString path = write(QStringLiteral("damaged"), damaged.bytes);
        if (checked) {
            expectRefused(path);
            continue;
        }
        env.messages.clear();
        engine.openPictureFile(path);
        EXPECT_TRUE(env.messages.shown().empty()) << name;
        const auto shown = shownWords(*box);
        for (int plane = 1; plane <= 3; ++plane)
            EXPECT_EQ(planeWords(engine, plane), shown) << name;
    }
}

TEST_F(HostileFilesTest, EmptyFilesFoldersAndAbsurdSizesAreRefused) {
    expectRefused(write(QStringLiteral("empty.bmp"), QByteArray()));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.bmp")));
    expectRefused(dir.filePath(QStringLiteral("folder.bmp")));
    expectRefused(dir.filePath(QStringLiteral("missing.bmp")));
    expectRefused(write(QStringLiteral("huge.bmp"), testing::bitmapHeaderClaiming(100000, 100000)));
}

std::int64_t peakResidentKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// A size beyond the limit is refused from the header alone (the BMP decoder refuses its
// 100000 x 100000 by itself): neither asks for the gigabytes the headers claim.
TEST_F(HostileFilesTest, AbsurdSizesAreRefusedBeforeDecoding) {
    const std::int64_t peakBefore = peakResidentKilobytes();
    const QString bitmap =
        write(QStringLiteral("huge.bmp"), testing::bitmapHeaderClaiming(100000, 100000));
    EXPECT_FALSE(platform::loadPicture(bitmap).ok());
    const QString pixmap = write(QStringLiteral("huge.ppm"), "P6\n20000 20000\n255\n\x01\x02\x03");
    const platform::LoadedPicture loaded = platform::loadPicture(pixmap);
    EXPECT_EQ(loaded.kind(), platform::LoadFailure::TooManyPixels);
    EXPECT_TRUE(loaded.error().startsWith(QStringLiteral("20000x20000 is too large")))
        << loaded.error().toStdString();
    EXPECT_LT(peakResidentKilobytes() - peakBefore, 64 * 1024);
}

TEST_F(HostileFilesTest, AFileWithoutReadPermissionIsRefused) {
    if (geteuid() == 0) GTEST_SKIP() << "running as root: permissions do not stop reading";
    const QString path = write(QStringLiteral("locked.png"), testing::encodedPicture("PNG"));
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::WriteOwner));
    expectRefused(path);
}

TEST_F(HostileFilesTest, APictureOfOnePixelLoads) {
    engine.openPictureFile(write(QStringLiteral("pixel.png"), testing::onePixelPicture()));
    EXPECT_TRUE(env.messages.shown().empty());
    EXPECT_EQ(box->image().pixel(0, 0), qRgb(200, 100, 50));
    EXPECT_EQ(box->image().pixel(1, 0), qRgb(0xC0, 0xC0, 0xC0)) << "the background beside it";
    EXPECT_EQ(planeWords(engine, 1), shownWords(*box));
}

// libpng would print its own complaint on the console: a damaged PNG is told apart first.
TEST_F(HostileFilesTest, DamagedPngsAreRefusedBeforeLibpngReadsThem) {
    const QByteArray whole = testing::encodedPicture("PNG");
    QByteArray flipped = whole;
    flipped[whole.size() / 2] = char(flipped[whole.size() / 2] ^ 1);
    const std::pair<QByteArray, QString> cases[] = {
        {whole.left(whole.size() - 1), "the PNG file is cut short"},
        {flipped, "the PNG chunk IDAT is damaged"},
    };
    for (const auto& [bytes, reason] : cases) {
        EXPECT_EQ(platform::loadPicture(write(QStringLiteral("damaged.png"), bytes)).error(),
                  reason);
    }
    EXPECT_TRUE(platform::loadPicture(write(QStringLiteral("whole.png"), whole)).ok());
}

// A progressive JPEG of a few kilobytes can ask for thousands of passes over its picture;
// such a file is refused from its markers, before decoding, while an ordinary
// progressive one loads.
TEST_F(HostileFilesTest, JpegsOfTooManyScansAreRefusedBeforeDecoding) {
    const QString bomb = write(QStringLiteral("bomb.jpg"), testing::jpegOfScans(600));
    EXPECT_EQ(platform::loadPicture(bomb).error(), "the JPEG file has more than 500 scans");
    expectRefused(bomb);
    EXPECT_TRUE(
        platform::loadPicture(write(QStringLiteral("fine.jpg"), testing::jpegOfScans(0))).ok());
}

// A source that hands out its bytes slowly, a few at a time, as a stalled network
// share might.
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
TEST_F(HostileFilesTest, DecodingLetsTheWindowRunAndIsCutOffWhenTooSlow) {
    int argc = 1;
    char name[] = "engine_tests";
    char* argv[] = {name, nullptr};
    const QCoreApplication application(argc, argv);
    bool decoding = true, ranWhileDecoding = false;
    QTimer::singleShot(0, [&] { ranWhileDecoding = decoding; });
    const QString path = write(QStringLiteral("picture.jpg"), testing::encodedPicture("JPEG"));
    EXPECT_TRUE(platform::loadPicture(path).ok());
    decoding = false;
    EXPECT_TRUE(ranWhileDecoding);

    QByteArray bitmap = testing::encodedPicture("BMP");
    SlowBuffer slow(&bitmap);
    ASSERT_TRUE(slow.open(QIODevice::ReadOnly));
    platform::setLongestDecode(std::chrono::milliseconds(100));
    const platform::LoadedPicture cut = platform::loadPicture(slow);
    platform::setLongestDecode(std::chrono::seconds(30));
    EXPECT_EQ(cut.error(), "the picture took longer than 0.1 s to decode");
}

// Decoders' complaints end up in the failure's text, not on the console.
std::vector<QString> warnings;
void recordWarning(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtWarningMsg) warnings.push_back(text);
}

TEST_F(HostileFilesTest, DecoderWarningsStayOffTheConsole) {
    warnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(recordWarning);
    for (const testing::HostileFile& damaged : testing::damagedPictures()) {
        const platform::LoadedPicture loaded =
            platform::loadPicture(write(QStringLiteral("damaged"), damaged.bytes));
        EXPECT_TRUE(loaded.ok() || !loaded.error().isEmpty()) << damaged.name.toStdString();
    }
    qWarning("after the loads");
    qInstallMessageHandler(previous);
    EXPECT_EQ(warnings, std::vector<QString>{QStringLiteral("after the loads")});
}

}  // namespace
}  // namespace quillon
