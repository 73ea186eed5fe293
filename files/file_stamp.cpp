#include "files/file_stamp.h"
#include "files/file_stamp_platform.h"

#include "files/safe_file.h"

#include <bit>
#include <cstring>

namespace adultify {

std::uint64_t Fnv1a64(const Bytes& bytes) {
    std::uint64_t hash = 0xcbf29ce484222325u;
    for (const std::uint8_t byte : bytes) {
        hash ^= byte;
        hash *= 0x100000001b3u;
    }
    return hash;
}

namespace {

constexpr std::uint64_t kPrime1 = 0x9E3779B185EBCA87u;
constexpr std::uint64_t kPrime2 = 0xC2B2AE3D27D4EB4Fu;

std::uint64_t Round(std::uint64_t acc, std::uint64_t word) {
    return std::rotl(acc + word * kPrime2, 31) * kPrime1;
}

std::uint64_t Load64(const std::uint8_t* p) {
    std::uint64_t word = 0;
    std::memcpy(&word, p, sizeof word);
    return word;
}

} // namespace

std::uint64_t StampHash(const Bytes& bytes) {
    const std::uint8_t* p = bytes.data();
    std::size_t n = bytes.size();
    // Each lane waits only for itself, so the four rounds of a step run side by side.
    std::uint64_t lanes[4] = {kPrime1 + kPrime2, kPrime2, 0, 0 - kPrime1};
    for (; n >= 32; p += 32, n -= 32)
        for (std::size_t i = 0; i < 4; ++i)
            lanes[i] = Round(lanes[i], Load64(p + 8 * i));
    std::uint64_t h = bytes.size();
    for (const std::uint64_t lane : lanes)
        h = Round(h, lane);
    for (; n >= 8; p += 8, n -= 8)
        h = Round(h, Load64(p));
    for (; n > 0; ++p, --n)
        h = Round(h, *p);
    // Every bit of the input reaches every bit of the answer.
    h ^= h >> 33;
    h *= kPrime2;
    h ^= h >> 29;
    h *= kPrime1;
    return h ^ (h >> 32);
}

FileStamp StampOf(const std::filesystem::path& path, const Bytes& bytesRead, BytesHash hash) {
    const DiskState disk = StatOf(path);
    return {disk.known ? disk.size : bytesRead.size(), disk.known ? disk.mtimeNs : kNoTime,
            hash(bytesRead)};
}

Change CompareWithDisk(const std::filesystem::path& path, const FileStamp& stamp, BytesHash hash) {
    const DiskState disk = StatOf(path);
    if (disk.gone) return Change::Gone;
    if (!disk.known || stamp.mtimeNs == kNoTime) return Change::Changed;
    if (disk.size != stamp.size || disk.mtimeNs != stamp.mtimeNs) return Change::Changed;
    // Equal size and time still re-hash: a same-size rewrite within one tick of a coarse
    // clock (2 s on FAT, a timer tick on Linux) or with its time put back looks unchanged,
    // and hashing a neighbourhood of a few MB costs a few milliseconds.
    auto bytes = ReadRegularFile(path, stamp.size);
    if (!bytes)
        return bytes.error().kind == FileErrorKind::NotFound ? Change::Gone : Change::Changed;
    return hash(bytes.value()) == stamp.hash ? Change::Same : Change::Changed;
}

} // namespace adultify
