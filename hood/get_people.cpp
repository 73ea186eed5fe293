#include "hood/get_people.h"

#include "core/reports.h"
#include "core/status_line.h"
#include "core/utilities.h"
#include "game/game_text.h"
#include "game/game_writes.h"
#include "game/neighbourhood_name.h"
#include "hood/resident_layout.h"
#include "hood/resident_view.h"
#include "iff/character_file.h"
#include "iff/chunk_search.h"
#include "ui/form_design.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <stdexcept>

namespace adultify {

namespace {

template <std::size_t N> std::array<std::uint8_t, N> Field(const Bytes& data, Position pos) {
    const Bytes b = BytesPaddedWithBlanks(data, pos, N);
    std::array<std::uint8_t, N> out{};
    std::copy(b.begin(), b.end(), out.begin());
    return out;
}

bool IsUserAt(const Bytes& d, std::size_t i) {
    auto up = [](std::uint8_t b) {
        return (b >= 'a' && b <= 'z') ? static_cast<std::uint8_t>(b - 32) : b;
    };
    return up(d[i]) == 'U' && up(d[i + 1]) == 'S' && up(d[i + 2]) == 'E' && up(d[i + 3]) == 'R';
}

// The first position from `from` to `to` where IsUserAt holds; 0 for none.
Position NextUserAt(const Bytes& d, Position from, Position to) {
    const std::uint8_t* begin = d.data();
    for (Position p = from; p <= to;) {
        const auto rest = static_cast<std::size_t>(to - p + 1);
        const void* upper = std::memchr(begin + p - 1, 'U', rest);
        const void* lower = std::memchr(begin + p - 1, 'u', rest);
        if (!upper && !lower) return 0;
        const auto* first =
            static_cast<const std::uint8_t*>(!lower || (upper && upper < lower) ? upper : lower);
        const auto at = static_cast<std::size_t>(first - begin);
        if (IsUserAt(d, at)) return static_cast<Position>(at) + 1;
        p = static_cast<Position>(at) + 2;
    }
    return 0;
}

[[noreturn]] void FatalInvalid(Module1& m, const std::string& path) {
    (void)m.ui.ShowMessage(m.fs.NativePath(path) + " is invalid", MsgButtons::Ok, MsgIcon::Critical,
                           "Fatal Error:");
    EndProgramNow(m, kExitFatal);
}

void ResidentLimitStop(Module1& m) {
    m.ui.Beep();
    (void)m.ui.ShowMessage(
        "Too many people have been found in your neighbourhood. Number of records exceeds 1000",
        MsgButtons::Ok, MsgIcon::Critical, "Crash and Burn");
    EndProgramNow(m, kExitFatal);
}

// The family name after the key's hit M: the first value of the next "FAMs" table.
// No "FAMs" up to the end of the data leaves the resident without a family; a name that
// runs off the end goes to the error report.
std::optional<Bytes> FamilyNameAfter(const Bytes& hood, Position m, int& programPointer) {
    programPointer = 10;
    const Position last = static_cast<Position>(hood.size()) - 3;
    do {
        ++m;
        if (m > last) return std::nullopt;
    } while (!(hood[static_cast<std::size_t>(m - 1)] == 'F' &&
               hood[static_cast<std::size_t>(m)] == 'A' &&
               hood[static_cast<std::size_t>(m + 1)] == 'M' &&
               hood[static_cast<std::size_t>(m + 2)] == 's'));
    programPointer = 11;
    const Position s = m + kFirstStringOffset;
    Position e = s;
    do
        ++e;
    while (ByteAt(hood, e) != 0);
    programPointer = 12;
    return Bytes(hood.begin() + (s - 1), hood.begin() + (e - 1));
}

} // namespace

int FamilyKeyOffset(const Bytes& hood, Position u) {
    using namespace resident;
    if (u > kRecordVersionBack && static_cast<std::size_t>(u - 1) <= hood.size()) {
        const auto at = static_cast<std::size_t>(u - 1 - kRecordVersionBack);
        if (hood[at] == kRecordVersion10 && hood[at + 1] == 0 && hood[at + 2] == 0 &&
            hood[at + 3] == 0)
            return kFamilyKeyV10;
    }
    return resident::kFamilyKeyV4;
}

Bytes ReadCharacterFirstName(Module1& m, const Bytes& userFile, Bytes& buffer) {
    Bytes result = ToBytes("Not Found");
    if (m.ui.Caption("Combo1").empty()) return result;
    const auto path = ChosenUserFilePath(m, userFile);
    if (!path) return result;
    // Opened once: only a failed read asks whether the file could be opened at all.
    auto read = m.fs.ReadFile(*path, kLargestCharacterFile, std::move(buffer));
    if (!read && FileExists(m, *path) != kTrue) return result;
    if (!read && read.error().kind == FileErrorKind::TooLarge) {
        ReportRefusal(m, "This character file is too large to be one of the game's.", *path,
                      read.error().reason);
        return result;
    }
    if (!read) throw std::runtime_error(Describe(read.error()));
    FirstNameResult name = FirstNameOf(read.value());
    buffer = std::move(read.value());
    switch (name.outcome) {
    case FirstNameResult::Outcome::NotFound: return result;
    case FirstNameResult::Outcome::Invalid: FatalInvalid(m, *path);
    case FirstNameResult::Outcome::Found: break;
    }
    return std::move(name.name);
}

namespace {

// Where a scan has got to, for the failure report, and what every resident of one load
// shares: the first "FAMI" and the family name of each key.
struct ResidentScan {
    int programPointer = 0;
    Position i = 0;
    std::optional<Position> firstFami;
    std::map<std::array<std::uint8_t, 4>, std::optional<Bytes>> families;
    const KnownFirstNames* known = nullptr;
    Bytes characterFile; // each resident's file in turn, in one buffer
};

// Clears the list and reads the chosen neighbourhood; false when there is none to read.
bool ReadChosenHood(Module1& m, int& programPointer) {
    m.ui.ListClear("List1");
    for (ControlId label : kValueLabels)
        m.ui.SetCaption(label, "");
    // The neighbourhood shown before is let go, with its edits: nothing of this one is unsaved.
    m.hood.hoodEntryRead = m.ui.Caption("Combo1");
    m.hood.hoodFolderRead = m.game.SimsPath;
    m.editing.UnsavedData = kFalse;
    m.ui.SetEnabled("menu_Save", false);
    if (m.ui.Caption("Combo1").empty()) return false;
    const std::string hoodFile = HoodFile(m.game.SimsPath, ChosenHood(m));
    SetStatus(m, "Read Neighborhood.iff");
    programPointer = 0;
    // Opened once: only a failed read asks whether the file could be opened at all.
    auto data = m.fs.ReadFile(hoodFile, kLargestNeighbourhood);
    if (!data && FileExists(m, hoodFile) != kTrue) {
        if (m.fs.EntryExists(hoodFile)) {
            // The system's reason: no regular file, or a folder on the way it may not search.
            ReportRefusal(m, "This neighbourhood file cannot be read.", hoodFile,
                          data.error().reason);
        }
        SetStatus(m, "Idle");
        return false;
    }
    programPointer = 1;
    m.hood.HoodData.clear();
    if (!data && data.error().kind == FileErrorKind::TooLarge) {
        ReportRefusal(m, "This neighbourhood file is too large to be one of the game's.", hoodFile,
                      data.error().reason);
        SetStatus(m, "Idle");
        return false;
    }
    if (!data) throw std::runtime_error(Describe(data.error()));
    TryHoldGame(m);
    RememberRead(m, hoodFile, data.value());
    m.hood.HoodData = std::move(data.value());
    programPointer = 2;
    return true;
}

const std::optional<Bytes>&
FamilyNameOf(const Bytes& hood, const std::array<std::uint8_t, 4>& familyKey, ResidentScan& scan) {
    scan.programPointer = 7;
    if (!scan.firstFami) scan.firstFami = FindBytes(hood, "FAMI", 1);
    scan.programPointer = 8;
    auto known = scan.families.find(familyKey);
    if (known == scan.families.end()) {
        const Bytes key(familyKey.begin(), familyKey.end());
        const Position hit = *scan.firstFami > 0 ? FindBytes(hood, key, *scan.firstFami) : 0;
        scan.programPointer = 9;
        std::optional<Bytes> name;
        if (hit > 0) name = FamilyNameAfter(hood, hit, scan.programPointer);
        known = scan.families.emplace(familyKey, std::move(name)).first;
    }
    return known->second;
}

// The resident whose "USER" is at scan.i becomes the next record and line of the list.
void AddResident(Module1& m, ResidentScan& scan) {
    const Bytes& hood = m.hood.HoodData;
    const Position i = scan.i;
    scan.programPointer = 4;
    PersonRecord& r = m.hood.People.Slot(static_cast<std::size_t>(m.hood.RecordCount));
    r.UserFile = BytesClipped(hood, i, resident::kUserFileLength);
    r.Career = Field<2>(hood, i + resident::kCareer);
    r.CareerLevel = Field<2>(hood, i + resident::kCareerLevel);
    r.Age = Field<2>(hood, i + resident::kAge);
    r.Gender = Field<2>(hood, i + resident::kGender);
    r.FamilyKey = Field<4>(hood, i + FamilyKeyOffset(hood, i));
    scan.programPointer = 5;
    const auto known =
        scan.known ? scan.known->find(AsText(r.UserFile)) : KnownFirstNames::const_iterator();
    r.FirstName = scan.known && known != scan.known->end()
                      ? known->second
                      : ReadCharacterFirstName(m, r.UserFile, scan.characterFile);
    scan.programPointer = 6;
    r.LastName = ToBytes("NO FAMILY");
    const std::optional<Bytes>& family = FamilyNameOf(hood, r.FamilyKey, scan);
    scan.programPointer = 12;
    if (family) r.LastName = *family;
    scan.programPointer = 13;
    const std::string text = ResidentName(m.game, r);
    m.ui.ListAdd("List1", text);
    if (IsChild(r)) m.ui.ListSetMark("List1", m.hood.RecordCount, LineMark::Child);
    SetStatus(m, "Find Residents (" + text + ")");
    scan.programPointer = 14;
    ++m.hood.RecordCount;
    if (m.hood.RecordCount >= kResidentLimit) ResidentLimitStop(m);
}

[[noreturn]] void ScanFailed(Module1& m, const ResidentScan& scan) {
    const PersonRecord& r = m.hood.People[static_cast<std::size_t>(m.hood.RecordCount)];
    std::string report =
        "An error has occured while trying to find the residents of this neighbourhood.\n";
    report += "Not sure what has happended but here is some Debug Info that may Help:\n";
    report += "Program Pointer=" + WithSignPosition(scan.programPointer) + "\n";
    report += "T=" + WithSignPosition(scan.i) + "\n";
    report +=
        "Hood Length=" + WithSignPosition(static_cast<long long>(m.hood.HoodData.size())) + "\n";
    report += "Record Count=" + WithSignPosition(m.hood.RecordCount) + "\n";
    report += "User File=" + DecodeName(m.game, r.UserFile) + "\n";
    report += "Sim First Name=" + DecodeName(m.game, r.FirstName) + "\n";
    report += "Sim Last Name=" + DecodeName(m.game, r.LastName);
    if (!kSupportAddress.empty())
        report += "\n\nPlease email this information to " + std::string(kSupportAddress);
    (void)m.ui.ShowMessage(report, MsgButtons::Ok, MsgIcon::Critical,
                           "Fatal Error during Get_People");
    EndProgramNow(m, kExitFatal);
}

} // namespace

std::string ResidentName(const GameState& game, const PersonRecord& r) {
    Bytes line = r.FirstName;
    line.push_back(' ');
    line.insert(line.end(), r.LastName.begin(), r.LastName.end());
    return DecodeName(game, line);
}

void Get_People(Module1& m) {
    Get_People(m, {});
}

KnownFirstNames FirstNamesRead(const HoodState& hood) {
    KnownFirstNames names;
    for (int k = 0; k < hood.RecordCount; ++k) {
        const PersonRecord& r = hood.People[static_cast<std::size_t>(k)];
        names.emplace(AsText(r.UserFile), r.FirstName);
    }
    return names;
}

void Get_People(Module1& m, const KnownFirstNames& known) {
    ResidentScan scan;
    scan.known = &known;
    try {
        if (!ReadChosenHood(m, scan.programPointer)) return;
        SetStatus(m, "Find Residents");
        m.hood.RecordCount = 0;
        const ListingsHeld held(m.fs); // the character files, read one after another
        const Position last = static_cast<Position>(m.hood.HoodData.size()) - 4;
        // Position by position with a yield after each, as the game's own loop; the stretches
        // between two yields are searched at once.
        for (Position p = 1; p <= last;) {
            const Position stretchEnd =
                std::min<Position>(last, p + static_cast<Position>(m.ui.LoopStepsToYield()) - 1);
            const Position hit = NextUserAt(m.hood.HoodData, p, stretchEnd);
            scan.programPointer = 3;
            scan.i = hit == 0 ? stretchEnd : hit;
            if (hit != 0) {
                m.ui.DoEventsInLoop(static_cast<std::uint32_t>(hit - p));
                AddResident(m, scan);
            }
            m.ui.DoEventsInLoop(static_cast<std::uint32_t>(scan.i - (hit == 0 ? p : hit) + 1));
            p = scan.i + 1;
        }
        SetStatus(m, "Idle");
    } catch (const std::exception&) {
        ScanFailed(m, scan);
    }
}

} // namespace adultify
