#include "app/window/HandlerErrors.h"

#include <new>
#include <stdexcept>

#include "platform/core/Application.h"
#include "platform/core/MessageBox.h"

namespace quillon {

QString runTimeErrorText(const std::exception& error) {
    if (dynamic_cast<const std::overflow_error*>(&error) != nullptr)
        return QStringLiteral("Run-time error '6':\n\nOverflow");
    if (dynamic_cast<const std::bad_alloc*>(&error) != nullptr)
        return QStringLiteral("Run-time error '7':\n\nOut of memory");
    return QStringLiteral("Run-time error:\n\n") + QString::fromLocal8Bit(error.what());
}

void reportRunTimeError(const std::exception& error) {
    platform::messages().show(platform::applicationTitle(), runTimeErrorText(error),
                              platform::MessageIcon::Critical);
}

}  // namespace quillon
