#include "characters/body_strings.h"

#include "core/reports.h"
#include "core/status_line.h"
#include "core/utilities.h"
#include "game/game_text.h"
#include "game/neighbourhood_name.h"
#include "iff/chunk_search.h"

namespace adultify {

namespace {

constexpr unsigned kBodyStringTableId = 200;
const char* const kNotListed = "The body strings could not be listed.";

// Walks the entries; a table cut short by the end of the file ends the walk there.
void ListEntries(Module1& m, const Bytes& data, Position q) {
    const auto size = static_cast<Position>(data.size());
    auto at = [&](Position p) { return data[static_cast<std::size_t>(p - 1)]; };
    SetStatus(m, "Get NumRec");
    // Only the count's low byte is read; the walk starts at its high byte.
    const int n = q + kStringCountOffset <= size ? at(q + kStringCountOffset) : 0;
    Position p = q + kStringCountOffset + 1;
    for (int k = 1; k <= n; ++k) {
        SetStatus(m, std::to_string(k) + "/" + std::to_string(n));
        std::uint8_t c = 0;
        do {
            if (p > size) return;
            c = at(p++);
        } while (c != 1);
        SetStatus(m, "Find End");
        Bytes value;
        while (p <= size && (c = at(p)) != 0) {
            value.push_back(c);
            ++p;
        }
        SetStatus(m, "Add to List");
        m.ui.ListAdd("List2", std::to_string(k) + ":" + DecodeName(m.game, value));
        if (p > size) return;
    }
}

} // namespace

void menu_iff_Click(Module1& m) {
    SetStatus(m, "menu_iff_Click()");
    const int last = m.ui.ListCount("List1") - 1;
    for (int i = 0; i <= last; ++i) {
        SetStatus(m, "menu_iff_Click(" + std::to_string(i) + "/" + std::to_string(last) + ")");
        if (!m.ui.ListSelected("List1", i)) continue;
        SetStatus(m, "Get IFF Name");
        if (m.ui.Caption("Combo1").empty()) {
            SetStatus(m, "Idle");
            return;
        }
        const auto path =
            ChosenUserFilePath(m, m.hood.People[static_cast<std::size_t>(i)].UserFile);
        if (!path) {
            ReportRefusal(m, kNotListed, CharactersFolder(m.game.SimsPath, ChosenHood(m)),
                          "the resident's file name could lead outside the Characters folder");
            continue;
        }
        if (FileExists(m, *path) != kTrue && !m.fs.EntryExists(*path)) continue; // no file
        SetStatus(m, "Open IFF");
        SetStatus(m, "Len IFF");
        SetStatus(m, "Get IFF");
        auto data = m.fs.ReadFile(*path, kLargestCharacterFile);
        SetStatus(m, "Close IFF");
        if (!data) {
            ReportFileError(m, kNotListed, data.error());
            continue;
        }
        m.hood.UserFileData = std::move(data.value());
        SetStatus(m, "Look for STR#");
        const Position q =
            FindChunk(m.hood.UserFileData, "STR#", kBodyStringTableId, kChunkFlagsUsual,
                      [&m] { SetStatus(m, "Looking for bodystring"); });
        if (q == 0) {
            ++m.outcomes.refusals;
            (void)m.ui.ShowMessage("The File [" + m.fs.NativePath(*path) +
                                       "] has no body-string table (STR# 200).",
                                   MsgButtons::Ok, MsgIcon::Critical, "Body Strings");
            continue;
        }
        ListEntries(m, m.hood.UserFileData, q);
    }
    SetStatus(m, "Idle");
}

} // namespace adultify
