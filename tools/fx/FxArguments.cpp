#include "tools/fx/FxArguments.h"

#include "tools/fx/FxNumbers.h"
#include "tools/fx/FxOutput.h"

namespace quillon::fx {
namespace {

constexpr std::int64_t kMaxBackground = 0xFFFFFF;

// An option as "--name value" or "--name=value"; the value is read later in the first case.
struct OptionText {
    QString name;
    std::optional<QString> value;
};

OptionText splitOption(const QString& argument) {
    const qsizetype equals = argument.indexOf(u'=');
    if (equals < 0) return {argument, std::nullopt};
    return {argument.left(equals), argument.mid(equals + 1)};
}

Result<std::int64_t> parseMegapixels(const QString& text) {
    using Parsed = Result<std::int64_t>;
    const std::optional<std::int64_t> value = parseDecimal(text);
    if (!value) {
        return Parsed::failure(
            QStringLiteral("--max-megapixels: '%1' is not a whole number").arg(text));
    }
    if (*value < 1 || *value > kMostMegapixels) {
        return Parsed::failure(QStringLiteral("--max-megapixels: %1 is out of range (1..%2)")
                                   .arg(text)
                                   .arg(kMostMegapixels));
    }
    return *value * kPixelsPerMegapixel;
}

Result<std::uint32_t> parseBackground(const QString& text) {
    using Parsed = Result<std::uint32_t>;
    const std::optional<std::int64_t> value = parseInteger(text);
    if (!value) {
        return Parsed::failure(QStringLiteral("--background: '%1' is not a number").arg(text));
    }
    if (*value < 0 || *value > kMaxBackground) {
        return Parsed::failure(
            QStringLiteral("--background: %1 is out of range (0..0xFFFFFF)").arg(text));
    }
    return std::uint32_t(*value);
}

class CommandLineReader {
public:
    explicit CommandLineReader(const QStringList& arguments) : arguments_(arguments) {}
    Result<FxPlan> read();

private:
    using ValueReader = Status (CommandLineReader::*)(const QString& value);

    Status readOne(const QString& argument);
    Status readOption(const QString& argument);
    Result<QString> optionValue(const OptionText& option);
    static ValueReader valueReaderFor(const QString& name);
    Status readBackground(const QString& value);
    Status readSize(const QString& value);
    Status readMegapixels(const QString& value);
    Status readPositional(const QString& argument);
    Status finish();

    const QStringList& arguments_;
    qsizetype next_ = 0;
    QStringList paths_;
    FxPlan plan_;
};

Result<FxPlan> CommandLineReader::read() {
    while (next_ < arguments_.size()) {
        const Status status = readOne(arguments_[next_++]);
        if (!status.ok()) return Result<FxPlan>::failure(status.error());
        if (plan_.helpRequested || plan_.versionRequested) return plan_;
    }
    const Status complete = finish();
    if (!complete.ok()) return Result<FxPlan>::failure(complete.error());
    return plan_;
}

Status CommandLineReader::readOne(const QString& argument) {
    if (argument.startsWith(u'-') && argument.size() > 1) return readOption(argument);
    return readPositional(argument);
}

Status CommandLineReader::readOption(const QString& argument) {
    const OptionText option = splitOption(argument);
    if (option.name == u"--help" || option.name == u"-h") {
        plan_.helpRequested = true;
        return succeeded();
    }
    if (option.name == u"--version") {
        plan_.versionRequested = true;
        return succeeded();
    }
    const ValueReader reader = valueReaderFor(option.name);
    if (reader == nullptr) {
        return Status::failure(
            QStringLiteral("unknown option '%1'; quillon-fx --help lists the options")
                .arg(option.name));
    }
    const Result<QString> value = optionValue(option);
    if (!value.ok()) return Status::failure(value.error());
    return (this->*reader)(value.value());
}

CommandLineReader::ValueReader CommandLineReader::valueReaderFor(const QString& name) {
    if (name == u"--background") return &CommandLineReader::readBackground;
    if (name == u"--size") return &CommandLineReader::readSize;
    if (name == u"--max-megapixels") return &CommandLineReader::readMegapixels;
    return nullptr;
}

Status CommandLineReader::readBackground(const QString& value) {
    const Result<std::uint32_t> background = parseBackground(value);
    if (!background.ok()) return Status::failure(background.error());
    plan_.background = background.value();
    return succeeded();
}

Status CommandLineReader::readSize(const QString& value) {
    const Result<PictureSize> size = parsePictureSize(value);
    if (!size.ok()) return Status::failure(size.error());
    plan_.rawSize = size.value();
    return succeeded();
}

Status CommandLineReader::readMegapixels(const QString& value) {
    const Result<std::int64_t> pixels = parseMegapixels(value);
    if (!pixels.ok()) return Status::failure(pixels.error());
    plan_.largestPixels = pixels.value();
    return succeeded();
}

Result<QString> CommandLineReader::optionValue(const OptionText& option) {
    if (option.value) return *option.value;
    if (next_ < arguments_.size()) return arguments_[next_++];
    return Result<QString>::failure(QStringLiteral("%1 needs a value").arg(option.name));
}

Status CommandLineReader::readPositional(const QString& argument) {
    if (paths_.size() < 2) {
        paths_.append(argument);
        return succeeded();
    }
    auto operation = parseOperation(argument);
    if (!operation.ok()) return Status::failure(operation.error());
    plan_.operations.push_back(std::move(operation.value()));
    return succeeded();
}

Status CommandLineReader::finish() {
    if (paths_.size() < 2) {
        const QString missing = paths_.isEmpty() ? QStringLiteral("INPUT and OUTPUT") : "OUTPUT";
        return Status::failure(QStringLiteral("missing %1; %2").arg(missing, usageLine()));
    }
    plan_.input = paths_[0];
    plan_.output = paths_[1];
    if (isRawPath(plan_.input) && !plan_.rawSize) {
        return Status::failure(
            QStringLiteral("a .raw input needs its size: --size WxH (input '%1')")
                .arg(plan_.input));
    }
    if (!isRawPath(plan_.input) && plan_.rawSize) {
        return Status::failure(
            QStringLiteral("--size is only for a .raw input; a picture file brings its own size"));
    }
    if (plan_.rawSize) {
        const Status counted = checkPixelCount(plan_.rawSize->width, plan_.rawSize->height,
                                               plan_.largestPixels, QStringLiteral("--size"));
        if (!counted.ok()) return counted;
    }
    return checkOutputFormat(plan_.output);
}

}  // namespace

QString usageLine() {
    return QStringLiteral(
        "usage: quillon-fx INPUT OUTPUT [OPERATION ...] [--size WxH] [--background 0xBBGGRR] "
        "[--max-megapixels N]");
}

bool isRawPath(const QString& path) {
    return path.endsWith(u".raw", Qt::CaseInsensitive);
}

Result<FxPlan> parseCommandLine(const QStringList& arguments) {
    return CommandLineReader(arguments).read();
}

}  // namespace quillon::fx
