#include "app/CaptureHistory.h"

#include <QtConcurrent/QtConcurrentRun>

CaptureHistory::CaptureHistory(int compactAfterMs) {
    m_idle.setSingleShot(true);
    m_idle.setInterval(compactAfterMs);
    QObject::connect(&m_idle, &QTimer::timeout, &m_context, [this] { compact(); });
}

std::optional<CapturedImage> CaptureHistory::last() const {
    if (m_last) return m_last;
    if (!m_compacted) return std::nullopt;
    const QImage image = m_compacted->image();
    if (image.isNull()) return std::nullopt;
    return CapturedImage{image, m_compactedScale};
}

void CaptureHistory::record(const CapturedImage& image) {
    ++m_generation;
    m_last = image;
    m_compacted.reset();
    m_idle.start();
}

void CaptureHistory::compact() {
    if (!m_last) return;
    const quint64 generation = m_generation;
    const CapturedImage image = *m_last;
    QtConcurrent::run([pixels = image.image] {
        return CompactImage::from(pixels);
    }).then(&m_context, [this, generation, scale = image.scale](const CompactImage& compacted) {
        // A newer image has been recorded meanwhile, or the bytes could not be made.
        if (generation != m_generation || compacted.byteSize() == 0) return;
        m_compacted = compacted;
        m_compactedScale = scale;
        m_last.reset();
    });
}
