#include "save/PngStream.h"

#include "save/FastDeflate.h"
#include "save/PngRows.h"
#include "save/SplitDeflate.h"

#include <libdeflate.h>

#include <algorithm>
#include <atomic>
#include <span>
#include <system_error>
#include <thread>
#include <vector>

namespace pngstream {
namespace {

// Enough bytes per band that its first 32 KiB, compressed without the history before it, cost
// little; few enough that the threads share the work evenly.
constexpr int rowsPerBand = 64;
// Past this ratio of row bytes to compressed bytes, the stronger compressor pays.
constexpr qsizetype flatRatio = 32;

struct Band {
    int first = 0, end = 0;
    bool up = false; // which of the two filterings compressed smaller
    splitdeflate::Part part;
    bool ok = false;
};

// One thread's buffers for the two filterings of a band, reused from band to band.
struct Candidates {
    explicit Candidates(qsizetype rowBytes)
        : none(static_cast<size_t>(rowsPerBand) * static_cast<size_t>(rowBytes)), up(none.size()) {}
    std::vector<uchar> none, up;
};

struct Work {
    const QImage& image;
    qsizetype rowBytes;
    std::vector<Band>& bands;
    std::atomic<size_t> next{0};
};

size_t bytesOf(const Band& band, qsizetype rowBytes) {
    return static_cast<size_t>(band.end - band.first) * static_cast<size_t>(rowBytes);
}

QByteArray copyOf(std::span<const uchar> bytes) {
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

void compressBand(Work& work, size_t index, FastDeflate& deflate, Candidates& rows) {
    Band& band = work.bands[index];
    const size_t size = bytesOf(band, work.rowBytes);
    pngrows::writeCandidates(work.image, band.first, band.end, rows.none.data(), rows.up.data());
    const bool last = index + 1 == work.bands.size();
    const auto none = deflate.compress(rows.none.data(), size, last);
    if (none.empty()) return;
    band.part.compressed = copyOf(none); // the next call reuses the compressor's buffer
    const auto up = deflate.compress(rows.up.data(), size, last);
    if (up.empty()) return;
    band.up = static_cast<qsizetype>(up.size()) < band.part.compressed.size();
    if (band.up) band.part.compressed = copyOf(up);
    band.part.adler = libdeflate_adler32(1, (band.up ? rows.up : rows.none).data(), size);
    band.part.length = static_cast<qsizetype>(size);
    band.ok = true;
}

void takeBands(Work& work) {
    FastDeflate deflate;
    Candidates rows(work.rowBytes);
    for (size_t i = work.next++; i < work.bands.size(); i = work.next++)
        compressBand(work, i, deflate, rows);
}

std::vector<Band> cut(int rows) {
    std::vector<Band> bands;
    for (int first = 0; first < rows; first += rowsPerBand) {
        Band band;
        band.first = first;
        band.end = std::min(rows, first + rowsPerBand);
        bands.push_back(std::move(band));
    }
    return bands;
}

void compressAll(Work& work, int workers) {
    std::vector<std::thread> helpers;
    const size_t count = std::clamp<size_t>(static_cast<size_t>(workers), 1, work.bands.size());
    for (size_t i = 1; i < count; ++i) {
        try {
            helpers.emplace_back([&work] { takeBands(work); });
        } catch (const std::system_error&) {
            break; // no thread to be had (a process at its limit): the ones running take every band
        }
    }
    takeBands(work);
    for (auto& h : helpers)
        h.join();
}

bool allCompressed(const std::vector<Band>& bands) {
    return std::all_of(bands.begin(), bands.end(), [](const Band& b) { return b.ok; });
}

qsizetype compressedSize(const std::vector<Band>& bands) {
    qsizetype size = 0;
    for (const Band& b : bands)
        size += b.part.compressed.size();
    return size;
}

QByteArray joined(std::vector<Band>& bands) {
    std::vector<splitdeflate::Part> parts;
    parts.reserve(bands.size());
    for (Band& b : bands)
        parts.push_back(std::move(b.part));
    return splitdeflate::zlibStream(parts);
}

// The same rows, filtered as each band chose, through the stronger compressor.
std::optional<QByteArray> compressedStrongly(const QImage& image, const std::vector<Band>& bands,
                                             int workers) {
    const qsizetype rowBytes = pngrows::rowBytes(image);
    return splitdeflate::compress(
        image.height(), rowBytes,
        [&](int first, int end, uchar* out) {
            for (const Band& b : bands) {
                const int from = std::max(first, b.first), to = std::min(end, b.end);
                if (from >= to) continue;
                pngrows::writeRows(image, from, to, b.up, out);
                out += static_cast<size_t>(to - from) * static_cast<size_t>(rowBytes);
            }
        },
        workers);
}

} // namespace

std::optional<QByteArray> compress(const QImage& image, int workers) {
    if (image.height() <= 0 || image.width() <= 0) return std::nullopt;
    const qsizetype rowBytes = pngrows::rowBytes(image);
    std::vector<Band> bands = cut(image.height());
    Work work{image, rowBytes, bands};
    compressAll(work, workers);

    const bool fast = allCompressed(bands);
    const qsizetype fastSize = fast ? compressedSize(bands) : 0;
    if (fast && fastSize * flatRatio > qsizetype(image.height()) * rowBytes) return joined(bands);
    auto strong = compressedStrongly(image, bands, workers);
    if (fast && (!strong || fastSize < strong->size())) return joined(bands);
    return strong;
}

} // namespace pngstream
