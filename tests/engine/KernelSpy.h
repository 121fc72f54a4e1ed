#pragma once

#include <functional>
#include <vector>

#include "engine/KernelHost.h"

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
    KernelSpy& operator=(const KernelSpy&) = delete;

    static KernelTable table();

    std::vector<SpiedCall> calls;
    // Runs inside each call once it is kept, to see what exists only during the call.
    std::function<void(SpiedCall&)> onCall;
};

}  // namespace quillon::testsupport
