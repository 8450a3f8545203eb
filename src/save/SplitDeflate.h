#pragma once

#include <QByteArray>

#include <functional>
#include <optional>
#include <vector>

// One zlib stream (RFC 1950) made of independently compressed bands that run on several cores at
// once. Every band but the last is compressed by zlib and closed with a sync flush, which ends it
// on a byte boundary without ending the stream; the last band, compressed by libdeflate (about
// twice zlib's speed at the same level, but it can only end a stream), closes it. The bands are
// joined in order and the checksum is combined from theirs, so any inflater reads one ordinary
// stream; only matches across a band boundary are given up.
namespace splitdeflate {

inline constexpr int level = 6;

// Writes the uncompressed bytes of rows [first, end) to the buffer, rowBytes each.
using RowWriter = std::function<void(int first, int end, uchar* out)>;

// The stream of `rows` rows of `rowBytes` bytes each, cut into `bands` bands (at least one, fewer
// when there are too few rows to be worth it). None when a compressor fails.
std::optional<QByteArray> compress(int rows, qsizetype rowBytes, const RowWriter& writeRows, int bands);

// One part of a zlib stream: raw deflate blocks, all but the last part's ended by a sync flush,
// with the Adler-32 and the length of the bytes they hold.
struct Part {
    QByteArray compressed;
    quint32 adler = 1;
    qsizetype length = 0;
};

// The zlib stream of the parts in order: its header, their blocks, the checksum of the whole.
QByteArray zlibStream(const std::vector<Part>& parts);

// The bands worth running now: one per core that the load average leaves free, at least one.
int defaultBands();

} // namespace splitdeflate
