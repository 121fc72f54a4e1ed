#pragma once

#include <QImage>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "engine/clsASMpic.h"
#include "platform/core/MessageBox.h"
#include "platform/core/PictureBoxModel.h"
#include "tests/support/RecordingMessages.h"

namespace quillon::testing {

// Pins the screen facts the engine reads (32 bits per pixel, 15 twips per pixel) and
// records every message box, restoring both afterwards.
class EngineFixtureEnvironment {
public:
    EngineFixtureEnvironment();
    ~EngineFixtureEnvironment();
    platform::ScopedMessageRecorder messages;
};

// The program's window as the engine sees it, recording what it is asked.
struct RecordingWindow : platform::EditorHost {
    QString caption() const override { return QStringLiteral("Quillon"); }
    void setBusy(bool on) override { busy.push_back(on); }
    void repaintWindow() override { ++repaints; }
    void showFileName(const QString& name) override { labels.push_back(name); }
    std::vector<QString> labels;
    std::vector<bool> busy;
    int repaints = 0;
};

// A picture whose every pixel differs from its neighbours, so row order and column
// order mistakes show: red = x, green = y, blue = x + 7y (mod 256).
QImage patternPicture(int width, int height);

// A box of the given pixel size on a grey background showing `picture` at its top-left.
std::unique_ptr<platform::PictureBoxModel> makeBox(int width, int height,
                                                   const QImage& picture = QImage());

// Plane p of the engine's surface as 32-bit words (blue, green, red, reserved bytes).
std::vector<std::uint32_t> planeWords(const clsASMpic& engine, int plane);

// What the box shows, in the surface's layout: bottom row first, reserved byte 0.
std::vector<std::uint32_t> shownWords(const platform::PictureBoxModel& box);

// Writes a 32-bit word into every pixel of plane p.
void fillPlane(clsASMpic& engine, int plane, std::uint32_t word);

}  // namespace quillon::testing

namespace quillon::testsupport {

enum class KernelSlot { Rotation, PalEffects, PixelEffects, ColorXEffects, Magnify };

struct SpiedCall {
    KernelSlot slot;
    KernelParameterRecord record;  // a copy, as the kernel was given it
    KernelArgument a, b;
    KernelPointerArgument c;
};

// Stands in for every kernel of an engine built with `table()` and keeps each call.
// One spy is active at a time, from its construction to its destruction.
class KernelSpy {
public:
    KernelSpy();
    ~KernelSpy();
    KernelSpy(const KernelSpy&) = delete;
    static KernelTable table();

    std::vector<SpiedCall> calls;
    // Runs inside each call once it is kept, to see what exists only during the call.
    std::function<void(SpiedCall&)> onCall;
};

}  // namespace quillon::testsupport
