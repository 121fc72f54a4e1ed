#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <vector>

#include "tools/fx/FxOperations.h"
#include "tools/fx/FxPictureSize.h"
#include "tools/fx/FxResult.h"

namespace quillon::fx {

// Everything the command line asks for, checked before any file is touched.
struct FxPlan {
    QString input;
    QString output;
    std::optional<PictureSize> rawSize;     // given exactly when the input is raw
    std::uint32_t background = 0x00C0C0C0;  // 0x00BBGGRR
    std::vector<PlannedOperation> operations;
    std::int64_t largestPixels = kDefaultMegapixels * kPixelsPerMegapixel;
    bool helpRequested = false;
    bool versionRequested = false;
};

QString usageLine();

// A path ending in .raw holds one plane of bare surface bytes instead of a picture file.
bool isRawPath(const QString& path);

// Reads the arguments after the program name into a plan, or says what is wrong with
// them: unknown operations and options, bad numbers, a raw input without its size or
// beyond the megapixel limit, an output whose format cannot be written. --help and
// --version need nothing else and stop the reading.
Result<FxPlan> parseCommandLine(const QStringList& arguments);

}  // namespace quillon::fx
