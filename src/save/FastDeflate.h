#pragma once

#include <QByteArray>

#include <isa-l/igzip_lib.h>

#include <vector>

// One thread's fast deflate compressor (ISA-L): several times libdeflate's speed on busy
// screenshots such as text, at about a fifth more bytes; far behind it on flat pictures, where its
// coding of long repeats is weak. Each call makes one independent part of a raw deflate stream.
class FastDeflate {
  public:
    FastDeflate();

    // Appends the deflate blocks of `data` to `out`: ended by a sync flush (on a byte boundary,
    // with the stream still open, so another part can follow) or, when `last`, as the end of the
    // stream. False when the compressor fails.
    bool compress(const uchar* data, size_t size, bool last, QByteArray& out);

  private:
    isal_zstream m_stream;
    std::vector<uint8_t> m_levelBuffer;
};
