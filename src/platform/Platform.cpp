#include "platform/Platform.h"

#include <QtGlobal>

namespace {
std::shared_ptr<Platform>& slot() {
    static std::shared_ptr<Platform> installed;
    return installed;
}
} // namespace

Platform::~Platform() = default;

Platform& Platform::current() {
    Q_ASSERT_X(slot(), "Platform::current", "no platform installed");
    return *slot();
}

bool Platform::isInstalled() {
    return slot() != nullptr;
}

std::shared_ptr<Platform> Platform::shared() {
    return slot();
}

void Platform::install(std::unique_ptr<Platform> platform) {
    slot() = std::move(platform);
}
