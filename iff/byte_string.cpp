#include "iff/byte_string.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <stdexcept>

namespace adultify {

Bytes ToBytes(std::string_view text) { return Bytes(text.begin(), text.end()); }

std::string_view AsText(const Bytes& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

namespace {

Position Search(const std::uint8_t* data, std::size_t size, const std::uint8_t* pattern,
                std::size_t patternSize, Position start) {
    if (start < 1) start = 1;
    const auto from = static_cast<std::size_t>(start - 1);
    if (from > size) return 0;
    if (patternSize == 0) return from < size ? start : 0;
    if (patternSize > size - from) return 0;
#ifdef __GLIBC__
    const void* hit = ::memmem(data + from, size - from, pattern, patternSize);
    if (hit == nullptr) return 0;
    return static_cast<const std::uint8_t*>(hit) - data + 1;
#else
    const std::boyer_moore_horspool_searcher searcher(pattern, pattern + patternSize);
    const auto hit = std::search(data + from, data + size, searcher);
    if (hit == data + size) return 0;
    return hit - data + 1;
#endif
}

void CheckRange(const Bytes& data, Position pos, Position count) {
    if (pos < 1 || pos + count - 1 > static_cast<Position>(data.size()))
        throw std::out_of_range("position " + std::to_string(pos) + " is outside the data of " +
                                std::to_string(data.size()) + " bytes");
}

} // namespace

Position FindBytes(const Bytes& data, const Bytes& pattern, Position start) {
    return Search(data.data(), data.size(), pattern.data(), pattern.size(), start);
}

Position FindBytes(const Bytes& data, std::string_view pattern, Position start) {
    return Search(data.data(), data.size(), reinterpret_cast<const std::uint8_t*>(pattern.data()),
                  pattern.size(), start);
}

std::uint8_t ByteAt(const Bytes& data, Position pos) {
    CheckRange(data, pos, 1);
    return data[static_cast<std::size_t>(pos - 1)];
}

void SetByteAt(Bytes& data, Position pos, std::uint8_t value) {
    CheckRange(data, pos, 1);
    data[static_cast<std::size_t>(pos - 1)] = value;
}

unsigned ReadU16LE(const Bytes& data, Position p) {
    CheckRange(data, p, 2);
    const auto i = static_cast<std::size_t>(p - 1);
    return data[i] + 256u * data[i + 1];
}

void WriteU16LE(Bytes& data, Position p, unsigned value) {
    if (value > 65535) throw std::out_of_range("16-bit value out of range");
    CheckRange(data, p, 2);
    const unsigned high = value / 256;
    const unsigned low = value - 256 * high;
    const auto i = static_cast<std::size_t>(p - 1);
    data[i] = static_cast<std::uint8_t>(low);
    data[i + 1] = static_cast<std::uint8_t>(high);
}

Bytes BytesPaddedWithBlanks(const Bytes& data, Position pos, std::size_t count) {
    Bytes out(count, 32);
    for (std::size_t k = 0; k < count; ++k) {
        const Position p = pos + static_cast<Position>(k);
        if (p >= 1 && p <= static_cast<Position>(data.size()))
            out[k] = data[static_cast<std::size_t>(p - 1)];
    }
    return out;
}

Bytes BytesClipped(const Bytes& data, Position pos, std::size_t count) {
    if (pos < 1 || pos > static_cast<Position>(data.size())) return {};
    const auto from = static_cast<std::size_t>(pos - 1);
    const std::size_t n = std::min(count, data.size() - from);
    return Bytes(data.begin() + static_cast<std::ptrdiff_t>(from),
                 data.begin() + static_cast<std::ptrdiff_t>(from + n));
}

} // namespace adultify
