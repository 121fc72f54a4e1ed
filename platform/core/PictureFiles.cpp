#include "platform/core/PictureFiles.h"

#include "platform/core/PictureFilesOutput.h"
#include "platform/core/PictureFilesWork.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QThread>
#include <QtEndian>
#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <future>
#include <optional>

namespace quillon::platform {
namespace {

constexpr std::int64_t kSmallestAllocationMegabytes = 256;
constexpr std::int64_t kLargestAllocationMegabytes = 1 << 20;
constexpr std::int64_t kBytesPerMegabyte = std::int64_t{1} << 20;

// While a picture is decoded, the warnings its decoder raises on this thread ("Premature
// end of JPEG file", "Corrupt data") are kept as the reason for a failure instead of
// reaching the console, and its notes ("libpng warning: ...") are dropped; every other
// message goes where it went before. Pictures are decoded on one thread at a time (the
// one beside the window's, or the tool's only one).
class DecoderMessages {
public:
    DecoderMessages() : thread_(QThread::currentThread()) {
        previous_.store(qInstallMessageHandler(&DecoderMessages::handle));
        active_.store(this);
    }
    ~DecoderMessages() {
        active_.store(nullptr);
        qInstallMessageHandler(previous_.load());
    }
    DecoderMessages(const DecoderMessages&) = delete;
    DecoderMessages& operator=(const DecoderMessages&) = delete;

    const QString& last() const { return last_; }

private:
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& text) {
        DecoderMessages* self = active_.load();
        const bool decoding = self != nullptr && QThread::currentThread() == self->thread_;
        if (decoding && (type == QtWarningMsg || type == QtInfoMsg)) {
            if (type == QtWarningMsg) self->last_ = text;
            return;
        }
        if (const QtMessageHandler previous = previous_.load()) previous(type, context, text);
    }

    static inline std::atomic<DecoderMessages*> active_ = nullptr;
    static inline std::atomic<QtMessageHandler> previous_ = nullptr;
    QThread* thread_;
    QString last_;
};

// libpng tells of a damaged file by printing "libpng error: ..." on the console itself,
// where neither Qt nor this program can catch it. The damage people meet (a file cut
// short, bytes changed on the way) breaks the length or the checksum of a chunk, so such
// a PNG is refused here, with that reason, before libpng reads it.
constexpr std::array<std::uint32_t, 256> kCrcTable = [] {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k) c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}();

std::uint32_t updateCrc(std::uint32_t crc, const QByteArray& bytes) {
    for (const char byte : bytes) crc = kCrcTable[(crc ^ std::uint8_t(byte)) & 0xFF] ^ (crc >> 8);
    return crc;
}

// The checksum of the chunk's type and data; nothing when the file ends first.
std::optional<std::uint32_t> chunkCrc(QIODevice& device, const QByteArray& type,
                                      std::int64_t length) {
    std::uint32_t crc = updateCrc(0xFFFFFFFFu, type);
    for (std::int64_t left = length; left > 0;) {
        const QByteArray block = device.read(std::min<std::int64_t>(left, 1 << 16));
        if (block.isEmpty()) return std::nullopt;
        crc = updateCrc(crc, block);
        left -= block.size();
    }
    return crc ^ 0xFFFFFFFFu;
}

std::optional<QString> damagedPngChunks(QIODevice& device) {
    const QString cutShort = QStringLiteral("the PNG file is cut short");
    device.read(8);
    for (;;) {
        const QByteArray head = device.read(8);
        if (head.size() < 8) return cutShort;
        const quint32 length = qFromBigEndian<quint32>(head.constData());
        const QByteArray type = head.mid(4);
        const std::optional<std::uint32_t> crc = chunkCrc(device, type, length);
        const QByteArray stored = device.read(4);
        if (!crc || stored.size() < 4) return cutShort;
        if (*crc != qFromBigEndian<quint32>(stored.constData()))
            return QStringLiteral("the PNG chunk %1 is damaged").arg(QString::fromLatin1(type));
        if (type == "IEND") return std::nullopt;
    }
}

std::optional<QString> pngDamage(QIODevice& device) {
    static const QByteArray signature("\x89PNG\r\n\x1a\n", 8);
    if (device.isSequential() || device.peek(8) != signature) return std::nullopt;
    const qint64 start = device.pos();
    const std::optional<QString> damage = damagedPngChunks(device);
    device.seek(start);
    return damage;
}

bool tooManyPixels(QSize size, std::int64_t largestPixels) {
    return std::int64_t{size.width()} * size.height() > largestPixels;
}

LoadedPicture tooLarge(QSize size, std::int64_t largestPixels) {
    const QString text =
        QStringLiteral("%1x%2 is too large: %3 megapixels, more than the %4 a picture may have")
            .arg(size.width())
            .arg(size.height())
            .arg(double(size.width()) * size.height() / kPixelsPerMegapixel, 0, 'f', 1)
            .arg(double(largestPixels) / kPixelsPerMegapixel, 0, 'g', 6);
    return LoadedPicture::failure(text, LoadFailure::TooManyPixels);
}

LoadFailure failureReason(QImageReader::ImageReaderError error) {
    switch (error) {
        case QImageReader::UnsupportedFormatError:
            return LoadFailure::UnsupportedFormat;
        case QImageReader::FileNotFoundError:
        case QImageReader::DeviceError:
            return LoadFailure::Unreadable;
        default:
            return LoadFailure::Damaged;
    }
}

QString failureText(const QImageReader& reader, const DecoderMessages& decoder) {
    const QString reason = reader.errorString();
    if (decoder.last().isEmpty()) return reason;
    return QStringLiteral("%1 (%2)").arg(reason, decoder.last());
}

LoadedPicture read(QImageReader& reader, std::int64_t largestPixels) {
    DecoderMessages decoder;
    reader.setDecideFormatFromContent(true);
    QImageReader::setAllocationLimit(decoderAllocationLimitMegabytes(largestPixels));
    const QSize announced = reader.size();
    if (announced.isValid() && tooManyPixels(announced, largestPixels))
        return tooLarge(announced, largestPixels);
    QImage picture = reader.read();
    if (picture.isNull())
        return LoadedPicture::failure(failureText(reader, decoder), failureReason(reader.error()));
    if (tooManyPixels(picture.size(), largestPixels))
        return tooLarge(picture.size(), largestPixels);
    return picture;
}

LoadedPicture decode(QIODevice& device, std::int64_t largestPixels) {
    if (const std::optional<QString> work = jpegTooMuchWork(device))
        return LoadedPicture::failure(*work, LoadFailure::TooLarge);
    QImageReader reader(&device);
    return read(reader, largestPixels);
}

bool onApplicationThread() {
    const QCoreApplication* application = QCoreApplication::instance();
    return application != nullptr && QThread::currentThread() == application->thread();
}

// Decoding runs beside the application's thread, which meanwhile keeps drawing the window
// and answering the desktop; clicks and keys wait until the picture is in, as they could
// otherwise start another load or close the window under this one. A decoder that takes
// too long has its reads cut off and the picture is refused.
LoadedPicture decodeBesideTheApplication(QIODevice& device, std::int64_t largestPixels) {
    CancellableDevice source(device);
    std::future<LoadedPicture> decoding =
        std::async(std::launch::async, [&] { return decode(source, largestPixels); });
    const auto deadline = std::chrono::steady_clock::now() + longestDecode();
    do {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        if (std::chrono::steady_clock::now() > deadline) source.cancel();
    } while (decoding.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready);
    LoadedPicture decoded = decoding.get();
    if (!source.cancelled()) return decoded;
    const auto seconds = std::chrono::duration<double>(longestDecode()).count();
    return LoadedPicture::failure(
        QStringLiteral("the picture took longer than %1 s to decode").arg(seconds),
        LoadFailure::TooLarge);
}

}  // namespace

LoadedPicture loadPicture(const QString& path, std::int64_t largestPixels) {
    if (QFileInfo(path).isDir())
        return LoadedPicture::failure(QStringLiteral("%1 is a directory").arg(path),
                                      LoadFailure::Unreadable);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return LoadedPicture::failure(file.errorString(), LoadFailure::Unreadable);
    return loadPicture(file, largestPixels);
}

LoadedPicture loadPicture(QIODevice& device, std::int64_t largestPixels) {
    if (const std::optional<QString> damage = pngDamage(device))
        return LoadedPicture::failure(*damage, LoadFailure::Damaged);
    if (!onApplicationThread()) return decode(device, largestPixels);
    return decodeBesideTheApplication(device, largestPixels);
}

int decoderAllocationLimitMegabytes(std::int64_t largestPixels) {
    // Eight bytes a pixel, the widest format the decoders decode into (16 bits a channel),
    // rounded up to whole megabytes so that a picture just within the limit still fits.
    const std::int64_t megabytes =
        (largestPixels * kDecodeBytesPerPixel + kBytesPerMegabyte - 1) / kBytesPerMegabyte;
    return int(std::clamp(megabytes, kSmallestAllocationMegabytes, kLargestAllocationMegabytes));
}

SavedPicture savePictureAsBitmap(const QImage& picture, const QString& path) {
    if (picture.isNull())
        return SavedPicture::failure(QStringLiteral("There is no picture to save"));
    return writeFileSafely(path, [&](QIODevice& file, QString& reason) {
        QImageWriter writer(&file, "bmp");
        if (writer.write(picture.convertToFormat(QImage::Format_RGB32))) return true;
        reason = writer.errorString();
        return false;
    });
}

}  // namespace quillon::platform
