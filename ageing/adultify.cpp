#include "ageing/adultify.h"

#include "core/reports.h"
#include "core/status_line.h"
#include "core/utilities.h"
#include "game/game_text.h"
#include "game/game_writes.h"
#include "game/neighbourhood_name.h"
#include "game/save_hood.h"
#include "hood/before_command.h"
#include "hood/get_people.h"
#include "hood/resident_layout.h"
#include "hood/resident_view.h"
#include "iff/character_file.h"
#include "iff/chunk_search.h"

#include <cmath>
#include <cstring>

namespace adultify {

namespace {

const Bytes kNineEntry = {0x01, '9', 0x00, 0x00}; // language 1, "9", its zero, an empty comment
constexpr unsigned kBodyStringTableId = 200;
// The chunk's size field counts its header; its last two bytes are the table's pad bytes.
constexpr Position kTableEndBack = 3;

void Report(Module1& m, const std::string& text) {
    (void)m.ui.ShowMessage(text, MsgButtons::Ok, MsgIcon::Critical, "Fatal Error");
}

// Age, career, personality and skills of the entry whose user-file text is at u.
void GrowUpEntry(Module1& m, Position u) {
    SetByteAt(m.hood.HoodData, u + resident::kAge, resident::kAgeAdult);
    AddLogLine(m, "Unemploying Sim");
    SetByteAt(m.hood.HoodData, u + resident::kCareer, 0);
    SetByteAt(m.hood.HoodData, u + resident::kCareer + 1, 0);
    SetByteAt(m.hood.HoodData, u + resident::kCareerLevel, 0);
    if (m.ui.IsChecked("menu_personality")) {
        AddLogLine(m, "Adjusting Personality due to life experience");
        const auto traits = DrawPersonality(m);
        for (std::size_t t = 0; t < kTraitRows.size(); ++t)
            WriteU16LE(m.hood.HoodData, u + kTraitRows[t].offset,
                       static_cast<unsigned>(traits[t] * 100));
    }
    AddLogLine(m, "Adjusting Skills");
    for (const SkillRow& row : kSkillRows)
        WriteU16LE(m.hood.HoodData, u + row.offset, 0);
}

// The character file's grown-up image; nothing when the command stops (with the neighbourhood
// data restored and the reason told).
std::optional<Bytes> GrowUpCharacterFile(Module1& m, const std::string& path,
                                         const Bytes& hoodBefore) {
    auto data = m.fs.ReadFile(path, kLargestCharacterFile);
    if (!data) {
        m.hood.HoodData = hoodBefore;
        ReportFileError(m, "The character file could not be read. Nothing has been changed.",
                        data.error());
        m.outcomes.notSavedBecause = NotSavedReason(data.error());
        return std::nullopt;
    }
    RememberRead(m, path, data.value());
    m.hood.UserFileData = data.value();
    Bytes edited = std::move(data.value());
    const BodyStringEdit edit = EditBodyStrings(edited);
    AddLogLine(m, "Doing byte shuffle");
    if (!edit.ok) {
        const std::string text =
            "Invalid User File. The File [" + m.fs.NativePath(path) + "] " + edit.problem;
        if (edit.fatal) {
            Report(m, text);
            EndProgramNow(m, kExitFatal);
        }
        m.hood.HoodData = hoodBefore;
        ++m.outcomes.refusals;
        m.outcomes.notSavedBecause = "the character file's body strings cannot be changed";
        Report(m, text + ". Nothing has been changed.");
        return std::nullopt;
    }
    AddLogLine(m, "Adultify completed. Saving Files");
    return edited;
}

// Writes the character file and the neighbourhood together: both change, or neither, also
// when the program is stopped half-way.
bool SaveBoth(Module1& m, const std::optional<std::string>& path,
              const std::optional<Bytes>& character, const Bytes& hoodBefore,
              const WriteCause& cause) {
    AddLogLine(m, "Backing up Neighbourhood");
    std::optional<Replacement> hood = HoodReplacement(m);
    std::vector<Replacement> changes;
    if (character) changes.push_back({*path, *character, std::nullopt});
    if (hood) changes.push_back(std::move(*hood));
    if (!hood || !WriteGameFiles(m, std::move(changes), "Nothing has been changed.", cause)) {
        m.hood.HoodData = hoodBefore;
        return false;
    }
    if (character) m.hood.UserFileData = *character;
    MarkSaved(m);
    return true;
}

// The whole command for List1 line i; false when it stopped before its end.
bool AdultifyResident(Module1& m, int i) {
    AddLogLine(m, "Found.");
    AddLogLine(m, "Initiating Adultify process");
    const PersonRecord record = m.hood.People[static_cast<std::size_t>(i)];
    const Bytes hoodBefore = m.hood.HoodData;
    const Position u = FindBytes(m.hood.HoodData, record.UserFile, 1);
    if (u == 0 || u + resident::kAge > static_cast<Position>(m.hood.HoodData.size())) {
        ++m.outcomes.refusals;
        m.outcomes.notSavedBecause =
            "the resident's entry was not found whole in the neighbourhood";
        Report(m, "The resident's entry was not found whole in the neighbourhood. Nothing has "
                  "been changed.");
        return false;
    }
    GrowUpEntry(m, u);
    AddLogLine(m, "Continuing Adultify Process");
    AddLogLine(m, "with USERxxxxx.IFF");
    if (m.ui.Caption("Combo1").empty()) {
        m.outcomes.notSavedBecause = "no neighbourhood is chosen";
        return false;
    }

    const auto path = ChosenUserFilePath(m, record.UserFile);
    std::optional<Bytes> character;
    if (path && FileExists(m, *path) == kTrue) {
        character = GrowUpCharacterFile(m, *path, hoodBefore);
        if (!character) return false;
    } else if (path && m.fs.EntryExists(*path)) {
        // Something is there, but not a file the program may read: growing up the
        // neighbourhood's record alone would leave the two disagreeing.
        m.hood.HoodData = hoodBefore;
        ReportRefusal(m,
                      "The character file is not a file that can be read. Nothing has been "
                      "changed.",
                      *path, "not a regular file");
        m.outcomes.notSavedBecause = "the character file is not a file that can be read";
        return false;
    }
    if (!SaveBoth(m, path, character, hoodBefore,
                  {"adultify", DecodeName(m.game, record.UserFile), ResidentName(m.game, record)}))
        return false;
    m.ui.SetEnabled("Command1", false);
    // No character file is read again: the one written is in memory, the others are unchanged.
    KnownFirstNames known = FirstNamesRead(m.hood);
    const std::string userFile(AsText(record.UserFile));
    known.erase(userFile);
    if (character) {
        FirstNameResult name = FirstNameOf(*character);
        if (name.outcome == FirstNameResult::Outcome::Found) known[userFile] = std::move(name.name);
    }
    Get_People(m, known);
    return true;
}

} // namespace

std::array<int, 5> DrawPersonality(Module1& m) {
    constexpr int kPoints = 30, kMostPerTrait = 10;
    m.random.Seed(m.clock.TimeOfDay());
    auto draw = [&] { return static_cast<int>(std::floor(m.random.Next() * 5.0f)); };
    int points = kPoints;
    std::array<std::int16_t, 6> counters{};
    for (;;) {
        const int r = draw();
        if (r <= points) {
            const int k = draw();
            counters[static_cast<std::size_t>(k)] =
                static_cast<std::int16_t>(counters[static_cast<std::size_t>(k)] + r);
            points -= r;
        }
        if (points <= 0) {
            for (auto& c : counters)
                if (c > kMostPerTrait) {
                    points += c - kMostPerTrait;
                    c = kMostPerTrait;
                }
            if (points <= 0) break;
        }
    }
    return {counters[0], counters[1], counters[2], counters[3], counters[4]};
}

BodyStringEdit EditBodyStrings(Bytes& data) {
    const Position q = FindChunk(data, "STR#", kBodyStringTableId, kChunkFlagsUsual);
    if (q == 0) return {false, "has no body-string table (STR# 200)"};
    // The first value is the age word.
    const Position b = q + kFirstStringOffset;
    if (b + 4 <= static_cast<Position>(data.size()) &&
        std::memcmp(&data[static_cast<std::size_t>(b - 1)], "child", 5) == 0)
        std::memcpy(&data[static_cast<std::size_t>(b - 1)], "adult", 5);
    Position p = FindBytes(data, kNineEntry, b);
    const Position e = q + static_cast<Position>(ChunkSize16(data, q)) - kTableEndBack;
    if (e <= 0) return {false, "appears to be an invalid file, Cannot continue", true};
    if (p == 0) return {false, "has no body string \"9\" in its body-string table"};
    if (e > static_cast<Position>(data.size()))
        return {false, "has a body-string table that runs past the end of the file"};
    p += 2; // the value's terminating zero
    const Position n = e - p;
    // With nothing to move, the value's own zero would be overwritten.
    if (n <= 0) return {false, "has its body string \"9\" outside the body-string table"};
    std::memmove(&data[static_cast<std::size_t>(p)], &data[static_cast<std::size_t>(p - 1)],
                 static_cast<std::size_t>(n));
    data[static_cast<std::size_t>(p - 2)] = '2';
    data[static_cast<std::size_t>(p - 1)] = '7';
    return {true, {}};
}

namespace {

// The files the command writes for the resident: the neighbourhood's and its character file.
std::vector<std::string> FilesOf(Module1& m, const PersonRecord& record) {
    std::vector<std::string> files;
    if (m.ui.Caption("Combo1").empty()) return files;
    files.push_back(HoodFile(m.game.SimsPath, ChosenHood(m)));
    if (const auto path = ChosenUserFilePath(m, record.UserFile)) files.push_back(*path);
    return files;
}

// The line that shows the resident after the list was read again: the same line, unless the
// file was read differently.
int LineOf(const Module1& m, const Bytes& userFile, int line) {
    auto at = [&](int k) {
        return m.hood.People[static_cast<std::size_t>(k)].UserFile == userFile;
    };
    if (line < m.hood.RecordCount && at(line)) return line;
    for (int k = 0; k < m.hood.RecordCount; ++k)
        if (at(k)) return k;
    return -1;
}

} // namespace

bool GrowUpResident(Module1& m, int line) {
    m.ui.ListClear("List2");
    m.outcomes.notSavedBecause.clear();
    const PersonRecord record = m.hood.People[static_cast<std::size_t>(line)];
    bool done = ReadyToWrite(m, FilesOf(m, record));
    if (done) {
        AddLogLine(m, "Starting Adultify process");
        AddLogLine(m, "Searching Neighbourhood");
        done = AdultifyResident(m, line);
    }
    m.editing.askedBeforeWork = false;
    if (!done) {
        AddLogLine(m, NothingSavedText(m.outcomes));
        SetStatus(m, NothingSavedText(m.outcomes));
        return false;
    }
    AddLogLine(m, "Adultify is Finished");
    return true;
}

void Adultify_Command1_Click(Module1& m) {
    // The button cannot be pressed without a resident: nothing is claimed for nobody.
    const int line = SelectedResident(m);
    if (line < 0) return;
    const Bytes userFile = m.hood.People[static_cast<std::size_t>(line)].UserFile;
    if (!GrowUpResident(m, line)) return;
    if (const int shown = LineOf(m, userFile, line); shown >= 0) ShowResidentBelowLog(m, shown);
    (void)m.ui.ShowMessage("Sucess. Your child has grown up.", MsgButtons::Ok, MsgIcon::Exclamation,
                           kGrownUpTitle);
}

} // namespace adultify
