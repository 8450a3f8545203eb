#include "platform/PlatformBackends.h"

#include "platform/Platform.h"

#include <algorithm>

std::vector<PlatformBackend>& PlatformBackends::table() {
    static std::vector<PlatformBackend> backends;
    return backends;
}

void PlatformBackends::add(PlatformBackend backend) {
    auto& backends = table();
    const auto same = [&](const PlatformBackend& b) { return b.name == backend.name; };
    backends.erase(std::remove_if(backends.begin(), backends.end(), same), backends.end());
    backends.push_back(std::move(backend));
}

const PlatformBackend* PlatformBackends::find(const QString& name) {
    for (const PlatformBackend& b : table())
        if (b.name == name) return &b;
    return nullptr;
}

QStringList PlatformBackends::names() {
    QStringList list;
    for (const PlatformBackend& b : table())
        list << b.name;
    return list;
}

void PlatformBackends::clear() {
    table().clear();
}
