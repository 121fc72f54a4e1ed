#include "platform/core/Display.h"

#include <QGuiApplication>
#include <QScreen>

namespace quillon::platform {
namespace {

int bitsOverride = 0;
double twipsOverride = 0.0;
constexpr double kTwipsPerInch = 1440.0;
constexpr double kDefaultTwipsPerPixel = 15.0;  // 96 dots per inch

QScreen* primaryScreen() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr
               ? QGuiApplication::primaryScreen()
               : nullptr;
}

double twipsPerPixel(bool horizontal) {
    if (twipsOverride > 0.0) return twipsOverride;
    const QScreen* screen = primaryScreen();
    if (screen == nullptr) return kDefaultTwipsPerPixel;
    const double dpi = horizontal ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY();
    return dpi > 0.0 ? kTwipsPerInch / dpi : kDefaultTwipsPerPixel;
}

}  // namespace

int storedBitsForDepth(int depth) {
    if (depth == 15) return 16;
    if (depth == 24 || depth == 30) return 32;
    return depth;
}

int Display::bitsPerPixel() {
    if (bitsOverride != 0) return bitsOverride;
    const QScreen* screen = primaryScreen();
    return screen != nullptr ? storedBitsForDepth(screen->depth()) : 32;
}

double Display::twipsPerPixelX() {
    return twipsPerPixel(true);
}
double Display::twipsPerPixelY() {
    return twipsPerPixel(false);
}
void Display::overrideBitsPerPixel(int bits) {
    bitsOverride = bits;
}
void Display::overrideTwipsPerPixel(double twips) {
    twipsOverride = twips;
}

}  // namespace quillon::platform
