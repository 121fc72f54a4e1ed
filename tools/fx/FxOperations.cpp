#include "tools/fx/FxOperations.h"

#include <cmath>
#include <limits>
#include <stdexcept>

#include "app/adjustments/ColourStretch.h"
#include "app/adjustments/WhiteCrush.h"
#include "engine/ColorXOps.h"
#include "engine/clsASMpic.h"
#include "filters/mFilterQ.h"
#include "tools/fx/FxNumbers.h"

namespace quillon::fx {
namespace {

constexpr double kInt32Min = std::numeric_limits<std::int32_t>::min();
constexpr double kInt32Max = std::numeric_limits<std::int32_t>::max();
constexpr double kSingleMax = std::numeric_limits<float>::max();

constexpr const char* kSingle = "a single-precision number";
constexpr const char* kMiddle = "the middle of the picture";

const ArgumentRule kOpCode{"op code", kInt32Min, kInt32Max, "-2147483648..2147483647"};
const ArgumentRule kAmount{"amount", -32768, 32767, "-32768..32767", false, "1"};
const ArgumentRule kColour{"colour", kInt32Min, 0xFFFFFFFF, "-2147483648..0xFFFFFFFF", false, "-1"};
const ArgumentRule kOnOff{"switch", 0, 1, "0 or 1"};
const ArgumentRule kCentreX{"centre x", -kSingleMax, kSingleMax, kSingle, true, kMiddle};
const ArgumentRule kCentreY{"centre y", -kSingleMax, kSingleMax, kSingle, true, kMiddle};
// The engine's own arithmetic bounds some arguments more tightly than their types: it
// takes the factor in tenths as a 32-bit number (214748352 is the largest single-precision
// value whose tenfold fits), adds a whole turn to the angle in 16 bits, and makes 20 dots
// an amount in 16 bits. They are refused here, before any file is read.
const ArgumentRule kFactor{"factor", -214748352.0, 214748352.0, "-214748352..214748352", true};
const ArgumentRule kAngle{"angle", -32768, 32767 - 360, "-32768..32407"};
const ArgumentRule kColorXAmount{
    "amount", -32768, 32767, "-32768..32767, with op code 0 -1638..1638", false, "1"};
constexpr double kMostDotAmount = 32767 / 20;
const ArgumentRule kAntiAlias{"anti-aliasing", 0, 1, "0 or 1", false, "0"};
const ArgumentRule kSourcePic{"source picture", 0, 1, "0 or 1", false, "1, the original"};

void applyPal(clsASMpic& engine, const OperationArguments& arguments) {
    engine.ASM_PalEffects(arguments.int32(0), arguments.int16(1, 1), arguments.colour(2, -1));
}
void applyIncPal(clsASMpic& engine, const OperationArguments& arguments) {
    engine.ASM_IncrementalPalEffects(arguments.int32(0), arguments.int16(1, 1));
}
void applyUndo(clsASMpic& engine, const OperationArguments&) {
    engine.UndoLast();
}
void applyUndoNoDraw(clsASMpic& engine, const OperationArguments&) {
    engine.UndoLastDontDraw();
}
void applyReset(clsASMpic& engine, const OperationArguments&) {
    engine.ResetPic();
}
void applyAutoDraw(clsASMpic& engine, const OperationArguments& arguments) {
    engine.setAutoDraw(arguments.flag(0));
}
void applyDrawNow(clsASMpic& engine, const OperationArguments&) {
    engine.DrawNow();
}
void applyPix(clsASMpic& engine, const OperationArguments& arguments) {
    engine.ASM_PixelEffects(arguments.int32(0), arguments.int16(1, 1), arguments.colour(2, -1));
}
void applyColorX(clsASMpic& engine, const OperationArguments& arguments) {
    engine.ASM_ColorXEffects(arguments.int32(0), arguments.colour(1, -1), arguments.int16(2, 1),
                             arguments.optional(3), arguments.optional(4));
}
void applyMagnify(clsASMpic& engine, const OperationArguments& arguments) {
    engine.ASM_Magnify(arguments.single(0), arguments.optional(1), arguments.optional(2),
                       arguments.flag(3), arguments.colour(4, -1));
}
void applyRotate(clsASMpic& engine, const OperationArguments& arguments) {
    engine.ASM_Rotate(arguments.int16(0, 0), arguments.flag(1), arguments.flag(2, true),
                      arguments.colour(3, -1), arguments.optional(4), arguments.optional(5));
}

// Sharpen, stretch and crush work on what the box shows, as the window's buttons do, and
// leave the engine's planes alone: a picture output shows them, a .raw output does not.
platform::PictureBoxModel& shownBox(const clsASMpic& engine) {
    platform::PictureBoxModel* box = engine.boundBox();
    if (box == nullptr) throw std::runtime_error("no picture box is bound");
    return *box;
}
void applySharpen(clsASMpic& engine, const OperationArguments&) {
    platform::PictureBoxModel& box = shownBox(engine);
    std::int32_t progress = 0;
    mFilterQ::ApplyFilter(mFilterQ::kSharpenFilter, box.imageHandle(), mFilterQ::kSharpenDamping,
                          progress);
    box.refresh();
}
void applyStretch(clsASMpic& engine, const OperationArguments&) {
    ColourStretch(shownBox(engine));
}
void applyCrush(clsASMpic& engine, const OperationArguments&) {
    WhiteCrush(shownBox(engine));
}

Status checkDotCount(const OperationArguments& arguments) {
    const double amount = arguments.optional(2).value_or(1);
    if (arguments.int32(0) != codeOf(ColorXEffect::RandomDots) ||
        std::abs(amount) <= kMostDotAmount)
        return succeeded();
    return Status::failure(
        QStringLiteral("colorx: amount %1 is out of range for op code 0 (-1638..1638)")
            .arg(amount));
}

// Every operation of the command line: name, required arguments, accepted arguments, the
// engine call and what --help says of it. A new operation is one entry here plus its call
// above.
std::vector<OperationEntry> buildTable() {
    return {
        {"pal", 1, {kOpCode, kAmount, kColour}, applyPal, "palette effects (ASM_PalEffects)"},
        {"incpal",
         1,
         {kOpCode, kAmount},
         applyIncPal,
         "brightness and colour steps (ASM_IncrementalPalEffects)"},
        {"undo", 0, {}, applyUndo, "takes back the last effect (UndoLast)"},
        {"undonodraw", 0, {}, applyUndoNoDraw, "the same without drawing (UndoLastDontDraw)"},
        {"reset", 0, {}, applyReset, "back to the input picture (ResetPic)"},
        {"autodraw", 1, {kOnOff}, applyAutoDraw, "draw after every effect, or not (AutoDraw)"},
        {"drawnow", 0, {}, applyDrawNow, "draws the working picture (DrawNow)"},
        {"pix",
         1,
         {kOpCode, kAmount, kColour},
         applyPix,
         "smoothing, edges, reliefs, wave, twist (ASM_PixelEffects)"},
        {"colorx",
         2,
         {kOpCode, kColour, kColorXAmount, kCentreX, kCentreY},
         applyColorX,
         "dots, lines, glows, streaks, ring (ASM_ColorXEffects)",
         checkDotCount},
        {"magnify",
         1,
         {kFactor, kCentreX, kCentreY, kAntiAlias, kColour},
         applyMagnify,
         "zoom about a centre (ASM_Magnify)"},
        {"rotate",
         1,
         {kAngle, kAntiAlias, kSourcePic, kColour, kCentreX, kCentreY},
         applyRotate,
         "turn by whole degrees (ASM_Rotate)"},
        {"sharpen", 0, {}, applySharpen, "the editor's \"Sharpen\" on the picture shown"},
        {"stretch", 0, {}, applyStretch, "the editor's \"Colour Stretch\" on the picture shown"},
        {"crush", 0, {}, applyCrush, "the editor's \"White Crush\" on the picture shown"},
    };
}

Result<std::optional<double>> parseArgument(const QString& operation, const ArgumentRule& accepted,
                                            const QString& text) {
    using Parsed = Result<std::optional<double>>;
    if (text.isEmpty()) return std::optional<double>{};
    const std::optional<double> value =
        accepted.real ? parseReal(text) : std::optional<double>(parseInteger(text));
    if (!value) {
        return Parsed::failure(
            QStringLiteral("%1: %2 '%3' is not a number").arg(operation, accepted.name, text));
    }
    if (*value < accepted.lowest || *value > accepted.highest) {
        return Parsed::failure(QStringLiteral("%1: %2 %3 is out of range (%4)")
                                   .arg(operation, accepted.name, text, accepted.rangeText));
    }
    return value;
}

QStringList splitArguments(QStringView text) {
    if (text.isEmpty()) return {};
    return text.toString().split(u',');
}

Status checkArgumentCount(const OperationEntry& operation, qsizetype given) {
    const QString name = QString::fromLatin1(operation.name);
    if (std::size_t(given) <= operation.arguments.size()) return succeeded();
    if (operation.arguments.empty()) {
        return Status::failure(QStringLiteral("%1: takes no arguments").arg(name));
    }
    return Status::failure(QStringLiteral("%1: too many arguments (at most %2)")
                               .arg(name)
                               .arg(operation.arguments.size()));
}

Result<OperationArguments> parseArgumentList(const OperationEntry& operation,
                                             const QStringList& texts) {
    using Parsed = Result<OperationArguments>;
    const QString name = QString::fromLatin1(operation.name);
    const Status counted = checkArgumentCount(operation, texts.size());
    if (!counted.ok()) return Parsed::failure(counted.error());
    std::vector<std::optional<double>> values;
    for (std::size_t i = 0; i < operation.arguments.size(); ++i) {
        const QString text = i < std::size_t(texts.size()) ? texts[qsizetype(i)] : QString();
        auto parsed = parseArgument(name, operation.arguments[i], text);
        if (!parsed.ok()) return Parsed::failure(parsed.error());
        if (i < operation.required && !parsed.value()) {
            return Parsed::failure(
                QStringLiteral("%1: %2 is missing").arg(name, operation.arguments[i].name));
        }
        values.push_back(parsed.value());
    }
    return OperationArguments(std::move(values));
}

}  // namespace

std::optional<double> OperationArguments::at(std::size_t index) const {
    return index < values_.size() ? values_[index] : std::nullopt;
}

float OperationArguments::single(std::size_t index) const {
    return float(at(index).value_or(0.0));
}

std::int32_t OperationArguments::int32(std::size_t index, std::int32_t fallback) const {
    return std::int32_t(at(index).value_or(fallback));
}

std::int16_t OperationArguments::int16(std::size_t index, std::int16_t fallback) const {
    return std::int16_t(at(index).value_or(fallback));
}

std::int32_t OperationArguments::colour(std::size_t index, std::int32_t fallback) const {
    const std::optional<double> value = at(index);
    return value ? std::int32_t(std::uint32_t(std::int64_t(*value))) : fallback;
}

bool OperationArguments::flag(std::size_t index, bool fallback) const {
    const std::optional<double> value = at(index);
    return value ? *value != 0 : fallback;
}

const std::vector<OperationEntry>& operationTable() {
    static const std::vector<OperationEntry> table = buildTable();
    return table;
}

const OperationEntry* findOperation(QStringView name) {
    for (const OperationEntry& operation : operationTable()) {
        if (name == QLatin1String(operation.name)) return &operation;
    }
    return nullptr;
}

Result<PlannedOperation> parseOperation(const QString& text) {
    using Parsed = Result<PlannedOperation>;
    const qsizetype colon = text.indexOf(u':');
    const QStringView name = colon < 0 ? QStringView(text) : QStringView(text).left(colon);
    const OperationEntry* operation = findOperation(name);
    if (operation == nullptr) {
        return Parsed::failure(
            QStringLiteral("unknown operation '%1'; quillon-fx --help lists the operations")
                .arg(name.toString()));
    }
    const QStringList texts =
        colon < 0 ? QStringList() : splitArguments(QStringView(text).mid(colon + 1));
    auto arguments = parseArgumentList(*operation, texts);
    if (!arguments.ok()) return Parsed::failure(arguments.error());
    if (operation->checkTogether != nullptr) {
        const Status together = operation->checkTogether(arguments.value());
        if (!together.ok()) return Parsed::failure(together.error());
    }
    return PlannedOperation{operation, std::move(arguments.value())};
}

}  // namespace quillon::fx
