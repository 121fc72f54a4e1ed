#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

#include "tools/fx/FxArguments.h"
#include "tools/fx/FxNumbers.h"
#include "tools/fx/FxOperations.h"

namespace quillon::fx {
namespace {

// Decimal and hex with an optional minus; huge numbers pinned so range checks still catch
// them; anything else refused.
TEST(FxNumbers, WholeNumbersAndReals) {
    const std::pair<const char16_t*, std::int64_t> integers[] = {
        {u"-5", -5}, {u"0x1F", 31}, {u"0Xff", 255}, {u"-0x10", -16}, {u"0xFFFFFFFF", 0xFFFFFFFFll},
        {u"007", 7}};
    for (const auto& [text, value] : integers)
        EXPECT_EQ(parseInteger(text), value) << QString::fromUtf16(text).toStdString();
    EXPECT_EQ(parseInteger(u"99999999999999999999999999"), INT64_MAX);
    for (const char16_t* text : {u"-0xFFFFFFFFFFFFFFFFFFFF", u"-9223372036854775808"})
        EXPECT_EQ(parseInteger(text), INT64_MIN);
    for (const char16_t* text :
         {u"", u"-", u"0x", u"1.5", u" 1", u"12a", u"0xZZ", u"+1", u"--1", u"1e3", u"٣"})
        EXPECT_FALSE(parseInteger(text)) << QString::fromUtf16(text).toStdString();
    EXPECT_FALSE(parseDecimal(u"0x10") || parseDecimal(u"-3"));

    const std::pair<const char16_t*, std::optional<double>> reals[] = {
        {u"-.25", -0.25}, {u"2e3", 2000.0}, {u"2E3", 2000.0}, {u"0x10", 16.0}, {u"nan", {}},
        {u"-inf", {}},    {u"1e999", {}},   {u"1.5x", {}},    {u"1,5", {}}};
    for (const auto& [text, value] : reals)
        EXPECT_EQ(parseReal(text), value) << QString::fromUtf16(text).toStdString();
}

// Each command line with the start of the one message it gets; "" where it is accepted.
TEST(FxCommandLine, AcceptedOrNamedInOneMessage) {
    const QString most = QStringLiteral("--max-megapixels=%1").arg(kMostMegapixels);
    const std::pair<QStringList, const char*> cases[] = {
        {{"in.png", "out.png", "pal:11", "incpal:0x7FFFFFFF,32767", "rotate:32407,1,0,3,4,1"}, ""},
        {{"in.png", "out.png", "pal:1,2,3", "magnify:214748352,1,2,1", "autodraw:0x0"}, ""},
        {{"in.raw", "out.raw", "--size=16777216x1"}, ""},
        {{"in.raw", "out.raw", "--size=10000x10000"}, ""},
        {{"in.raw", "out.raw", "--size=23170x23170", most}, ""},
        {{"in.raw", "out.raw", "--size=23171x23171", most}, "--size: 23171x23171 is too large"},
        {{"in.raw", "out.raw", "--size=12000x10000"},
         "--size: 12000x10000 is too large: 120.0 megapixels, more than the limit of 100 "
         "(raise it with --max-megapixels, at most 537)"},
        {{"--max-megapixels", "120", "in.raw", "out.raw", "--size=12000x10000"}, ""},
        {{"in.png", "out.png", "--max-megapixels", "538"}, "--max-megapixels: "},
        {{"in.png", "out.png", "--max-megapixels=1.5"}, "--max-megapixels: "},
        {{}, "missing INPUT and OUTPUT; usage: quillon-fx"},
        {{"in.png"}, "missing OUTPUT; usage:"},
        {{"in.raw", "out.raw"}, "a .raw input needs its size"},
        {{"in.png", "out.raw", "--size=2x2"}, "--size is only for a .raw input"},
        {{"in.raw", "out.raw", "--size", "3x"}, "--size: '3x' is not a size"},
        {{"in.raw", "out.raw", "--size", "0x4"}, "--size: 0x4 is empty"},
        {{"in.raw", "out.raw", "--size=16777217x1"}, "--size: 16777217x1 is too large"},
        {{"in.raw", "out.raw", "--size"}, "--size needs a value"},
        {{"in.png", "out.png", "--background=0x1000000"}, "--background: 0x1000000 is out of"},
        {{"in.png", "out.png", "--background", "-1"}, "--background: -1 is out of range"},
        {{"in.png", "out.png", "--frob"}, "unknown option '--frob'; quillon-fx --help lists"},
        {{"in.png", "out.xyz"}, "output 'out.xyz': cannot write pictures of format 'xyz'"},
        {{"in.png", "out"}, "output 'out' has no ending"},
        {{"in.png", "out.png", "pal:11", "blur"}, "unknown operation 'blur'"},
        {{"in.png", "out.png", "pal:,5"}, "pal: op code is missing"},
        {{"in.png", "out.png", "pal:11,-32769"}, "pal: amount -32769 is out of range (-32768"},
        {{"in.png", "out.png", "pal:1,1,0x100000000"}, "pal: colour 0x100000000 is out of"},
        {{"in.png", "out.png", "incpal:1, 2"}, "incpal: amount ' 2' is not a number"},
        {{"in.png", "out.png", "autodraw:2"}, "autodraw: switch 2 is out of range (0 or 1)"},
        {{"in.png", "out.png", "pal:1,2,3,4"}, "pal: too many arguments (at most 3)"},
        {{"in.png", "out.png", "undo:1"}, "undo: takes no arguments"},
        {{"in.png", "out.png", "colorx:1"}, "colorx: colour is missing"},
        {{"in.png", "out.png", "magnify:2,nan"}, "magnify: centre x 'nan' is not a number"},
        {{"in.png", "out.png", "magnify:1e39"}, "magnify: factor 1e39 is out of range"},
        {{"in.png", "out.png", "rotate:32408"}, "rotate: angle 32408 is out of range (-32768"},
    };
    for (const auto& [arguments, message] : cases) {
        const Result<FxPlan> plan = parseCommandLine(arguments);
        const QString said = plan.ok() ? QString() : plan.error();
        EXPECT_TRUE(*message ? said.startsWith(QString::fromLatin1(message)) : plan.ok())
            << arguments.join(' ').toStdString() << " -> " << said.toStdString();
        EXPECT_FALSE(said.contains(u'\n'));
    }
}

TEST(FxCommandLine, OptionsMayStandAnywhereInEitherForm) {
    const Result<FxPlan> given =
        parseCommandLine({"--background=0x102030", "in.raw", "out.png", "undo", "--size", "4x2",
                          "reset", "--background", "7", "--max-megapixels=120"});
    ASSERT_TRUE(given.ok()) << given.error().toStdString();
    const FxPlan& plan = given.value();
    EXPECT_EQ(QStringList({plan.input, plan.output}), QStringList({"in.raw", "out.png"}));
    EXPECT_EQ(plan.background, 7u);
    EXPECT_EQ(plan.rawSize->width * 10 + plan.rawSize->height, 42);
    EXPECT_EQ(plan.largestPixels, 120000000);
    ASSERT_EQ(plan.operations.size(), 2u);
    EXPECT_STREQ(plan.operations[1].operation->name, "reset");
    const FxPlan usual = parseCommandLine({"in.png", "out.bmp"}).value();
    EXPECT_TRUE(usual.background == 0x00C0C0C0u && usual.largestPixels == 100000000);
    EXPECT_FALSE(usual.rawSize.has_value());
    EXPECT_TRUE(parseCommandLine({"--help"}).value().helpRequested);
    EXPECT_TRUE(parseCommandLine({"--version", "--frob"}).value().versionRequested);
}

}  // namespace
}  // namespace quillon::fx
