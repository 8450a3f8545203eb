#include "save/SplitDeflate.h"

#include <QThread>

#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <system_error>
#include <thread>
#include <vector>

namespace splitdeflate {
namespace {

// Fewer rows than this per band cost more in lost matches and thread start than they save.
constexpr int minRowsPerBand = 128;
// libdeflate's band is given this much more than each zlib band, so that all end at once.
constexpr double libdeflateWeight = 1.6;
// libdeflate takes its band whole; past this many bytes of rows the zlib bands, which take theirs
// a chunk at a time, have the rest, so a very tall picture never needs all its rows at once.
constexpr qsizetype maxLibdeflateBytes = qsizetype(32) << 20;
constexpr int rowsPerChunk = 64;

struct Band {
    int first = 0, end = 0;
    Part part;
    bool ok = false;
};

std::vector<uchar> rowsOf(const Band& band, qsizetype rowBytes, const RowWriter& writeRows) {
    std::vector<uchar> raw(static_cast<size_t>(band.end - band.first) * static_cast<size_t>(rowBytes));
    writeRows(band.first, band.end, raw.data());
    return raw;
}

// Feeds `size` bytes to the stream and appends what it writes to `out`, all of it when `flush`.
bool deflateChunk(z_stream& z, const uchar* data, size_t size, int flush, QByteArray& out) {
    z.next_in = const_cast<uchar*>(data);
    z.avail_in = static_cast<uInt>(size);
    do {
        const qsizetype at = out.size();
        const auto room = static_cast<qsizetype>(deflateBound(&z, z.avail_in)) + 64;
        if (out.capacity() < at + room) out.reserve(std::max(out.capacity() * 2, at + room));
        out.resize(at + room);
        z.next_out = reinterpret_cast<Bytef*>(out.data() + at);
        z.avail_out = static_cast<uInt>(room);
        const int status = deflate(&z, flush);
        out.resize(out.size() - static_cast<qsizetype>(z.avail_out));
        if (status != Z_OK && status != Z_BUF_ERROR) return false;
    } while (z.avail_in > 0 || z.avail_out == 0);
    return true;
}

// The band's rows are written and compressed a chunk at a time: a band of any height holds only
// one chunk uncompressed.
void compressWithZlib(Band& band, qsizetype rowBytes, const RowWriter& writeRows) {
    z_stream z{};
    if (deflateInit2(&z, level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) return;
    std::vector<uchar> chunk(static_cast<size_t>(rowsPerChunk) * static_cast<size_t>(rowBytes));
    uLong adler = 1;
    bool ok = true;
    for (int first = band.first; ok && first < band.end; first += rowsPerChunk) {
        const int end = std::min(band.end, first + rowsPerChunk);
        const size_t size = static_cast<size_t>(end - first) * static_cast<size_t>(rowBytes);
        writeRows(first, end, chunk.data());
        adler = libdeflate_adler32(static_cast<quint32>(adler), chunk.data(), size);
        ok = deflateChunk(z, chunk.data(), size, end == band.end ? Z_SYNC_FLUSH : Z_NO_FLUSH,
                          band.part.compressed);
    }
    deflateEnd(&z);
    band.ok = ok;
    band.part.adler = static_cast<quint32>(adler);
    band.part.length = qsizetype(band.end - band.first) * rowBytes;
}

void compressWithLibdeflate(Band& band, qsizetype rowBytes, const RowWriter& writeRows) {
    const std::vector<uchar> raw = rowsOf(band, rowBytes, writeRows);
    std::unique_ptr<libdeflate_compressor, decltype(&libdeflate_free_compressor)> compressor(
        libdeflate_alloc_compressor(level), libdeflate_free_compressor);
    if (!compressor) return;
    QByteArray& out = band.part.compressed;
    out.resize(static_cast<qsizetype>(libdeflate_deflate_compress_bound(compressor.get(), raw.size())));
    const size_t written = libdeflate_deflate_compress(compressor.get(), raw.data(), raw.size(), out.data(),
                                                       static_cast<size_t>(out.size()));
    band.ok = written > 0;
    out.resize(static_cast<qsizetype>(written));
    band.part.adler = libdeflate_adler32(1, raw.data(), raw.size());
    band.part.length = static_cast<qsizetype>(raw.size());
}

std::vector<Band> cut(int rows, qsizetype rowBytes, int bands) {
    bands = std::clamp(std::min(bands, rows / minRowsPerBand), 1, 64);
    const int libdeflateMostRows = static_cast<int>(std::max<qsizetype>(1, maxLibdeflateBytes / rowBytes));
    if (bands == 1 && rows > libdeflateMostRows) bands = 2;
    const int lastRows =
        bands == 1 ? rows
                   : std::clamp(static_cast<int>(rows * libdeflateWeight / ((bands - 1) + libdeflateWeight)),
                                1, libdeflateMostRows);
    const int zlibRows = rows - lastRows, zlibBands = bands - 1;
    std::vector<Band> out(static_cast<size_t>(bands));
    for (int i = 0; i < zlibBands; ++i) {
        out[static_cast<size_t>(i)].first = static_cast<int>(qint64(zlibRows) * i / zlibBands);
        out[static_cast<size_t>(i)].end = static_cast<int>(qint64(zlibRows) * (i + 1) / zlibBands);
    }
    out.back().first = zlibRows;
    out.back().end = rows;
    return out;
}

void appendBigEndian(QByteArray& out, quint32 v) {
    const char bytes[4] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
    out.append(bytes, 4);
}

} // namespace

std::optional<QByteArray> compress(int rows, qsizetype rowBytes, const RowWriter& writeRows, int bands) {
    if (rows <= 0 || rowBytes <= 0) return std::nullopt;
    std::vector<Band> parts = cut(rows, rowBytes, bands);
    std::vector<std::thread> workers;
    for (size_t i = 0; i + 1 < parts.size(); ++i) {
        try {
            workers.emplace_back([&, i] { compressWithZlib(parts[i], rowBytes, writeRows); });
        } catch (const std::system_error&) {
            compressWithZlib(parts[i], rowBytes, writeRows); // no thread to be had: this one does it
        }
    }
    compressWithLibdeflate(parts.back(), rowBytes, writeRows);
    for (auto& w : workers)
        w.join();

    std::vector<Part> joined;
    for (Band& b : parts) {
        if (!b.ok) return std::nullopt;
        joined.push_back(std::move(b.part));
    }
    return zlibStream(joined);
}

QByteArray zlibStream(const std::vector<Part>& parts) {
    QByteArray stream;
    qsizetype size = 6;
    for (const Part& p : parts)
        size += p.compressed.size();
    stream.reserve(size);
    stream.append(char(0x78)); // deflate, 32 KiB window
    stream.append(char(0x9c)); // default compression, header check bits
    uLong adler = 1;
    for (const Part& p : parts) {
        stream.append(p.compressed);
        adler = adler32_combine(adler, p.adler, p.length);
    }
    appendBigEndian(stream, static_cast<quint32>(adler));
    return stream;
}

int defaultBands() {
    // A band runs at once only on a core that is free: on a machine already busy with other work
    // a second thread waits for its turn and the split only adds the cost of lost matches.
    const int cores = std::clamp(QThread::idealThreadCount(), 1, 8);
    double load[1] = {0};
    if (getloadavg(load, 1) != 1) return cores;
    const int freeCores = static_cast<int>(cores - load[0] + 0.5); // the caller's own among them
    return std::clamp(freeCores, 1, cores);
}

} // namespace splitdeflate
