#include "platform/core/Gdi.h"

#include <algorithm>
#include <cstring>
#include <vector>

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

// The destination pixels [first, end) of a run of `length` from `start` that fall inside
// a target of `size`.
struct Span {
    std::int64_t first = 0;
    std::int64_t end = 0;
};

Span visibleSpan(int start, int length, int size) {
    return {std::max<std::int64_t>(0, -std::int64_t{start}),
            std::min<std::int64_t>(length, std::int64_t{size} - start)};
}

// The buffer row holding picture row `fromTop`, or none outside the buffer.
const std::uint32_t* bufferRowFromTop(const BitmapInfoHeader& header, const void* bits,
                                      std::int64_t fromTop) {
    const std::int64_t rows = headerRows(header);
    if (fromTop < 0 || fromTop >= rows) return nullptr;
    const std::int64_t bufferRow = header.height > 0 ? rows - 1 - fromTop : fromTop;
    const std::size_t stride = std::size_t(header.width) * 4;
    return reinterpret_cast<const std::uint32_t*>(static_cast<const std::uint8_t*>(bits) +
                                                  stride * std::size_t(bufferRow));
}

// At the same size each destination pixel takes the source pixel beside it: a straight
// copy of the part of the row both sides have, the reserved byte made opaque.
void copyRow(std::uint32_t* row, int xDest, const std::uint32_t* src, Span columns, int xSrc,
             int srcPixels) {
    const std::int64_t first = std::max<std::int64_t>(columns.first, -std::int64_t{xSrc});
    const std::int64_t end = std::min<std::int64_t>(columns.end, std::int64_t{srcPixels} - xSrc);
    for (std::int64_t dx = first; dx < end; ++dx) row[xDest + dx] = src[xSrc + dx] | kOpaque;
}

// When stretching, the nearest source column of each visible destination column is the
// same on every row, so it is worked out once; -1 marks a column outside the buffer.
std::vector<std::int64_t> sourceColumns(Span columns, int xSrc, int srcWidth, int destWidth,
                                        int srcPixels) {
    std::vector<std::int64_t> sources;
    sources.reserve(std::size_t(std::max<std::int64_t>(0, columns.end - columns.first)));
    for (std::int64_t dx = columns.first; dx < columns.end; ++dx) {
        const std::int64_t sx = xSrc + dx * srcWidth / destWidth;
        sources.push_back(sx >= 0 && sx < srcPixels ? sx : -1);
    }
    return sources;
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
    const Span columns = visibleSpan(xDest, destWidth, target.width());
    const bool sameSize = srcWidth == destWidth && srcHeight == destHeight;
    const std::vector<std::int64_t> sources =
        sameSize ? std::vector<std::int64_t>{}
                 : sourceColumns(columns, xSrc, srcWidth, destWidth, header->width);
    const Span rows = visibleSpan(yDest, destHeight, target.height());
    for (std::int64_t dy = rows.first; dy < rows.end; ++dy) {
        // Source rows counted from the top of the picture the buffer describes.
        const std::int64_t fromTop = ySrc + (sameSize ? dy : dy * srcHeight / destHeight);
        const std::uint32_t* src = bufferRowFromTop(*header, bits, fromTop);
        if (src == nullptr) continue;
        auto* row = reinterpret_cast<std::uint32_t*>(target.scanLine(int(yDest + dy)));
        if (sameSize) {
            copyRow(row, xDest, src, columns, xSrc, header->width);
        } else {
            for (std::int64_t dx = columns.first; dx < columns.end; ++dx) {
                const std::int64_t sx = sources[std::size_t(dx - columns.first)];
                if (sx >= 0) row[xDest + dx] = src[sx] | kOpaque;
            }
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
