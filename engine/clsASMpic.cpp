#include "engine/clsASMpic.h"

#include <cmath>
#include <limits>
#include <new>
#include <stdexcept>

#include "engine/PalEffectsOps.h"

#include "platform/core/Application.h"
#include "platform/core/CheckedArithmetic.h"
#include "platform/core/Display.h"
#include "platform/core/MessageBox.h"
#include "platform/core/RandomSource.h"

namespace quillon {
namespace {

using platform::MessageIcon;
const QString kEngineTitle = QStringLiteral("clsASM");

void showEngineMessage(const QString& text, MessageIcon icon = MessageIcon::Critical) {
    platform::messages().show(kEngineTitle, text, icon);
}

// The random source must give the same values after every reset, so a noise step added
// twice adds the same noise field twice.
void resetSharedRandom() {
    platform::RandomSource& random = platform::sharedRandom();
    random.draw(-1.0f);
    random.seed(1.0);
}

// The engine's window when it has none: no caption, and nobody to tell.
class NoWindow final : public platform::EditorHost {
public:
    QString caption() const override { return {}; }
    void setBusy(bool) override {}
    void repaintWindow() override {}
    void showFileName(const QString&) override {}
};

}  // namespace

clsASMpic::clsASMpic(const KernelTable& kernels) : kernels_(kernels) {}

clsASMpic::~clsASMpic() {
    surface_.discard();
}

platform::EditorHost& clsASMpic::host() const {
    static NoWindow nobody;
    return host_ != nullptr ? *host_ : nobody;
}

bool clsASMpic::PictureBoxMissing() const {
    if (!box_.isNull()) return false;
    showEngineMessage(QStringLiteral("You must assign a picturebox to the class first!"),
                      MessageIcon::Information);
    return true;
}

bool clsASMpic::ColorDepthOK(platform::PictureBoxModel& box) const {
    const int bits = gdi::GetDeviceCaps(box.hDC(), gdi::BITSPIXEL);
    return bits == 16 || bits == 32;
}

void clsASMpic::setPictureBox(platform::PictureBoxModel& PicBox) {
    try {
        bind(PicBox);
    } catch (const std::exception&) {
        box_.clear();
        surface_.discard();
        record_.width = record_.height = 0;
        record_.surface = nullptr;
        showEngineMessage(QStringLiteral("Couldn't assign picturebox"));
    }
}

void clsASMpic::bind(platform::PictureBoxModel& box) {
    box_ = &box;
    const std::int32_t width =
        platform::pixelsFromTwips(box.outerWidthTwips(), platform::Display::twipsPerPixelX());
    const std::int32_t height =
        platform::pixelsFromTwips(box.outerHeightTwips(), platform::Display::twipsPerPixelY());
    if (!ColorDepthOK(box)) {
        box_.clear();
        showEngineMessage(QStringLiteral("Not 16 or 24-bit color setting"));
        return;
    }
    record_.width = width;
    record_.height = height;
    recordAddress_ = &record_;
    CaptureSurface();
    record_.surface = surface_.base();
    DrawPlane(SurfacePlane::Undo);
}

void clsASMpic::CaptureSurface() {
    if (!GETDIBS(box_->imageHandle())) throw std::runtime_error("no surface");
    planeSize_ = checkedMultiply(checkedMultiply(record_.width, 4), record_.height);
    surface_.copyPlane(SurfacePlane::Original, SurfacePlane::Working);
    surface_.copyPlane(SurfacePlane::Original, SurfacePlane::Undo);
}

bool clsASMpic::GETDIBS(gdi::HBITMAP bitmap) {
    try {
        gdi::BitmapRecord description;
        gdi::GetObjectA(bitmap, sizeof description, &description);
        header_ = gdi::BitmapInfoHeader{};
        header_.width = description.width;
        header_.height = description.height;
        header_.sizeImage =
            std::uint32_t(checkedBitmapBytes(description.width, description.height));
        surface_.allocate(record_.width, record_.height);

        // The transfer is described with the surface's own size, so a bitmap that is
        // not W x H is clipped rather than written past the surface's end.
        gdi::BitmapInfoHeader transfer = header_;
        transfer.width = record_.width;
        transfer.height = record_.height;
        auto dc = gdi::CreateCompatibleDC(nullptr);
        const gdi::HBITMAP previous = gdi::SelectObject(dc.get(), bitmap);
        gdi::GetDIBits(dc.get(), bitmap, 0, unsigned(record_.height), surface_.base(), &transfer,
                       gdi::DIB_PAL_COLORS);
        gdi::SelectObject(dc.get(), previous);
        return true;
    } catch (const std::exception&) {
        showEngineMessage(QStringLiteral("Error in function GETDIBS"));
        return false;
    }
}

void clsASMpic::DrawPlane(SurfacePlane plane) {
    const bool painting = !surface_.empty() && surface_.planeBytes() > 0;
    // A plane the size of the box covers every pixel, so the box is painted once; an
    // empty surface, or a box of another size, shows its background where nothing lands.
    if (painting && box_->image().size() == QSize(record_.width, record_.height)) {
        box_->forgetPicture();
    } else {
        box_->setPicture(QImage());
    }
    box_->setVisible(true);
    header_.width = record_.width;
    header_.height = record_.height;
    if (painting) {
        const int painted = gdi::StretchDIBits(
            box_->hDC(), 0, 0, record_.width, record_.height, 0, 0, record_.width, record_.height,
            surface_.plane(plane), &header_, gdi::DIB_PAL_COLORS, gdi::SRCCOPY);
        if (painted == 0) {
            surface_.discard();
            showEngineMessage(QStringLiteral("Blit Error"));
            platform::endApplicationNow();
        }
    }
    box_->refresh();
}

void clsASMpic::setAutoDraw(bool autoON) {
    autoDraw_ = autoON;
    if (PictureBoxMissing()) return;
    if (autoON) {
        DrawPlane(SurfacePlane::Working);
    } else {
        surface_.copyPlane(SurfacePlane::Working, SurfacePlane::Undo);
    }
}

void clsASMpic::DrawNow() {
    if (PictureBoxMissing()) return;
    DrawPlane(SurfacePlane::Working);
    platform::processPendingEvents();
}

void clsASMpic::UndoLast() {
    if (PictureBoxMissing()) return;
    surface_.copyPlane(SurfacePlane::Undo, SurfacePlane::Working);
    DrawPlane(SurfacePlane::Working);
}

void clsASMpic::UndoLastDontDraw() {
    if (PictureBoxMissing()) return;
    surface_.copyPlane(SurfacePlane::Undo, SurfacePlane::Working);
}

void clsASMpic::ResetPic() {
    if (PictureBoxMissing()) return;
    surface_.copyPlane(SurfacePlane::Original, SurfacePlane::Working);
    surface_.copyPlane(SurfacePlane::Original, SurfacePlane::Undo);
    DrawPlane(SurfacePlane::Original);
}

std::uint32_t clsASMpic::effectColour(std::int32_t colorX) const {
    return colorX < 0 ? box_->backColor() : std::uint32_t(colorX);
}

KernelArgument clsASMpic::centreArgument(const Centre& centre, std::int32_t extent) const {
    if (!centre) return singleBits(float(extent / 2));
    const double value = *centre;
    if (std::isfinite(value) && std::fabs(value) > double(std::numeric_limits<float>::max()))
        throw std::overflow_error("centre does not fit in single precision");
    return singleBits(float(value));
}

void clsASMpic::ASM_PalEffects(std::int32_t OpCode, std::int16_t Amount, std::int32_t colorX) {
    if (PictureBoxMissing()) return;
    runKernel(kernels_.palEffects, Snapshot::IfAutoDraw, [&](KernelParameterRecord& record) {
        record.amount = Amount;
        record.colour = effectColour(colorX);
        record.opCode = OpCode;
        return KernelArguments{kSingleTwo, kSingleThree, kPlainFour};
    });
}

void clsASMpic::ASM_IncrementalPalEffects(const std::int32_t& OpCode, std::int16_t Amount) {
    if (PictureBoxMissing()) return;
    runKernel(kernels_.palEffects, Snapshot::IfAutoDraw, [&](KernelParameterRecord& record) {
        record.amount = Amount;
        record.colour = box_->backColor();
        record.opCode = OpCode;
        resetSharedRandom();
        KernelArguments arguments{kSingleTwo, kSingleThree, kPlainFour};
        if (OpCode == codeOf(PalEffect::Noise)) {
            const float drawn = platform::sharedRandom().draw();
            arguments.a = singleBits(drawn * 255.0f);
        }
        return arguments;
    });
}

}  // namespace quillon
