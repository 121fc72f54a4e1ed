#include "platform/core/Gdi.h"

#include <algorithm>
#include <cstring>

#include "platform/core/Display.h"

namespace quillon::gdi {
namespace {

constexpr std::uint32_t kOpaque = 0xFF000000u;
constexpr std::uint32_t kColourBytes = 0x00FFFFFFu;

bool usable(HBITMAP bitmap) {
    if (bitmap == nullptr || bitmap->isNull()) return false;
    if (bitmap->format() != QImage::Format_RGB32) {
        *bitmap = bitmap->convertToFormat(QImage::Format_RGB32);
    }
    return !bitmap->isNull();
}

bool readableHeader(const BitmapInfoHeader* header) {
    return header != nullptr && header->bitCount == 32 && header->compression == 0 &&
           header->width > 0 && header->height != 0;
}

std::int64_t headerRows(const BitmapInfoHeader& header) {
    return header.height < 0 ? -std::int64_t{header.height} : header.height;
}

// Where a buffer row lives, counted from the buffer start. Scan line `line` counts from
// the bottom of the bitmap; a bottom-up buffer starts with its lowest line.
std::int64_t bufferRowOfLine(const BitmapInfoHeader& header, std::int64_t line, unsigned start,
                             std::int64_t lines) {
    const std::int64_t fromStart = line - start;
    return header.height > 0 ? fromStart : lines - 1 - fromStart;
}

struct LineSpan {
    std::int64_t lines = 0;
    int pixels = 0;
};

LineSpan clampLines(HBITMAP bitmap, unsigned start, unsigned lines,
                    const BitmapInfoHeader& header) {
    if (start >= unsigned(bitmap->height())) return {};
    const std::int64_t available = std::int64_t{bitmap->height()} - start;
    const std::int64_t count =
        std::min<std::int64_t>({std::int64_t{lines}, headerRows(header), available});
    return {count, std::min(header.width, bitmap->width())};
}

}  // namespace

HBITMAP DeviceContext::select(HBITMAP bitmap) {
    HBITMAP previous = selected_;
    selected_ = bitmap;
    return previous;
}

std::unique_ptr<DeviceContext> CreateCompatibleDC(HDC) {
    return std::make_unique<DeviceContext>();
}

HBITMAP SelectObject(HDC dc, HBITMAP bitmap) {
    return dc != nullptr ? dc->select(bitmap) : nullptr;
}

int GetDeviceCaps(HDC, int index) {
    return index == BITSPIXEL ? platform::Display::bitsPerPixel() : 0;
}

int GetObjectA(HBITMAP bitmap, int bufferSize, BitmapRecord* record) {
    if (bitmap == nullptr || record == nullptr || bufferSize < int(sizeof(BitmapRecord))) return 0;
    *record = BitmapRecord{};
    record->width = bitmap->width();
    record->height = bitmap->height();
    record->widthBytes = bitmap->width() * 4;
    return int(sizeof(BitmapRecord));
}

int GetDIBits(HDC, HBITMAP bitmap, unsigned startLine, unsigned lines, void* bits,
              const BitmapInfoHeader* header, unsigned) {
    if (!usable(bitmap) || bits == nullptr || !readableHeader(header)) return 0;
    const LineSpan span = clampLines(bitmap, startLine, lines, *header);
    const std::size_t stride = std::size_t(header->width) * 4;
    auto* out = static_cast<std::uint8_t*>(bits);
    for (std::int64_t line = startLine; line < startLine + span.lines; ++line) {
        auto* dest = reinterpret_cast<std::uint32_t*>(
            out + stride * bufferRowOfLine(*header, line, startLine, span.lines));
        const auto* src = reinterpret_cast<const std::uint32_t*>(
            bitmap->constScanLine(int(bitmap->height() - 1 - line)));
        for (int x = 0; x < span.pixels; ++x) dest[x] = src[x] & kColourBytes;
        std::fill(dest + span.pixels, dest + header->width, 0u);
    }
    return int(span.lines);
}

int SetDIBits(HDC, HBITMAP bitmap, unsigned startLine, unsigned lines, const void* bits,
              const BitmapInfoHeader* header, unsigned) {
    if (!usable(bitmap) || bits == nullptr || !readableHeader(header)) return 0;
    const LineSpan span = clampLines(bitmap, startLine, lines, *header);
    const std::size_t stride = std::size_t(header->width) * 4;
    const auto* in = static_cast<const std::uint8_t*>(bits);
    for (std::int64_t line = startLine; line < startLine + span.lines; ++line) {
        const auto* src = reinterpret_cast<const std::uint32_t*>(
            in + stride * bufferRowOfLine(*header, line, startLine, span.lines));
        auto* dest =
            reinterpret_cast<std::uint32_t*>(bitmap->scanLine(int(bitmap->height() - 1 - line)));
        for (int x = 0; x < span.pixels; ++x) dest[x] = src[x] | kOpaque;
    }
    return int(span.lines);
}

int StretchDIBits(HDC dc, int xDest, int yDest, int destWidth, int destHeight, int xSrc, int ySrc,
                  int srcWidth, int srcHeight, const void* bits, const BitmapInfoHeader* header,
                  unsigned, std::uint32_t rop) {
    if (dc == nullptr || !usable(dc->selected()) || bits == nullptr || !readableHeader(header))
        return 0;
    if (rop != SRCCOPY || destWidth <= 0 || destHeight <= 0 || srcWidth <= 0 || srcHeight <= 0)
        return 0;
    QImage& target = *dc->selected();
    const std::int64_t rows = headerRows(*header);
    const std::size_t stride = std::size_t(header->width) * 4;
    const auto* in = static_cast<const std::uint8_t*>(bits);
    for (int dy = std::max(0, -yDest); dy < destHeight && yDest + dy < target.height(); ++dy) {
        // Source rows counted from the top of the picture the buffer describes.
        const std::int64_t fromTop = std::int64_t{ySrc} + std::int64_t{dy} * srcHeight / destHeight;
        if (fromTop < 0 || fromTop >= rows) continue;
        const std::int64_t bufferRow = header->height > 0 ? rows - 1 - fromTop : fromTop;
        const auto* src = reinterpret_cast<const std::uint32_t*>(in + stride * bufferRow);
        auto* dest = reinterpret_cast<std::uint32_t*>(target.scanLine(yDest + dy));
        for (int dx = std::max(0, -xDest); dx < destWidth && xDest + dx < target.width(); ++dx) {
            const std::int64_t sx = std::int64_t{xSrc} + std::int64_t{dx} * srcWidth / destWidth;
            if (sx >= 0 && sx < header->width) dest[xDest + dx] = src[sx] | kOpaque;
        }
    }
    return destHeight;
}

std::uint32_t GetPixel(HDC dc, int x, int y) {
    if (dc == nullptr || !usable(dc->selected())) return CLR_INVALID;
    const QImage& image = *dc->selected();
    if (x < 0 || y < 0 || x >= image.width() || y >= image.height()) return CLR_INVALID;
    return bgrFromArgb(reinterpret_cast<const std::uint32_t*>(image.constScanLine(y))[x]);
}

std::uint32_t SetPixel(HDC dc, int x, int y, std::uint32_t colour) {
    if (dc == nullptr || !usable(dc->selected())) return CLR_INVALID;
    QImage& image = *dc->selected();
    if (x < 0 || y < 0 || x >= image.width() || y >= image.height()) return CLR_INVALID;
    reinterpret_cast<std::uint32_t*>(image.scanLine(y))[x] = argbFromBgr(colour);
    return colour & kColourBytes;
}

bool BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc,
            std::uint32_t rop) {
    if (dest == nullptr || src == nullptr || rop != SRCCOPY) return false;
    if (!usable(dest->selected()) || !usable(src->selected())) return false;
    QImage& to = *dest->selected();
    const QImage& from = *src->selected();
    for (int row = 0; row < height; ++row) {
        const int ty = y + row, sy = ySrc + row;
        if (ty < 0 || sy < 0 || ty >= to.height() || sy >= from.height()) continue;
        const int first = std::max({0, -x, -xSrc});
        const int last = std::min({width, to.width() - x, from.width() - xSrc});
        if (last <= first) continue;
        std::memmove(to.scanLine(ty) + 4 * std::size_t(x + first),
                     from.constScanLine(sy) + 4 * std::size_t(xSrc + first),
                     4 * std::size_t(last - first));
    }
    return true;
}

}  // namespace quillon::gdi
