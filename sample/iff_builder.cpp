#include "sample/iff_builder.h"

#include <algorithm>
#include <map>
#include <stdexcept>

namespace adultify::sample {

void PutU16(Bytes& out, unsigned v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

void PutU32(Bytes& out, std::uint32_t v) {
    for (int k = 0; k < 4; ++k)
        out.push_back(static_cast<std::uint8_t>((v >> (8 * k)) & 0xFF));
}

void PutText(Bytes& out, std::string_view text) {
    out.insert(out.end(), text.begin(), text.end());
}

namespace {

void PutBE32(Bytes& out, std::uint32_t v) {
    for (int k = 3; k >= 0; --k)
        out.push_back(static_cast<std::uint8_t>((v >> (8 * k)) & 0xFF));
}

void PutBE16(Bytes& out, unsigned v) {
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
}

void PutChunk(Bytes& out, const Chunk& c) {
    if (c.type.size() != 4) throw std::invalid_argument("chunk type must have 4 characters");
    if (c.label.size() > 63) throw std::invalid_argument("chunk label too long");
    PutText(out, c.type);
    PutBE32(out, static_cast<std::uint32_t>(76 + c.data.size()));
    PutBE16(out, c.id);
    PutBE16(out, c.flags);
    Bytes label(64, 0);
    std::copy(c.label.begin(), c.label.end(), label.begin());
    out.insert(out.end(), label.begin(), label.end());
    out.insert(out.end(), c.data.begin(), c.data.end());
}

} // namespace

Bytes StringTable(const std::vector<StringEntry>& entries, std::uint8_t pad) {
    Bytes out = {0xFD, 0xFF};
    PutU16(out, static_cast<unsigned>(entries.size()));
    for (const StringEntry& e : entries) {
        out.push_back(e.language);
        PutText(out, e.value);
        out.push_back(0);
        PutText(out, e.comment);
        out.push_back(0);
    }
    out.insert(out.end(), entries.size(), pad);
    return out;
}

Bytes BuildIff(const std::vector<Chunk>& chunks) {
    Bytes out;
    PutText(out, "IFF FILE 2.5:TYPE FOLLOWED BY SIZE");
    out.push_back(0);
    PutText(out, " JAMIE DOORNBOS & MAXIS 1");
    out.resize(60, 0);
    PutBE32(out, 0); // rsmp offset, filled in below

    // Type lists in order of first appearance, as the game writes them.
    std::vector<std::string> order;
    std::map<std::string, std::vector<std::pair<std::uint32_t, const Chunk*>>> byType;
    for (const Chunk& c : chunks) {
        const auto offset = static_cast<std::uint32_t>(out.size());
        PutChunk(out, c);
        if (c.type == "XXXX" || !c.listed) continue;
        if (!byType.count(c.type)) order.push_back(c.type);
        byType[c.type].emplace_back(offset, &c);
    }

    Bytes map;
    PutU32(map, 0);
    PutU32(map, 0);
    PutText(map, "pmsr");
    PutU32(map, 0); // size, unreliable in real files; filled below
    PutU32(map, static_cast<std::uint32_t>(order.size()));
    for (const std::string& type : order) {
        PutText(map, std::string(type.rbegin(), type.rend()));
        PutU32(map, static_cast<std::uint32_t>(byType[type].size()));
        for (const auto& [offset, c] : byType[type]) {
            PutU32(map, offset);
            PutU16(map, c->id);
            PutU16(map, c->flags);
            PutText(map, c->label);
            map.push_back(0);
            if ((c->label.size() + 1) % 2 != 0) map.push_back(0);
        }
    }
    const auto mapSize = static_cast<std::uint32_t>(76 + map.size());
    for (int k = 0; k < 4; ++k)
        map[12 + k] = static_cast<std::uint8_t>((mapSize >> (8 * k)) & 0xFF);

    const auto rsmpOffset = static_cast<std::uint32_t>(out.size());
    PutChunk(out, Chunk{"rsmp", 0, 0x0010, "", map});
    for (int k = 0; k < 4; ++k)
        out[60 + k] = static_cast<std::uint8_t>((rsmpOffset >> (8 * (3 - k))) & 0xFF);
    return out;
}

} // namespace adultify::sample
