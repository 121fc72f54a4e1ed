#pragma once

// A small stand-in for the graphics calls the engine, the filters and the window use,
// over QImage. A bitmap handle is a QImage in Format_RGB32; a device context holds the
// bitmap selected into it. Every call checks its rectangle against the bitmap, so no
// argument reads or writes outside the image or the caller's buffer as described by the
// header.

#include <QImage>
#include <cstdint>
#include <memory>

namespace quillon::gdi {

using Bitmap = QImage;
using HBITMAP = Bitmap*;

constexpr int BITSPIXEL = 12;  // GetDeviceCaps index
constexpr unsigned DIB_RGB_COLORS = 0;
constexpr unsigned DIB_PAL_COLORS = 1;  // same result for 32-bit pixels
constexpr std::uint32_t SRCCOPY = 0x00CC0020;
constexpr std::uint32_t CLR_INVALID = 0xFFFFFFFF;

// Windows bitmap information header (40 bytes). A positive height means rows run
// bottom-up in the caller's buffer, a negative height top-down.
struct BitmapInfoHeader {
    std::uint32_t size = 40;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t planes = 1;
    std::uint16_t bitCount = 32;
    std::uint32_t compression = 0;
    std::uint32_t sizeImage = 0;
    std::int32_t xPelsPerMeter = 0;
    std::int32_t yPelsPerMeter = 0;
    std::uint32_t clrUsed = 0;
    std::uint32_t clrImportant = 0;
};
static_assert(sizeof(BitmapInfoHeader) == 40);

// The 24-byte bitmap record of GetObjectA (the bits address is not exposed).
struct BitmapRecord {
    std::int32_t type = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t widthBytes = 0;
    std::uint16_t planes = 1;
    std::uint16_t bitsPixel = 32;
    std::uint32_t bits = 0;
};
static_assert(sizeof(BitmapRecord) == 24);

class DeviceContext {
public:
    explicit DeviceContext(HBITMAP selected = nullptr) : selected_(selected) {}
    HBITMAP selected() const { return selected_; }
    HBITMAP select(HBITMAP bitmap);

private:
    HBITMAP selected_;
};
using HDC = DeviceContext*;

std::unique_ptr<DeviceContext> CreateCompatibleDC(HDC like);
HBITMAP SelectObject(HDC dc, HBITMAP bitmap);  // returns the bitmap selected before
int GetDeviceCaps(HDC dc, int index);

// Fills `record` with the bitmap's size; returns the bytes written (24) or 0.
int GetObjectA(HBITMAP bitmap, int bufferSize, BitmapRecord* record);

// Copies `lines` scan lines starting at `startLine` (counted from the bottom, as in a
// bottom-up bitmap) between the bitmap and a 32-bit buffer laid out as `header` says.
// Pixels outside the bitmap read as 0; the reserved byte reads as 0. Returns the number
// of lines copied, 0 on failure.
int GetDIBits(HDC dc, HBITMAP bitmap, unsigned startLine, unsigned lines, void* bits,
              const BitmapInfoHeader* header, unsigned usage);
int SetDIBits(HDC dc, HBITMAP bitmap, unsigned startLine, unsigned lines, const void* bits,
              const BitmapInfoHeader* header, unsigned usage);

// Paints a rectangle of a 32-bit buffer into the bitmap selected into `dc`, scaling with
// the nearest pixel when the sizes differ. Returns the number of lines painted, 0 on
// failure (no bitmap, a header it cannot read, an unsupported raster operation).
int StretchDIBits(HDC dc, int xDest, int yDest, int destWidth, int destHeight, int xSrc, int ySrc,
                  int srcWidth, int srcHeight, const void* bits, const BitmapInfoHeader* header,
                  unsigned usage, std::uint32_t rop);

// Colours are 0x00BBGGRR. GetPixel outside the bitmap gives CLR_INVALID; SetPixel
// outside it changes nothing and gives CLR_INVALID.
std::uint32_t GetPixel(HDC dc, int x, int y);
std::uint32_t SetPixel(HDC dc, int x, int y, std::uint32_t colour);

bool BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc,
            std::uint32_t rop);

// Colour conversions between 0x00BBGGRR and QImage's 0xAARRGGBB.
constexpr std::uint32_t bgrFromArgb(std::uint32_t argb) {
    return ((argb >> 16) & 0xFF) | (argb & 0xFF00) | ((argb & 0xFF) << 16);
}
constexpr std::uint32_t argbFromBgr(std::uint32_t bgr) {
    return 0xFF000000u | ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
}

}  // namespace quillon::gdi
