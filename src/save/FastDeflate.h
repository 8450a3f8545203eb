#pragma once

#include <QtGlobal>

#include <isa-l/igzip_lib.h>

#include <span>
#include <vector>

// One thread's fast deflate compressor (ISA-L): several times libdeflate's speed on busy
// screenshots such as text, at about a fifth more bytes; far behind it on flat pictures, where its
// coding of long repeats is weak. Each call makes one independent part of a raw deflate stream.
class FastDeflate {
  public:
    FastDeflate();

    // The deflate blocks of `data`: ended by a sync flush (on a byte boundary, with the stream
    // still open, so another part can follow) or, when `last`, as the end of the stream. The
    // bytes stay valid until the next call; empty when the compressor fails.
    std::span<const uchar> compress(const uchar* data, size_t size, bool last);

  private:
    isal_zstream m_stream;
    std::vector<uint8_t> m_levelBuffer;
    std::vector<uchar> m_out; // kept from call to call: a fresh buffer per part costs page faults
};
