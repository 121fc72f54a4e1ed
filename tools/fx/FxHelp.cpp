#include "tools/fx/FxHelp.h"

#include "tools/fx/FxArguments.h"
#include "tools/fx/FxOperations.h"
#include "tools/fx/FxPictureSize.h"

namespace quillon::fx {
namespace {

constexpr const char* kDescription = R"(
Reads INPUT, runs the OPERATIONs on it in order with Quillon's picture engine, and
writes OUTPUT. INPUT is any picture Qt reads (the format is taken from the content),
or a .raw plane of 4*W*H bytes (blue, green, red, reserved; rows bottom-up) given its
size with --size. OUTPUT ending in .raw receives the engine's working plane; any other
ending receives the picture shown, in the format that ending names.
)";

constexpr const char* kOptions = R"(
options:
  --size WxH             the size of a .raw INPUT
  --background 0xBBGGRR  the picture box's background (default 0xC0C0C0): shown where a
                         picture is transparent, and the colour an argument of -1 means
  --max-megapixels N     refuse larger pictures (default %1, at most %2); the tool holds
                         about 24 bytes a pixel
  --help, -h             this text
  --version              the version
)";

constexpr const char* kClosing = R"help(
Numbers are decimal or 0x hexadecimal; factors and centres may carry a fraction. An
argument left out or empty takes its default.

examples:
  quillon-fx frame.fgr bright.png incpal:6,40 sharpen     # brighten by 40, then sharpen
  quillon-fx photo.jpg negative.png pal:11
  quillon-fx photo.png zoomed.png magnify:2,120.5,80,1     # smooth zoom about (120.5, 80)
  quillon-fx in.raw out.raw --size 3x1 incpal:0,8          # red + 8 on a 3-pixel plane
  find pictures -name '*.jpg' -print0 | xargs -0 -P "$(nproc)" -I{} \
    sh -c 'quillon-fx "$1" "${1%.*}.fx.png" pix:0 incpal:6,20' sh {}

Exit status 0 on success; otherwise 2, one line on standard error, and OUTPUT untouched.
)help";

void printSynopsis(std::ostream& out, const OperationEntry& operation) {
    out << "  " << operation.name;
    for (std::size_t i = 0; i < operation.arguments.size(); ++i) {
        const bool optional = i >= operation.required;
        out << (optional ? "[" : "") << (i == 0 ? ":" : ",") << operation.arguments[i].name;
    }
    out << std::string(operation.arguments.size() - operation.required, ']');
    out << "\n      " << operation.summary << '\n';
}

void printArgument(std::ostream& out, const ArgumentRule& argument, bool optional) {
    out << "      " << argument.name << ": " << argument.rangeText;
    if (optional && argument.fallbackText != nullptr) out << "; default " << argument.fallbackText;
    out << '\n';
}

void printOperation(std::ostream& out, const OperationEntry& operation) {
    printSynopsis(out, operation);
    for (std::size_t i = 0; i < operation.arguments.size(); ++i)
        printArgument(out, operation.arguments[i], i >= operation.required);
}

}  // namespace

void printVersion(std::ostream& out) {
    out << "quillon-fx " << QUILLON_VERSION_TEXT << '\n';
}

void printHelp(std::ostream& out) {
    out << usageLine().toStdString() << '\n' << kDescription;
    out << QString::fromLatin1(kOptions).arg(kDefaultMegapixels).arg(kMostMegapixels).toStdString();
    out << "\noperations (NAME or NAME:ARG,ARG,...):\n";
    for (const OperationEntry& operation : operationTable()) printOperation(out, operation);
    out << kClosing;
}

}  // namespace quillon::fx
