#pragma once

namespace quillon::platform {

// Facts about the screen the program draws on. Tests pin them with the overrides so the
// depth test and the twips arithmetic can be exercised on any machine.
class Display {
public:
    // Bits the display stores per pixel: 8, 16 or 32 on usual hardware (an X11 depth of
    // 24 is stored in 32 bits, a depth of 15 in 16).
    static int bitsPerPixel();
    static double twipsPerPixelX();
    static double twipsPerPixelY();

    static void overrideBitsPerPixel(int bits);       // 0 removes the override
    static void overrideTwipsPerPixel(double twips);  // 0 removes the override
};

// Turns a depth as the window system reports it into the bits it stores per pixel.
int storedBitsForDepth(int depth);

}  // namespace quillon::platform
