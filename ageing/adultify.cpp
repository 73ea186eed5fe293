#include "ageing/adultify.h"

#include "app/utilities.h"
#include "game/save_hood.h"
#include "hood/get_people.h"
#include "hood/resident_view.h"
#include "iff/character_file.h"
#include "iff/chunk_search.h"
#include "iff/whole_file.h"

#include <cmath>
#include <cstring>

namespace adultify {

namespace {

const Bytes kNineEntry = {0x01, '9', 0x00, 0x00};

void Report(Module1& m, const std::string& text) {
    (void)m.ui.MessageBox(text, MsgButtons::Ok, MsgIcon::Critical, "Fatal Error");
}

} // namespace

std::array<int, 5> DrawPersonality(Module1& m) {
    m.ui.SeedRandom(m.ui.TimeOfDay());
    auto draw = [&] { return static_cast<int>(std::floor(m.ui.Random() * 5.0f)); };
    int points = 30;
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
                if (c > 10) {
                    points += c - 10;
                    c = 10;
                }
            if (points <= 0) break;
        }
    }
    return {counters[0], counters[1], counters[2], counters[3], counters[4]};
}

BodyStringEdit EditBodyStrings(Bytes& data) {
    const Position q = FindChunk(data, "STR#", 200, 0x0010);
    if (q == 0) return {false, "has no body-string table (STR# 200)"};
    const Position b = q + 81;
    if (b + 4 <= static_cast<Position>(data.size()) &&
        std::memcmp(&data[static_cast<std::size_t>(b - 1)], "child", 5) == 0)
        std::memcpy(&data[static_cast<std::size_t>(b - 1)], "adult", 5);
    Position p = FindBytes(data, kNineEntry, b);
    const Position e = q + static_cast<Position>(ChunkSize16(data, q)) - 3;
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

void Adultify_Command1_Click(Module1& m) {
    m.ui.ListClear("List2");
    AddLogLine(m, "Starting Adultify process");
    const int count = m.ui.ListCount("List1");
    AddLogLine(m, "Searching Neighbourhood");
    for (int i = 0; i < count; ++i) {
        if (!m.ui.ListSelected("List1", i)) continue;
        AddLogLine(m, "Found.");
        AddLogLine(m, "Initiating Adultify process");
        const PersonRecord record = m.People[static_cast<std::size_t>(i)];
        const Bytes hoodBefore = m.HoodData;
        const Position u = FindBytes(m.HoodData, record.UserFile, 1);
        if (u == 0 || u + resident::kAge > static_cast<Position>(m.HoodData.size())) {
            Report(m, "The resident's entry was not found whole in the neighbourhood. Nothing has "
                      "been changed.");
            return;
        }
        SetByteAt(m.HoodData, u + resident::kAge, resident::kAgeAdult);
        AddLogLine(m, "Unemploying Sim");
        SetByteAt(m.HoodData, u + resident::kCareer, 0);
        SetByteAt(m.HoodData, u + resident::kCareer + 1, 0);
        SetByteAt(m.HoodData, u + resident::kCareerLevel, 0);
        if (m.ui.IsChecked("menu_personality")) {
            AddLogLine(m, "Adjusting Personality due to life experience");
            const auto traits = DrawPersonality(m);
            const int offsets[] = {resident::kNice, resident::kActive, resident::kPlayful,
                                   resident::kOutgoing, resident::kNeat};
            for (std::size_t t = 0; t < 5; ++t)
                WriteU16LE(m.HoodData, u + offsets[t], static_cast<unsigned>(traits[t] * 100));
        }
        AddLogLine(m, "Adjusting Skills");
        for (int offset : {resident::kCooking, resident::kMechanical, resident::kCharisma,
                           resident::kBody, resident::kLogic, resident::kCreativity})
            WriteU16LE(m.HoodData, u + offset, 0);
        AddLogLine(m, "Continuing Adultify Process");
        AddLogLine(m, "with USERxxxxx.IFF");
        if (m.ui.Caption("Combo1").empty()) return;

        const auto path = UserFilePath(m, record.UserFile);
        std::optional<Bytes> characterBefore;
        if (path && FileExists(m, *path) == kTrue) {
            std::string reason;
            auto data = ReadWholeFile(m.fs, *path, &reason);
            if (!data) {
                m.HoodData = hoodBefore;
                ReportWriteFailure(
                    m, "The character file could not be read. Nothing has been changed.", *path,
                    reason);
                return;
            }
            m.UserFileData = *data;
            Bytes edited = *data;
            const BodyStringEdit edit = EditBodyStrings(edited);
            AddLogLine(m, "Doing byte shuffle");
            if (!edit.ok) {
                const std::string text =
                    "Invalid User File. The File [" + m.fs.NativePath(*path) + "] " + edit.problem;
                if (edit.fatal) {
                    Report(m, text);
                    EndProgramNow(m, kExitFatal);
                }
                m.HoodData = hoodBefore;
                Report(m, text + ". Nothing has been changed.");
                return;
            }
            m.UserFileData = edited;
            AddLogLine(m, "Adultify completed. Saving Files");
            if (auto r = WriteWholeFile(m.fs, *path, m.UserFileData); !r) {
                m.HoodData = hoodBefore;
                ReportWriteFailure(
                    m, "The character file could not be saved. Nothing has been changed.", *path,
                    r.reason);
                return;
            }
            characterBefore = std::move(*data);
        }
        AddLogLine(m, "Backing up Neighbourhood");
        if (!SaveHood(m)) {
            m.HoodData = hoodBefore;
            if (characterBefore) {
                if (auto r = WriteWholeFile(m.fs, *path, *characterBefore); !r)
                    ReportWriteFailure(m, "The character file could not be put back as it was.",
                                       *path, r.reason);
                else
                    m.UserFileData = *characterBefore;
            }
            return;
        }
        m.ui.SetEnabled("Command1", false);
        Get_People(m);
    }
    AddLogLine(m, "Adultify is Finished");
    (void)m.ui.MessageBox("Sucess. Your child has grown up.", MsgButtons::Ok, MsgIcon::Exclamation,
                          "Completed");
}

} // namespace adultify
