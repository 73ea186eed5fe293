#pragma once
// The program's shared state: the services it works through and its state in groups (the
// game, the neighbourhood read, the windows' editing state, the outcomes), so that a routine can
// take only the group it needs.

#include "core/clock.h"
#include "core/random_source.h"
#include "files/file_stamp.h"
#include "files/file_system.h"
#include "iff/byte_string.h"
#include "ui/window_system.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace adultify {

using VbBool = std::int16_t; // booleans the program stores are 16-bit
inline constexpr VbBool kTrue = -1;
inline constexpr VbBool kFalse = 0;

// One resident entry of the neighbourhood file; fields are the stored bytes.
struct PersonRecord {
    Bytes UserFile; // as stored, letter case kept
    Bytes FirstName;
    Bytes LastName;
    std::array<std::uint8_t, 2> Age{};
    std::array<std::uint8_t, 2> Career{};
    std::array<std::uint8_t, 2> CareerLevel{};
    std::array<std::uint8_t, 2> Gender{};
    std::array<std::uint8_t, 4> FamilyKey{};
};

// A child of one of the game's neighbourhoods, as its List1 shows it.
struct ChildLine {
    int hood = 0; // its number: 1 for UserData
    int k = 0;    // its line in that neighbourhood's List1
    std::string family, name;
    bool marked = false; // in the children window, to grow up
};

// At most 999 residents are kept: the 1000th stops the program.
inline constexpr int kResidentLimit = 1000;
inline constexpr int kPeopleSize = kResidentLimit + 1;

// The residents read, by their line in List1: a table of kPeopleSize records, each made when it
// is first written. Made whole, it is 88 KB of memory touched at every start, the most of a
// small neighbourhood's listing. A record never written reads as an empty one, and those of a
// larger neighbourhood read before stay past a smaller one's, as in a table made whole.
class PeopleTable {
  public:
    [[nodiscard]] const PersonRecord& operator[](std::size_t k) const {
        static const PersonRecord kNeverWritten;
        return k < records_.size() ? records_[k] : kNeverWritten;
    }
    // Record k to fill in, made with any before it that are new.
    PersonRecord& Slot(std::size_t k) {
        if (k >= static_cast<std::size_t>(kPeopleSize))
            throw std::out_of_range("resident " + std::to_string(k) + " is past the table");
        if (k >= records_.size()) records_.resize(k + 1);
        return records_[k];
    }

  private:
    std::vector<PersonRecord> records_;
};

// What the program works through: the windows, the files, the clock, chance and the game's
// process. Routines that touch nothing else take only these.
struct Services {
    WindowSystem& ui;
    FileSystem& fs;
    Clock& clock;
    RandomSource random;
    // The game's process when it is running, in words; empty: the game is not looked for.
    std::function<std::optional<std::string>()> findRunningGame;
};

// The game folder this run works on, and what it may do there.
struct GameState {
    std::string SimsPath; // ends with a backslash once set
    int codePage = 1252;  // Windows code page of the texts in the game's files
    std::array<std::string, 11> CareerNames{};
    // This run may write into the game folder while it holds it. An editor holds it from the
    // moment it reads a game until it lets that game go, so that a second one is told at once.
    std::unique_ptr<GameLock> gameLock;
    // The game folder whose interrupted save this run has looked for already.
    std::string recoveredGame;
    // The editors (not the command line) show a game another run holds as look-only: nothing
    // can be saved or grown up until that run lets it go.
    bool showsLookOnly = false;
    bool lookOnly = false;
    // Where copies of the files a command replaces are kept; none: no copies.
    std::optional<std::filesystem::path> snapshotRoot;
    // The front end could name no folder for the copies: a write is refused rather than made
    // without one, unless the user asked to write without copies.
    bool snapshotsUnavailable = false;
    bool writeWithoutSnapshot = false;
};

// The neighbourhood as read: its file, its residents and the character file in view.
struct HoodState {
    Bytes HoodData;
    // The Combo1 entry and the game folder of the neighbourhood HoodData, People and List1
    // hold; empty before the first read.
    std::string hoodEntryRead;
    std::string hoodFolderRead;
    PeopleTable People;
    std::int16_t RecordCount = 0;
    Bytes UserFileData;
    // What each game file was when it was read, to tell whether the game saved it since.
    std::map<std::string, FileStamp> readStamps;
};

// What the windows show and what is under way in them.
struct EditingState {
    std::string VersionText;
    VbBool UnsavedData = kFalse;
    double SkillEditValue = 0;
    // A main-window command is under way (and may be yielding).
    bool commandRunning = false;
    // The command under way asked its questions (the game running) before it began its work.
    bool askedBeforeWork = false;
    // The ids of the snapshot window's lines, in their order.
    std::vector<std::string> listedSnapshots;
    // The children window's lines in their order, and what a run of it was told.
    std::vector<ChildLine> listedChildren;
    bool growingUp = false;
    bool growUpCancelled = false;
};

// What the run's writes came to, for the front ends' messages and exit codes.
struct Outcomes {
    // Why the last write was not made, in a player's words ("the game is running").
    std::string notSavedBecause;
    // Writes that failed, and refusals (a file the program would not read or change, a
    // question answered No, another run at work).
    int failedWrites = 0;
    int refusals = 0;
    // Writes into the game folder that went through: a run that made one changed something.
    int filesChanged = 0;
};

struct Module1 : Services {
    Module1(WindowSystem& windows, FileSystem& files, Clock& time)
        : Services{windows, files, time, {}, {}} {}

    GameState game;
    HoodState hood;
    EditingState editing;
    Outcomes outcomes;
};

} // namespace adultify
