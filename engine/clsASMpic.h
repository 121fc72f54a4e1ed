#pragma once

#include <QPointer>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

#include "engine/KernelHost.h"
#include "engine/KernelRecord.h"
#include "engine/PixelSurface.h"
#include "platform/core/EditorHost.h"
#include "platform/core/Gdi.h"
#include "platform/core/PictureBoxModel.h"

namespace quillon {

// The picture-effects engine. It binds one picture box, keeps the box's picture as a
// surface of three planes (original, working, undo), runs every effect in one of its
// kernels, and draws the working plane back into the box.
//
// Operations that need a bound box say so in a message box and do nothing without one.
// Every effect runs the same sequence: snapshot the working plane into the undo plane
// (when drawing automatically), fill the parameter record, call the kernel, draw.
class clsASMpic {
public:
    explicit clsASMpic(const KernelTable& kernels = builtInKernels());
    ~clsASMpic();
    clsASMpic(const clsASMpic&) = delete;
    clsASMpic& operator=(const clsASMpic&) = delete;

    // Binds the box and captures its picture into all three planes.
    void setPictureBox(platform::PictureBoxModel& PicBox);
    // The window the engine works for (see EditorHost); none by default.
    void setHost(platform::EditorHost* host) { host_ = host; }
    platform::EditorHost& host() const;

    bool AutoDraw() const { return autoDraw_; }
    void setAutoDraw(bool autoON);
    void DrawNow();
    void UndoLast();
    void UndoLastDontDraw();
    void ResetPic();

    // A centre coordinate that may be left out; a given one reaches the kernel in single
    // precision.
    using Centre = std::optional<double>;

    void ASM_PalEffects(std::int32_t OpCode, std::int16_t Amount = 1, std::int32_t colorX = -1);
    void ASM_IncrementalPalEffects(const std::int32_t& OpCode, std::int16_t Amount = 1);
    void ASM_PixelEffects(const std::int32_t& OpCode, std::int16_t Amount = 1,
                          std::int32_t colorX = -1);
    void ASM_Magnify(float Factor, Centre centerX = {}, Centre centerY = {}, bool AntiAlias = false,
                     std::int32_t colorX = -1);
    void ASM_Rotate(std::int16_t Angle, bool AntiAlias = false, bool SourcePic = true,
                    std::int32_t colorX = -1, Centre centerX = {}, Centre centerY = {});
    void ASM_ColorXEffects(const std::int32_t& OpCode, std::int32_t colorX, std::int16_t Amount = 1,
                           Centre centerX = {}, Centre centerY = {});

    // Pictures in and out: a picture file loaded into the box and bound anew (chosen in
    // the open dialog, or given, with the name the window shows beside it), the box's
    // picture saved as a Windows bitmap, and a colour chosen in the colour dialog (-1 when
    // cancelled, 0 without a bound box).
    void dialogShowOpen(const QString& Caption = QString());
    void openPictureFile(const QString& path, const QString& shownName = QString());
    void dialogShowSave(const QString& Caption = QString());
    std::int32_t dialogChoseColor();

    // For tools and tests that need the engine's own view of the picture.
    platform::PictureBoxModel* boundBox() const { return box_.data(); }
    PixelSurface& surface() { return surface_; }
    const PixelSurface& surface() const { return surface_; }
    const KernelParameterRecord& record() const { return record_; }

private:
    bool PictureBoxMissing() const;
    bool ColorDepthOK(platform::PictureBoxModel& box) const;
    void bind(platform::PictureBoxModel& box);
    void CaptureSurface();
    bool GETDIBS(gdi::HBITMAP bitmap);
    void DrawPlane(SurfacePlane plane);

    std::uint32_t effectColour(std::int32_t colorX) const;
    // A given centre in single precision (an overflow error when it does not fit one), a
    // left-out one as the integer half of the surface's width or height.
    KernelArgument centreArgument(const Centre& centre, std::int32_t extent) const;

    enum class Snapshot { IfAutoDraw, Never };
    // Runs the common effect sequence around one kernel call. `prepare` fills the
    // record's operation fields and returns the kernel's extra arguments; it runs after
    // the snapshot, so a failure while preparing leaves the snapshot taken.
    template <typename Prepare>
    void runKernel(Kernel kernel, Snapshot snapshot, Prepare&& prepare);
    // The same sequence for an operation that enters its kernel any number of times:
    // `prepare(record, call)` fills the record and makes each call through `call`.
    template <typename Prepare>
    void runKernelCalls(Kernel kernel, Snapshot snapshot, Prepare&& prepare);

    QPointer<platform::PictureBoxModel> box_;
    platform::EditorHost* host_ = nullptr;
    gdi::BitmapInfoHeader header_;
    KernelTable kernels_;
    PixelSurface surface_;
    std::int64_t planeSize_ = 0;
    KernelParameterRecord record_;
    const KernelParameterRecord* recordAddress_ = &record_;
    Kernel kernelEntry_ = nullptr;
    bool autoDraw_ = true;
    std::array<std::uint32_t, 16> customColours_{};  // colour dialog custom colours, 0x00BBGGRR
};

template <typename Prepare>
void clsASMpic::runKernel(Kernel kernel, Snapshot snapshot, Prepare&& prepare) {
    if (autoDraw_ && snapshot == Snapshot::IfAutoDraw) {
        surface_.copyPlane(SurfacePlane::Working, SurfacePlane::Undo);
    }
    const KernelArguments arguments = prepare(record_);
    kernelEntry_ = kernel;
    if (kernelEntry_ != nullptr)
        kernelEntry_(recordAddress_, arguments.a, arguments.b, arguments.c);
    if (autoDraw_) DrawPlane(SurfacePlane::Working);
}

template <typename Prepare>
void clsASMpic::runKernelCalls(Kernel kernel, Snapshot snapshot, Prepare&& prepare) {
    if (autoDraw_ && snapshot == Snapshot::IfAutoDraw) {
        surface_.copyPlane(SurfacePlane::Working, SurfacePlane::Undo);
    }
    kernelEntry_ = kernel;
    const auto call = [this](const KernelArguments& arguments) {
        if (kernelEntry_ != nullptr)
            kernelEntry_(recordAddress_, arguments.a, arguments.b, arguments.c);
    };
    prepare(record_, call);
    if (autoDraw_) DrawPlane(SurfacePlane::Working);
}

}  // namespace quillon
