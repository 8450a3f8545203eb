#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// Enumerations stored as text. Each raw value equals its case name; conversion from text is an
// exact, case-sensitive match. Cases are listed in picker order.

template <typename E, std::size_t N> struct EnumText {
    std::array<const char*, N> raw;
    std::array<const char*, N> labels;
    E fallback;

    std::optional<E> fromRaw(const QString& text) const {
        for (std::size_t i = 0; i < N; ++i)
            if (text == QLatin1String(raw[i])) return static_cast<E>(i);
        return std::nullopt;
    }
    E fromRawOrFallback(const QString& text) const { return fromRaw(text).value_or(fallback); }
    QString rawValue(E value) const { return QString::fromLatin1(raw[static_cast<std::size_t>(value)]); }
    QString label(E value) const { return QString::fromUtf8(labels[static_cast<std::size_t>(value)]); }
    std::array<E, N> allCases() const {
        std::array<E, N> all{};
        for (std::size_t i = 0; i < N; ++i)
            all[i] = static_cast<E>(i);
        return all;
    }
};

enum class WindowBGStyle { wallpaper, transparent, solid, trimShadow };
enum class SaveFormat { png, autoFormat };
enum class AfterCropShow { thumbnail, editor };
enum class HidePreviewMode { manual, after3s, after10s };
enum class OCRLanguage { englishPlus, vietnamesePlus, autoLanguage };
enum class ConfirmationStyle { custom, system, none };

inline constexpr EnumText<WindowBGStyle, 4> windowBGStyleText{
    {"wallpaper", "transparent", "solid", "trimShadow"},
    {"Wallpaper", "Transparent", "Solid Color", "Trim shadow"},
    WindowBGStyle::transparent};
inline constexpr EnumText<SaveFormat, 2> saveFormatText{
    {"png", "auto"}, {"PNG", "Auto (PNG/JPEG)"}, SaveFormat::autoFormat};
inline constexpr EnumText<AfterCropShow, 2> afterCropShowText{
    {"thumbnail", "editor"}, {"Thumbnail", "Editor"}, AfterCropShow::editor};
inline constexpr EnumText<HidePreviewMode, 3> hidePreviewModeText{
    {"manual", "after3s", "after10s"},
    {"Manually (close button)", "After 3 seconds", "After 10 seconds"},
    HidePreviewMode::manual};
inline constexpr EnumText<OCRLanguage, 3> ocrLanguageText{
    {"englishPlus", "vietnamesePlus", "auto"}, {"English+", "Vietnamese+", "Auto"}, OCRLanguage::englishPlus};
inline constexpr EnumText<ConfirmationStyle, 3> confirmationStyleText{
    {"custom", "system", "none"},
    {"Custom Notification", "System Notification", "None"},
    ConfirmationStyle::custom};
