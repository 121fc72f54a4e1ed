#include "tests/support/FakeMediaPlayback.h"

#include <QLocale>

namespace quillon::testing {

platform::MediaOpenResult FakeMediaPlayback::open(const QString& path) {
    calls << QStringLiteral("open ") + path;
    if (!openFailure.isEmpty()) return platform::MediaOpenResult::failure(openFailure);
    return durationMs;
}

void FakeMediaPlayback::record(const char* command, double argument) {
    calls << QLatin1String(command) + u' ' +
                 QString::number(argument, 'g', QLocale::FloatingPointShortest);
}

ScopedFakeMediaPlayback::ScopedFakeMediaPlayback()
    : maker_([this] {
          auto fake = std::make_unique<FakeMediaPlayback>();
          last = fake.get();
          return std::unique_ptr<platform::MediaPlayback>(std::move(fake));
      }) {}

}  // namespace quillon::testing
