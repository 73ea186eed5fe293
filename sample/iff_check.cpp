#include "sample/iff_check.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <tuple>

namespace adultify::sample {

namespace {

std::uint32_t BE32(const Bytes& d, std::size_t i) {
    return (std::uint32_t{d[i]} << 24) | (std::uint32_t{d[i + 1]} << 16) |
           (std::uint32_t{d[i + 2]} << 8) | d[i + 3];
}
std::uint32_t LE32(const Bytes& d, std::size_t i) {
    return d[i] | (std::uint32_t{d[i + 1]} << 8) | (std::uint32_t{d[i + 2]} << 16) |
           (std::uint32_t{d[i + 3]} << 24);
}

std::string CString(const Bytes& d, std::size_t& i, std::size_t end) {
    std::string s;
    while (i < end && d[i] != 0)
        s += static_cast<char>(d[i++]);
    ++i;
    return s;
}

} // namespace

std::vector<std::string> StringTableValues(const Bytes& data, std::vector<std::string>* problems) {
    std::vector<std::string> values;
    auto fail = [&](const std::string& why) {
        if (problems) problems->push_back(why);
        return values;
    };
    if (data.size() < 4 || data[0] != 0xFD || data[1] != 0xFF) return fail("not an FD FF table");
    const unsigned count = data[2] | (data[3] << 8);
    std::size_t i = 4;
    for (unsigned k = 0; k < count; ++k) {
        if (i >= data.size()) return fail("table ends inside entry " + std::to_string(k));
        if (data[i] < 1 || data[i] > 20)
            return fail("bad language byte in entry " + std::to_string(k));
        ++i;
        values.push_back(CString(data, i, data.size()));
        (void)CString(data, i, data.size());
        if (i > data.size()) return fail("entry " + std::to_string(k) + " runs past the data");
    }
    if (data.size() - i != count)
        return fail("expected " + std::to_string(count) + " pad bytes, found " +
                    std::to_string(data.size() - i));
    return values;
}

namespace {

CheckedChunk ChunkHeaderAt(const Bytes& file, std::size_t at) {
    CheckedChunk c;
    c.type.assign(reinterpret_cast<const char*>(&file[at]), 4);
    c.offset = static_cast<std::uint32_t>(at);
    c.size = BE32(file, at + 4);
    c.id = (file[at + 8] << 8) | file[at + 9];
    c.flags = (file[at + 10] << 8) | file[at + 11];
    std::size_t l = at + 12;
    c.label = CString(file, l, at + 76);
    return c;
}

// The problems of a string chunk's FD FF table, when it holds one.
void CheckStringTable(const Bytes& file, std::size_t at, const CheckedChunk& c,
                      std::vector<std::string>& problems) {
    if (c.type != "STR#" && c.type != "CTSS" && c.type != "FAMs") return;
    const Bytes data(file.begin() + static_cast<std::ptrdiff_t>(at + 76),
                     file.begin() + static_cast<std::ptrdiff_t>(at + c.size));
    if (data.size() < 2 || data[0] != 0xFD || data[1] != 0xFF) return;
    std::vector<std::string> tableProblems;
    (void)StringTableValues(data, &tableProblems);
    for (auto& p : tableProblems)
        problems.push_back(c.type + " " + std::to_string(c.id) + ": " + p);
}

// Walks the chunks from the header to the end; the rsmp's offset, 0 when there is none, or
// nothing when the chain breaks.
std::optional<std::size_t> WalkChunks(const Bytes& file, IffReport& report) {
    auto& problems = report.problems;
    std::size_t at = 64;
    std::size_t rsmpAt = 0;
    while (at < file.size()) {
        if (file.size() - at < 76) {
            problems.push_back("chunk header cut off at " + std::to_string(at));
            return std::nullopt;
        }
        const CheckedChunk c = ChunkHeaderAt(file, at);
        if (c.size < 76 || at + c.size > file.size()) {
            problems.push_back("chunk " + c.type + " at " + std::to_string(at) +
                               " runs past the end");
            return std::nullopt;
        }
        if (c.type == "rsmp") rsmpAt = at;
        CheckStringTable(file, at, c, problems);
        report.chunks.push_back(c);
        at += c.size;
    }
    return rsmpAt;
}

using Entry = std::tuple<std::string, std::uint32_t, unsigned, unsigned, std::string>;

// The chunks the rsmp at rsmpAt lists, sorted.
std::vector<Entry> ListedChunks(const Bytes& file, std::size_t rsmpAt) {
    std::vector<Entry> listed;
    const std::size_t end = rsmpAt + BE32(file, rsmpAt + 4);
    std::size_t i = rsmpAt + 76 + 16;
    const std::uint32_t lists = LE32(file, i);
    i += 4;
    for (std::uint32_t t = 0; t < lists && i + 8 <= end; ++t) {
        std::string type(reinterpret_cast<const char*>(&file[i]), 4);
        std::reverse(type.begin(), type.end()); // stored reversed
        const std::uint32_t n = LE32(file, i + 4);
        i += 8;
        for (std::uint32_t k = 0; k < n && i + 8 <= end; ++k) {
            const std::uint32_t offset = LE32(file, i);
            const unsigned id = file[i + 4] | (file[i + 5] << 8);
            const unsigned flags = file[i + 6] | (file[i + 7] << 8);
            i += 8;
            const std::size_t labelStart = i;
            const std::string label = CString(file, i, end);
            if ((i - labelStart) % 2 != 0) ++i; // labels are padded to an even length
            listed.emplace_back(type, offset, id, flags, label);
        }
    }
    std::sort(listed.begin(), listed.end());
    return listed;
}

// The chunks an rsmp has to list, sorted: all but itself and the deleted ones.
std::vector<Entry> LiveChunks(const std::vector<CheckedChunk>& chunks) {
    std::vector<Entry> live;
    for (const CheckedChunk& c : chunks)
        if (c.type != "rsmp" && c.type != "XXXX")
            live.emplace_back(c.type, c.offset, c.id, c.flags, c.label);
    std::sort(live.begin(), live.end());
    return live;
}

} // namespace

IffReport CheckIff(const Bytes& file) {
    IffReport report;
    auto& problems = report.problems;
    if (file.size() < 64 ||
        std::memcmp(file.data(), "IFF FILE 2.5:TYPE FOLLOWED BY SIZE", 34) != 0) {
        problems.push_back("no IFF header");
        return report;
    }
    const std::uint32_t rsmpOffset = BE32(file, 60);
    const std::optional<std::size_t> rsmpAt = WalkChunks(file, report);
    if (!rsmpAt) return report;
    if (*rsmpAt == 0) {
        problems.push_back("no rsmp chunk");
        return report;
    }
    if (rsmpOffset != *rsmpAt) problems.push_back("the header does not point at the rsmp chunk");
    const std::vector<Entry> listed = ListedChunks(file, *rsmpAt);
    const std::vector<Entry> live = LiveChunks(report.chunks);
    if (!std::includes(live.begin(), live.end(), listed.begin(), listed.end()))
        problems.push_back("the rsmp lists a chunk that is not there");
    for (CheckedChunk& c : report.chunks) {
        c.listed = std::binary_search(listed.begin(), listed.end(),
                                      Entry(c.type, c.offset, c.id, c.flags, c.label));
        if (!c.listed && c.type != "rsmp" && c.type != "XXXX") ++report.unlisted;
    }
    return report;
}

std::optional<CheckedChunk> FindCheckedChunk(const Bytes& file, std::string_view type,
                                             unsigned id) {
    std::optional<CheckedChunk> first;
    for (const CheckedChunk& c : CheckIff(file).chunks) {
        if (c.type != type || c.id != id) continue;
        if (c.listed) return c;
        if (!first) first = c;
    }
    return first;
}

} // namespace adultify::sample
