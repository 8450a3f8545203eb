#include "platform/Screens.h"

double Screens::primaryMaxY() const {
    const auto all = screens();
    return all.empty() ? 0.0 : all.front().frame.bottom();
}

std::optional<ScreenInfo> Screens::mainOrFirstScreen() const {
    if (auto main = mainScreen()) return main;
    const auto all = screens();
    if (all.empty()) return std::nullopt;
    return all.front();
}

std::optional<ScreenInfo> Screens::screenWithId(quint32 displayId) const {
    for (const auto& s : screens())
        if (s.displayId == displayId) return s;
    return std::nullopt;
}
