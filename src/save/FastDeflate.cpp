#include "save/FastDeflate.h"

namespace {

// ISA-L's level 2: its smallest output short of level 3, which is both slower and larger on
// screenshots.
constexpr int fastLevel = 2;

// Room for data that does not compress: stored blocks add five bytes per 64 KiB.
size_t bound(size_t size) {
    return size + size / 1024 + 1024;
}

} // namespace

FastDeflate::FastDeflate() : m_levelBuffer(ISAL_DEF_LVL2_DEFAULT) {
    isal_deflate_init(&m_stream);
}

std::span<const uchar> FastDeflate::compress(const uchar* data, size_t size, bool last) {
    isal_deflate_reset(&m_stream);
    m_stream.level = fastLevel;
    m_stream.level_buf = m_levelBuffer.data();
    m_stream.level_buf_size = static_cast<uint32_t>(m_levelBuffer.size());
    m_stream.flush = last ? NO_FLUSH : SYNC_FLUSH;
    m_stream.end_of_stream = last ? 1 : 0;

    if (m_out.size() < bound(size)) m_out.resize(bound(size));
    m_stream.next_in = const_cast<uchar*>(data);
    m_stream.avail_in = static_cast<uint32_t>(size);
    m_stream.next_out = m_out.data();
    m_stream.avail_out = static_cast<uint32_t>(m_out.size());
    const int status = isal_deflate(&m_stream);
    const auto done = last ? ZSTATE_END : ZSTATE_NEW_HDR;
    if (status != COMP_OK || m_stream.avail_in != 0 || m_stream.internal_state.state != done) return {};
    return {m_out.data(), m_out.size() - m_stream.avail_out};
}
