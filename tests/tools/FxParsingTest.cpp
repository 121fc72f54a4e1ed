#include <gtest/gtest.h>

#include <limits>

#include "tools/fx/FxArguments.h"
#include "tools/fx/FxNumbers.h"
#include "tools/fx/FxOperations.h"

namespace quillon::fx {
namespace {

constexpr std::int64_t kInt64Max = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kInt64Min = std::numeric_limits<std::int64_t>::min();

TEST(FxNumbers, ReadsDecimalAndHexWithOptionalMinus) {
    EXPECT_EQ(parseInteger(u"0"), 0);
    EXPECT_EQ(parseInteger(u"-5"), -5);
    EXPECT_EQ(parseInteger(u"0x1F"), 31);
    EXPECT_EQ(parseInteger(u"0Xff"), 255);
    EXPECT_EQ(parseInteger(u"-0x10"), -16);
    EXPECT_EQ(parseInteger(u"0xFFFFFFFF"), 0xFFFFFFFFll);
    EXPECT_EQ(parseInteger(u"007"), 7);
}

TEST(FxNumbers, RefusesAnythingButAWholeNumber) {
    for (const char16_t* text : {u"", u"-", u"0x", u"-0x", u"1.5", u" 1", u"1 ", u"12a", u"0xZZ",
                                 u"+1", u"--1", u"1e3", u"٣"}) {
        EXPECT_FALSE(parseInteger(text).has_value()) << QString::fromUtf16(text).toStdString();
    }
    EXPECT_FALSE(parseDecimal(u"0x10").has_value());
    EXPECT_FALSE(parseDecimal(u"-3").has_value());
}

TEST(FxNumbers, PinsHugeNumbersSoRangeChecksStillCatchThem) {
    EXPECT_EQ(parseInteger(u"99999999999999999999999999"), kInt64Max);
    EXPECT_EQ(parseInteger(u"-0xFFFFFFFFFFFFFFFFFFFF"), kInt64Min);
    EXPECT_EQ(parseInteger(u"9223372036854775807"), kInt64Max);
    EXPECT_EQ(parseInteger(u"-9223372036854775808"), kInt64Min);
}

TEST(FxNumbers, RealsTakeFractionsAndExponentsButOnlyFiniteNumbers) {
    EXPECT_EQ(parseReal(u"1.5"), 1.5);
    EXPECT_EQ(parseReal(u"-.25"), -0.25);
    EXPECT_EQ(parseReal(u"2e3"), 2000.0);
    EXPECT_EQ(parseReal(u"0x10"), 16.0);
    for (const char16_t* text : {u"", u"nan", u"inf", u"-inf", u"1e999", u"1.5x", u" 1", u"1,5"}) {
        EXPECT_FALSE(parseReal(text).has_value()) << QString::fromUtf16(text).toStdString();
    }
}

OperationArguments argumentsOf(const QString& text) {
    const Result<PlannedOperation> parsed = parseOperation(text);
    EXPECT_TRUE(parsed.ok()) << parsed.error().toStdString();
    return parsed.ok() ? parsed.value().arguments : OperationArguments();
}

TEST(FxOperations, LeftOutAndEmptyArgumentsTakeTheEngineDefaults) {
    const OperationArguments bare = argumentsOf("pal:11");
    EXPECT_EQ(bare.int32(0), 11);
    EXPECT_EQ(bare.int16(1, 1), 1);
    EXPECT_EQ(bare.colour(2, -1), -1);
    const OperationArguments gap = argumentsOf("pal:11,,0x0000FF");
    EXPECT_EQ(gap.int16(1, 1), 1);
    EXPECT_EQ(gap.colour(2, -1), 0xFF);
    EXPECT_EQ(argumentsOf("pal:11,,").colour(2, -1), -1);
}

TEST(FxOperations, CentresAndFactorsKeepTheirFractions) {
    const OperationArguments magnify = argumentsOf("magnify:0.35,2.5,-1e3,1");
    EXPECT_EQ(magnify.single(0), 0.35f);
    EXPECT_EQ(magnify.optional(1), 2.5);
    EXPECT_EQ(magnify.optional(2), -1000.0);
    EXPECT_TRUE(magnify.flag(3));
    const OperationArguments rotate = argumentsOf("rotate:-90,,0");
    EXPECT_EQ(rotate.int16(0, 0), -90);
    EXPECT_FALSE(rotate.flag(2, true));
    EXPECT_FALSE(rotate.optional(4).has_value());
}

TEST(FxOperations, ArgumentsKeepTheirFullRangeWithoutWrapping) {
    EXPECT_EQ(argumentsOf("incpal:-0x80000000,-32768").int32(0), std::int32_t(0x80000000u));
    EXPECT_EQ(argumentsOf("incpal:0x7FFFFFFF,32767").int16(1, 1), 32767);
    EXPECT_EQ(argumentsOf("pal:0,1,0xFFFFFFFF").colour(2, 0), -1);
    EXPECT_EQ(argumentsOf("pal:0,1,0x80000000").colour(2, 0), std::int32_t(0x80000000u));
    EXPECT_EQ(argumentsOf("pal:0,1,-2147483648").colour(2, 0), std::int32_t(0x80000000u));
    EXPECT_TRUE(argumentsOf("autodraw:1").flag(0));
    EXPECT_FALSE(argumentsOf("autodraw:0x0").flag(0, true));
}

TEST(FxOperations, EveryOperationIsFoundByItsExactName) {
    for (const char* name : {"pal", "incpal", "undo", "undonodraw", "reset", "autodraw", "drawnow",
                             "pix", "colorx", "magnify", "rotate"}) {
        const OperationEntry* found = findOperation(QString::fromLatin1(name));
        ASSERT_NE(found, nullptr) << name;
        EXPECT_STREQ(found->name, name);
    }
    EXPECT_EQ(findOperation(u"PAL"), nullptr);
    EXPECT_EQ(findOperation(u"pa"), nullptr);
}

struct BadOperation {
    const char* text;
    const char* message;
};

TEST(FxOperations, BadOperationsAreNamedInOneMessage) {
    const BadOperation cases[] = {
        {"blur", "unknown operation 'blur'"},
        {"pal", "pal: op code is missing"},
        {"pal:,5", "pal: op code is missing"},
        {"autodraw", "autodraw: switch is missing"},
        {"pal:11,40000", "pal: amount 40000 is out of range (-32768..32767)"},
        {"pal:11,-32769", "pal: amount -32769 is out of range"},
        {"incpal:0x80000000", "incpal: op code 0x80000000 is out of range"},
        {"pal:1,1,0x100000000", "pal: colour 0x100000000 is out of range"},
        {"pal:1,1,-2147483649", "pal: colour -2147483649 is out of range"},
        {"pal:0xZZ", "pal: op code '0xZZ' is not a number"},
        {"incpal:1, 2", "incpal: amount ' 2' is not a number"},
        {"autodraw:2", "autodraw: switch 2 is out of range (0 or 1)"},
        {"pal:1,2,3,4", "pal: too many arguments (at most 3)"},
        {"incpal:1,2,3", "incpal: too many arguments (at most 2)"},
        {"undo:1", "undo: takes no arguments"},
        {"colorx:1", "colorx: colour is missing"},
        {"magnify:abc", "magnify: factor 'abc' is not a number"},
        {"magnify:2,nan", "magnify: centre x 'nan' is not a number"},
        {"magnify:1e39", "magnify: factor 1e39 is out of range"},
        {"rotate:90,0,1,,1.5,x", "rotate: centre y 'x' is not a number"},
        {"rotate:1.5", "rotate: angle '1.5' is not a number"},
        {"rotate:40000", "rotate: angle 40000 is out of range (-32768..32407)"},
        {"rotate:90,2", "rotate: anti-aliasing 2 is out of range (0 or 1)"},
        {"pix:0,1,2,3", "pix: too many arguments (at most 3)"},
    };
    for (const BadOperation& bad : cases) {
        const Result<PlannedOperation> parsed = parseOperation(QString::fromLatin1(bad.text));
        ASSERT_FALSE(parsed.ok()) << bad.text;
        EXPECT_TRUE(parsed.error().startsWith(QString::fromLatin1(bad.message)))
            << bad.text << " -> " << parsed.error().toStdString();
    }
}

Result<FxPlan> parse(const QStringList& arguments) {
    return parseCommandLine(arguments);
}

TEST(FxCommandLine, OptionsMayStandAnywhereInEitherForm) {
    const Result<FxPlan> plan = parse({"--background=0x102030", "in.raw", "out.png", "undo",
                                       "--size", "4x2", "reset", "--background", "7"});
    ASSERT_TRUE(plan.ok()) << plan.error().toStdString();
    EXPECT_EQ(plan.value().input, "in.raw");
    EXPECT_EQ(plan.value().output, "out.png");
    EXPECT_EQ(plan.value().background, 7u);
    ASSERT_TRUE(plan.value().rawSize.has_value());
    EXPECT_EQ(plan.value().rawSize->width, 4);
    EXPECT_EQ(plan.value().rawSize->height, 2);
    ASSERT_EQ(plan.value().operations.size(), 2u);
    EXPECT_STREQ(plan.value().operations[1].operation->name, "reset");
}

TEST(FxCommandLine, DefaultsToTheUsualBoxBackground) {
    const Result<FxPlan> plan = parse({"in.png", "out.bmp"});
    ASSERT_TRUE(plan.ok()) << plan.error().toStdString();
    EXPECT_EQ(plan.value().background, 0x00C0C0C0u);
    EXPECT_FALSE(plan.value().rawSize.has_value());
}

TEST(FxCommandLine, BadCommandLinesAreNamedInOneMessage) {
    const std::pair<QStringList, const char*> cases[] = {
        {{}, "missing INPUT and OUTPUT; usage: quillon-fx"},
        {{"in.png"}, "missing OUTPUT; usage:"},
        {{"in.raw", "out.raw"}, "a .raw input needs its size"},
        {{"in.png", "out.raw", "--size=2x2"}, "--size is only for a .raw input"},
        {{"in.raw", "out.raw", "--size", "3x"}, "--size: '3x' is not a size"},
        {{"in.raw", "out.raw", "--size", "0x4"}, "--size: 0x4 is empty"},
        {{"in.raw", "out.raw", "--size=16777217x1"}, "--size: 16777217x1 is too large"},
        {{"in.raw", "out.raw", "--size=40000x40000"}, "--size: 40000x40000 is too large"},
        {{"in.raw", "out.raw", "--size"}, "--size needs a value"},
        {{"in.png", "out.png", "--background=0x1000000"}, "--background: 0x1000000 is out of"},
        {{"in.png", "out.png", "--background", "-1"}, "--background: -1 is out of range"},
        {{"in.png", "out.png", "--background=grey"}, "--background: 'grey' is not a number"},
        {{"in.png", "out.png", "--frob"}, "unknown option '--frob'; quillon-fx --help lists"},
        {{"in.png", "out.xyz"}, "output 'out.xyz': cannot write pictures of format 'xyz'"},
        {{"in.png", "out"}, "output 'out' has no ending"},
        {{"in.png", "out.png", "pal:11", "blur"}, "unknown operation 'blur'"},
    };
    for (const auto& [arguments, message] : cases) {
        const Result<FxPlan> plan = parse(arguments);
        ASSERT_FALSE(plan.ok()) << arguments.join(' ').toStdString();
        EXPECT_TRUE(plan.error().startsWith(QString::fromLatin1(message)))
            << arguments.join(' ').toStdString() << " -> " << plan.error().toStdString();
        EXPECT_FALSE(plan.error().contains(u'\n'));
    }
}

TEST(FxCommandLine, LargestAcceptedSizesStayWithinOnePlaneLimit) {
    EXPECT_TRUE(parse({"in.raw", "out.raw", "--size=16777216x1"}).ok());
    const QString most = QStringLiteral("--max-megapixels=%1").arg(kMostMegapixels);
    EXPECT_TRUE(parse({"in.raw", "out.raw", "--size=23170x23170", most}).ok());  // 2147395600 B
    EXPECT_FALSE(parse({"in.raw", "out.raw", "--size=23171x23171", most}).ok());
}

// 100 megapixels unless raised, and never beyond what one plane holds.
TEST(FxCommandLine, TheMegapixelLimitCanBeRaised) {
    const Result<FxPlan> usual = parse({"in.raw", "out.raw", "--size=12000x10000"});
    ASSERT_FALSE(usual.ok());
    EXPECT_TRUE(usual.error().startsWith(
        "--size: 12000x10000 is too large: 120.0 megapixels, more than the limit of 100 "
        "(raise it with --max-megapixels, at most 537)"))
        << usual.error().toStdString();
    const Result<FxPlan> raised =
        parse({"--max-megapixels", "120", "in.raw", "out.raw", "--size=12000x10000"});
    ASSERT_TRUE(raised.ok()) << raised.error().toStdString();
    EXPECT_EQ(raised.value().largestPixels, 120000000);
    EXPECT_EQ(parse({"in.png", "out.png"}).value().largestPixels, 100000000);
    for (const char* bad : {"0", "538", "-5", "1.5", "lots"}) {
        const Result<FxPlan> refused = parse({"in.png", "out.png", "--max-megapixels", bad});
        ASSERT_FALSE(refused.ok()) << bad;
        EXPECT_TRUE(refused.error().startsWith("--max-megapixels: ")) << bad;
    }
}

TEST(FxCommandLine, HelpAndVersionNeedNoPaths) {
    const Result<FxPlan> help = parse({"--help"});
    ASSERT_TRUE(help.ok());
    EXPECT_TRUE(help.value().helpRequested);
    const Result<FxPlan> version = parse({"--version", "--frob"});
    ASSERT_TRUE(version.ok()) << "nothing after it is read";
    EXPECT_TRUE(version.value().versionRequested);
}

}  // namespace
}  // namespace quillon::fx
