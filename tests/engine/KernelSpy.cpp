#include "tests/engine/KernelSpy.h"

#include <cassert>

namespace quillon::testsupport {
namespace {

KernelSpy* active = nullptr;

template <KernelSlot slot>
void spyOn(const KernelParameterRecord* record, KernelArgument a, KernelArgument b,
           KernelPointerArgument c) {
    assert(active != nullptr);
    active->calls.push_back({slot, *record, a, b, c});
    if (active->onCall) active->onCall(active->calls.back());
}

}  // namespace

KernelSpy::KernelSpy() {
    assert(active == nullptr);
    active = this;
}

KernelSpy::~KernelSpy() {
    active = nullptr;
}

KernelTable KernelSpy::table() {
    return {.rotation = spyOn<KernelSlot::Rotation>,
            .palEffects = spyOn<KernelSlot::PalEffects>,
            .pixelEffects = spyOn<KernelSlot::PixelEffects>,
            .colorXEffects = spyOn<KernelSlot::ColorXEffects>,
            .magnify = spyOn<KernelSlot::Magnify>};
}

}  // namespace quillon::testsupport
