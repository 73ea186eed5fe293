#include "files/file_stamp.h"
#include "files/file_stamp_platform.h"

#include "files/checksum.h"
#include "files/safe_file.h"

namespace adultify {

std::uint64_t Fnv1a64(const Bytes& bytes) {
    std::uint64_t hash = 0xcbf29ce484222325u;
    for (const std::uint8_t byte : bytes) {
        hash ^= byte;
        hash *= 0x100000001b3u;
    }
    return hash;
}

std::uint64_t StampHash(const Bytes& bytes) {
    return Crc32(bytes.data(), bytes.size());
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
