#include "capture/CompactImage.h"

#include <libdeflate.h>

#include <memory>

namespace {
// The fastest level: the pixels are kept for minutes, not stored, and flat screens compress well
// at any level.
constexpr int compressionLevel = 1;
// The row length QImage gives an image it allocates itself (32-bit aligned rows).
qsizetype ownBytesPerLine(const QImage& image) {
    return ((static_cast<qsizetype>(image.width()) * image.depth() + 31) >> 5) << 2;
}
} // namespace

CompactImage CompactImage::from(const QImage& given) {
    CompactImage compact;
    if (given.isNull()) return compact;
    // Pixels over foreign memory may have longer rows than the image made back would have.
    const QImage image = given.bytesPerLine() == ownBytesPerLine(given) ? given : given.copy();
    compact.m_size = image.size();
    compact.m_bytesPerLine = image.bytesPerLine();
    compact.m_format = image.format();
    compact.m_dotsPerMeterX = image.dotsPerMeterX();
    compact.m_dotsPerMeterY = image.dotsPerMeterY();
    compact.m_devicePixelRatio = image.devicePixelRatio();
    compact.m_colorSpace = image.colorSpace();
    compact.m_colorTable = image.colorTable();
    for (const QString& key : image.textKeys())
        compact.m_text.insert(key, image.text(key));
    std::unique_ptr<libdeflate_compressor, decltype(&libdeflate_free_compressor)> compressor(
        libdeflate_alloc_compressor(compressionLevel), libdeflate_free_compressor);
    if (!compressor) return {};
    const auto raw = static_cast<size_t>(image.sizeInBytes());
    compact.m_deflated.resize(
        static_cast<qsizetype>(libdeflate_deflate_compress_bound(compressor.get(), raw)));
    const size_t written =
        libdeflate_deflate_compress(compressor.get(), image.constBits(), raw, compact.m_deflated.data(),
                                    static_cast<size_t>(compact.m_deflated.size()));
    if (written == 0) return {};
    compact.m_deflated.resize(static_cast<qsizetype>(written));
    compact.m_deflated.squeeze();
    return compact;
}

QImage CompactImage::image() const {
    if (m_format == QImage::Format_Invalid) return {};
    QImage image(m_size, m_format);
    if (image.isNull() || image.bytesPerLine() != m_bytesPerLine) return {};
    std::unique_ptr<libdeflate_decompressor, decltype(&libdeflate_free_decompressor)> decompressor(
        libdeflate_alloc_decompressor(), libdeflate_free_decompressor);
    if (!decompressor) return {};
    const libdeflate_result result = libdeflate_deflate_decompress(
        decompressor.get(), m_deflated.constData(), static_cast<size_t>(m_deflated.size()), image.bits(),
        static_cast<size_t>(image.sizeInBytes()), nullptr);
    if (result != LIBDEFLATE_SUCCESS) return {};
    image.setDotsPerMeterX(m_dotsPerMeterX);
    image.setDotsPerMeterY(m_dotsPerMeterY);
    image.setDevicePixelRatio(m_devicePixelRatio);
    image.setColorSpace(m_colorSpace);
    image.setColorTable(m_colorTable);
    for (auto it = m_text.cbegin(); it != m_text.cend(); ++it)
        image.setText(it.key(), it.value());
    return image;
}
