#include "save/PngStream.h"

#include "save/FastDeflate.h"
#include "save/PngRows.h"
#include "save/SplitDeflate.h"

#include <libdeflate.h>

#include <algorithm>
#include <atomic>
#include <cstring>
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
    splitdeflate::Part part;
    bool ok = false;
};

struct Work {
    const QImage& image;
    qsizetype rowBytes;
    uchar* rows; // every row, filtered as its band chose
    std::vector<Band>& bands;
    std::atomic<size_t> next{0};
};

void compressBand(Work& work, size_t index, FastDeflate& deflate, std::vector<uchar>& up, QByteArray& trial) {
    Band& band = work.bands[index];
    const size_t size = static_cast<size_t>(band.end - band.first) * static_cast<size_t>(work.rowBytes);
    uchar* none = work.rows + static_cast<size_t>(band.first) * static_cast<size_t>(work.rowBytes);
    pngrows::writeCandidates(work.image, band.first, band.end, none, up.data());
    const bool last = index + 1 == work.bands.size();
    QByteArray& kept = band.part.compressed;
    trial.clear();
    band.ok = deflate.compress(none, size, last, kept) && deflate.compress(up.data(), size, last, trial);
    if (band.ok && trial.size() < kept.size()) {
        kept.swap(trial);
        std::memcpy(none, up.data(), size);
    }
    band.part.adler = libdeflate_adler32(1, none, size);
    band.part.length = static_cast<qsizetype>(size);
}

void takeBands(Work& work) {
    FastDeflate deflate;
    std::vector<uchar> up(static_cast<size_t>(rowsPerBand) * static_cast<size_t>(work.rowBytes));
    QByteArray trial;
    for (size_t i = work.next++; i < work.bands.size(); i = work.next++)
        compressBand(work, i, deflate, up, trial);
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
    for (size_t i = 1; i < count; ++i)
        helpers.emplace_back([&work] { takeBands(work); });
    takeBands(work);
    for (auto& h : helpers)
        h.join();
}

// The fast stream, or none when a band failed.
std::optional<QByteArray> joined(std::vector<Band>& bands) {
    std::vector<splitdeflate::Part> parts;
    parts.reserve(bands.size());
    for (Band& b : bands) {
        if (!b.ok) return std::nullopt;
        parts.push_back(std::move(b.part));
    }
    return splitdeflate::zlibStream(parts);
}

} // namespace

std::optional<QByteArray> compress(const QImage& image, int workers) {
    const int rows = image.height();
    const qsizetype rowBytes = pngrows::rowBytes(image);
    if (rows <= 0 || image.width() <= 0) return std::nullopt;
    std::vector<uchar> chosen(static_cast<size_t>(rows) * static_cast<size_t>(rowBytes));
    std::vector<Band> bands = cut(rows);
    Work work{image, rowBytes, chosen.data(), bands};
    compressAll(work, workers);

    std::optional<QByteArray> fast = joined(bands);
    if (fast && fast->size() * flatRatio > static_cast<qsizetype>(chosen.size())) return fast;
    auto strong = splitdeflate::compress(
        rows, rowBytes,
        [&](int first, int end, uchar* out) {
            std::memcpy(out, chosen.data() + static_cast<size_t>(first) * static_cast<size_t>(rowBytes),
                        static_cast<size_t>(end - first) * static_cast<size_t>(rowBytes));
        },
        workers);
    if (fast && (!strong || fast->size() <= strong->size())) return fast;
    return strong;
}

} // namespace pngstream
