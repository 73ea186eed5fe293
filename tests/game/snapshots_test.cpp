#include "game/snapshots.h"

#include "files/intent_record.h"
#include "files/safe_file_platform.h"
#include "game/game_writes.h"
#include "tests/support/headless_app.h"
#include "tests/support/skip_on_windows.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <random>
#include <regex>
#include <set>

namespace adultify {
namespace {

namespace fs = std::filesystem;

Bytes Arbitrary(unsigned seed, std::size_t size) {
    std::mt19937 random(seed);
    Bytes bytes(size);
    for (auto& b : bytes)
        b = static_cast<std::uint8_t>(random());
    return bytes;
}

std::vector<std::string> Commands(const std::vector<SnapshotInfo>& list) {
    std::vector<std::string> commands;
    for (const SnapshotInfo& s : list)
        commands.push_back(s.command);
    return commands;
}

// A game folder with neighbourhood 3 and one of its residents; snapshots kept beside it.
class Snapshots : public ::testing::Test {
  protected:
    void SetUp() override {
        test::WriteBytes(hood, hoodBytes);
        test::WriteBytes(user, userBytes);
    }

    // A snapshot of the files of `names` that exist in `folder`, as the write door reads them.
    FileResult<SnapshotInfo> Take(const fs::path& folder, int hoodNumber,
                                  const std::string& command,
                                  const std::vector<std::string>& names) {
        std::vector<SnapshotCopy> copies;
        for (const std::string& name : names)
            if (fs::exists(folder / name))
                copies.push_back({name, test::ReadBytes(folder / name), std::nullopt});
        return TakeSnapshot(root, folder, hoodNumber, {command, "user00001", "Bob Newbie"}, copies);
    }
    FileResult<SnapshotInfo> Take(const std::string& command, const fs::path& folder) {
        return Take(folder, 3, command,
                    {"UserData3/Neighborhood.iff", "UserData3/Characters/User00001.iff"});
    }
    FileResult<SnapshotInfo> Take(const std::string& command) { return Take(command, game); }

    // Restores through the write door, as both front ends do: the snapshot taken of what it
    // replaced, or nothing when it refused.
    std::optional<SnapshotInfo> Restore(const std::string& id, const fs::path& folder) {
        test::HeadlessApp app;
        app.m.game.SimsPath = folder.string() + "/";
        app.m.game.snapshotRoot = root;
        if (!RestoreFromSnapshot(app.m, id)) return std::nullopt;
        return ListSnapshots(root, folder, 3).front();
    }
    std::optional<SnapshotInfo> Restore(const std::string& id) { return Restore(id, game); }

    // Both files replaced by other contents, as a command would leave them.
    void ChangeBoth() {
        test::WriteBytes(hood, Arbitrary(3, 4100));
        test::WriteBytes(user, Arbitrary(4, 2500));
    }

    test::TempDir dir;
    fs::path game = dir.path() / "games" / "The Sims";
    fs::path root = dir.path() / "data" / "adultify" / "snapshots";
    fs::path hood = game / "UserData3" / "Neighborhood.iff";
    fs::path user = game / "UserData3" / "Characters" / "User00001.iff";
    Bytes hoodBytes = Arbitrary(1, 5000);
    Bytes userBytes = Arbitrary(2, 3000);
};

// A restore is itself snapshotted, and so can be undone.
TEST_F(Snapshots, TakeListAndRestoreBothFilesByteForByteAndUndoTheRestore) {
    auto taken = Take("adultify");
    ASSERT_TRUE(taken) << Describe(taken.error());

    const auto list = ListSnapshots(root, game, 3);
    ASSERT_EQ(list.size(), 1u);
    const SnapshotInfo& s = list[0];
    EXPECT_EQ(s.id, taken.value().id);
    EXPECT_EQ(s.command, "adultify");
    EXPECT_EQ(s.resident, "user00001");
    EXPECT_EQ(s.name, "Bob Newbie");
    EXPECT_EQ(s.hood, 3);
    EXPECT_EQ(s.gameFolder, game.string());
    EXPECT_EQ(s.files, (std::vector<std::string>{"UserData3/Neighborhood.iff",
                                                 "UserData3/Characters/User00001.iff"}));
    EXPECT_TRUE(std::regex_match(
        s.time, std::regex(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}[+-]\d\d:\d\d)")))
        << s.time;

    ChangeBoth();
    const Bytes changedHood = test::ReadBytes(hood), changedUser = test::ReadBytes(user);
    auto undo = Restore(s.id);
    ASSERT_TRUE(undo);
    EXPECT_EQ(test::ReadBytes(hood), hoodBytes);
    EXPECT_EQ(test::ReadBytes(user), userBytes);
    EXPECT_FALSE(fs::exists(IntentFile(game)));
    EXPECT_EQ(undo->command, "restore");
    EXPECT_EQ(undo->name, "Bob Newbie") << "the restore names the Sim it brought back";
    EXPECT_EQ(Commands(ListSnapshots(root, game, 3)),
              (std::vector<std::string>{"restore", "adultify"}));

    ASSERT_TRUE(Restore(undo->id));
    EXPECT_EQ(test::ReadBytes(hood), changedHood);
    EXPECT_EQ(test::ReadBytes(user), changedUser);
}

TEST_F(Snapshots, ListsNewestFirstAndOnlyThatGameAndNeighbourhood) {
    const fs::path other = dir.path() / "elsewhere" / "The Sims"; // same name, other game
    test::WriteBytes(other / "UserData3" / "Neighborhood.iff", Arbitrary(5, 100));
    ASSERT_TRUE(Take("first"));
    ASSERT_TRUE(Take("other game", other));
    ASSERT_TRUE(Take(game, 4, "other hood", {}));
    ASSERT_TRUE(Take("second"));
    ASSERT_TRUE(Take("third"));

    EXPECT_EQ(Commands(ListSnapshots(root, game, 3)),
              (std::vector<std::string>{"third", "second", "first"}));
    EXPECT_EQ(Commands(ListSnapshots(root, other, 3)), std::vector<std::string>{"other game"});
    EXPECT_EQ(Commands(ListSnapshots(root, game, 4)), std::vector<std::string>{"other hood"});
    EXPECT_TRUE(ListSnapshots(root, game, 5).empty());
}

TEST_F(Snapshots, IdsAreUniqueAndSortByTimeEvenWithinOneMillisecond) {
    const fs::path other = dir.path() / "elsewhere" / "The Sims";
    test::WriteBytes(other / "UserData3" / "Neighborhood.iff", Arbitrary(5, 10));
    std::vector<std::string> ids;
    for (int i = 0; i < 25; ++i) {
        for (const fs::path& folder : {game, other}) {
            auto s = Take(folder, 3, std::to_string(i), {});
            ASSERT_TRUE(s) << Describe(s.error());
            ids.push_back(s.value().id);
        }
    }
    EXPECT_EQ(std::set<std::string>(ids.begin(), ids.end()).size(), ids.size());
    for (const std::string& id : ids) {
        auto found = FindSnapshot(root, id);
        ASSERT_TRUE(found) << id;
        EXPECT_EQ(found.value().id, id);
    }
    const auto list = ListSnapshots(root, game, 3);
    ASSERT_EQ(list.size(), 25u);
    for (std::size_t i = 0; i < list.size(); ++i) {
        EXPECT_EQ(list[i].command, std::to_string(24 - i));
        if (i > 0) {
            EXPECT_LT(list[i].id, list[i - 1].id);
        }
    }
}

TEST_F(Snapshots, KeepsTheNewest200OfANeighbourhood) {
    test::WriteBytes(hood, ToBytes("tiny"));
    ASSERT_TRUE(Take(game, 4, "neighbour", {}));
    for (int i = 0; i <= 200; ++i)
        ASSERT_TRUE(Take(game, 3, std::to_string(i), {"UserData3/Neighborhood.iff"})) << i;

    const auto list = ListSnapshots(root, game, 3);
    ASSERT_EQ(list.size(), 200u);
    EXPECT_EQ(list.front().command, "200");
    EXPECT_EQ(list.back().command, "1");
    const fs::path group = list.front().folder.parent_path();
    EXPECT_EQ(std::distance(fs::directory_iterator(group), fs::directory_iterator()), 200)
        << "the oldest is removed from the disk, not only from the list";
    EXPECT_EQ(ListSnapshots(root, game, 4).size(), 1u);
}

// A record cut short or gone, a line with a field too many, a name outside the game folder, a
// damaged copy, another game: the restore is refused, and both files stay as the command left them.
TEST_F(Snapshots, ARestoreOfADamagedOrForeignSnapshotChangesNothing) {
    const fs::path other = dir.path() / "elsewhere" / "The Sims";
    test::WriteBytes(other / "UserData3" / "Neighborhood.iff", Arbitrary(5, 100));
    const fs::path outside = dir.path() / "elsewhere" / "Neighborhood.iff";
    struct Case {
        std::string name;   // in the record for the neighbourhood's (the same leaf: its copy
                            // is found intact); empty: as taken
        int cut;            // bytes cut from the record's end; -1: the record removed
        bool damagedCopy;   // a bit of the character file's copy flipped
        fs::path restoreIn; // the game folder the restore is asked for
        bool listed;
    };
    const std::string inside = "UserData3/Neighborhood.iff";
    const std::vector<Case> cases = {
        {"", -1, false, game, false},
        {"", 10, false, game, false},
        {"../Neighborhood.iff", 0, false, game, false},
        {"UserData3/../../Neighborhood.iff", 0, false, game, false},
        {inside + "\tUserData3/Neighborhood.iff", 0, false, game, false}, // a field too many
        {outside.generic_string(), 0, false, game, false},
        {"", 0, true, game, true},
        {"", 0, false, other, true},
    };
    for (const Case& c : cases) {
        SetUp(); // the files as generated, which the snapshot holds
        auto s = Take("adultify");
        ASSERT_TRUE(s);
        const std::string id = s.value().id;
        SCOPED_TRACE(c.name + " cut " + std::to_string(c.cut) + (c.damagedCopy ? " damaged" : ""));
        const fs::path record = s.value().folder / kSnapshotRecord;
        std::string text(AsText(test::ReadBytes(record)));
        if (!c.name.empty()) text.replace(text.find(inside), inside.size(), c.name);
        fs::remove(record);
        if (c.cut >= 0) test::WriteBytes(record, ToBytes(text.substr(0, text.size() - c.cut)));
        for (const auto& entry : fs::directory_iterator(s.value().folder))
            if (c.damagedCopy && test::ReadBytes(entry.path()) == userBytes) {
                Bytes damaged = userBytes;
                damaged[1000] ^= 0x01;
                fs::remove(entry.path());
                test::WriteBytes(entry.path(), damaged);
            }
        ChangeBoth();
        const Bytes changedHood = test::ReadBytes(hood), changedUser = test::ReadBytes(user);
        EXPECT_FALSE(Restore(id, c.restoreIn));
        EXPECT_EQ(test::ReadBytes(hood), changedHood);
        EXPECT_EQ(test::ReadBytes(user), changedUser);
        EXPECT_EQ(test::ReadBytes(other / "UserData3" / "Neighborhood.iff"), Arbitrary(5, 100));
        EXPECT_FALSE(fs::exists(game.parent_path() / "Neighborhood.iff"));
        EXPECT_FALSE(fs::exists(outside));
        const auto list = ListSnapshots(root, game, 3);
        EXPECT_EQ(std::any_of(list.begin(), list.end(),
                              [&](const SnapshotInfo& l) { return l.id == id; }),
                  c.listed);
        EXPECT_EQ(static_cast<bool>(FindSnapshot(root, id)), c.listed);
    }
}

TEST_F(Snapshots, ARecordKeptBeforeNamesStillReadsWithoutTheName) {
    auto taken = Take("adultify");
    ASSERT_TRUE(taken);
    const fs::path record = taken.value().folder / kSnapshotRecord;
    const Bytes bytes = test::ReadBytes(record);
    std::string text(bytes.begin(), bytes.end());
    const std::size_t name = text.find("\nname\tBob Newbie\n");
    ASSERT_NE(name, std::string::npos) << text;
    // As a version without names wrote it: no name line, one line fewer at the end.
    text.erase(name + 1, std::string("name\tBob Newbie\n").size());
    const std::size_t end = text.rfind("end\t");
    text =
        text.substr(0, end) + "end\t" + std::to_string(std::stoi(text.substr(end + 4)) - 1) + "\n";
    fs::remove(record);
    test::WriteBytes(record, Bytes(text.begin(), text.end()));

    const auto list = ListSnapshots(root, game, 3);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].resident, "user00001");
    EXPECT_EQ(list[0].name, "");
    ChangeBoth();
    EXPECT_TRUE(Restore(taken.value().id));
    EXPECT_EQ(test::ReadBytes(hood), hoodBytes);
}

TEST_F(Snapshots, RestoreLeavesAFileTheSnapshotDidNotHold) {
    const fs::path later = game / "UserData3" / "Characters" / "User00002.iff";
    auto s = Take(game, 3, "adultify",
                  {"UserData3/Neighborhood.iff", "UserData3/Characters/User00002.iff"});
    ASSERT_TRUE(s);
    EXPECT_EQ(s.value().files, std::vector<std::string>{"UserData3/Neighborhood.iff"});
    const Bytes laterBytes = Arbitrary(6, 700);
    test::WriteBytes(later, laterBytes);
    ChangeBoth();

    ASSERT_TRUE(Restore(s.value().id));
    EXPECT_EQ(test::ReadBytes(hood), hoodBytes);
    EXPECT_EQ(test::ReadBytes(later), laterBytes);
}

TEST_F(Snapshots, RefusesAFileOutsideTheGameFolderAndARootInsideIt) {
    const fs::path outside = dir.path() / "outside.iff";
    test::WriteBytes(outside, Arbitrary(7, 10));
    for (const char* name : {"../outside.iff", "UserData3/../../outside.iff"})
        EXPECT_FALSE(TakeSnapshot(root, game, 3, {"adultify", "", ""},
                                  {{name, Arbitrary(7, 10), std::nullopt}}))
            << name;
    const std::vector<SnapshotCopy> copies = {{"UserData3/Neighborhood.iff", hoodBytes, {}}};
    EXPECT_FALSE(TakeSnapshot(game / "snapshots", game, 3, {"adultify", "", ""}, copies));
    EXPECT_FALSE(fs::exists(game / "snapshots"));
    EXPECT_TRUE(ListSnapshots(root, game, 3).empty());
}

// What lies in a neighbourhood's group of the store that the store did not make, or made and
// was stopped removing: a prune removes exactly the second kind.
TEST_F(Snapshots, PruningRemovesOnlyWhatTheStoreMadeAndNeverFollowsALink) {
    ADULTIFY_SKIP_ON_WINDOWS("the planted folders include symbolic links");
    auto first = Take("first");
    ASSERT_TRUE(first);
    const fs::path group = first.value().folder.parent_path();
    const fs::path outside = dir.path() / "photos";
    test::WriteBytes(outside / "holiday.bmp", Arbitrary(8, 300));
    struct Planted {
        std::string name;
        std::function<void(const fs::path&)> make;
        bool removed;
    };
    const std::vector<Planted> planted = {
        {"00000000-000000-000-0",
         [&](const fs::path& p) { test::WriteBytes(p / "holiday.bmp", Arbitrary(9, 30)); }, false},
        {"00000000-000000-000-1",
         [&](const fs::path& p) {
             test::WriteBytes(p / "snapshot.part", ToBytes("adultify-snapshot 1\nend\t1\n"));
         },
         false},
        {"00000000-000000-000-2",
         [&](const fs::path& p) { fs::create_directory_symlink(outside, p); }, false},
        {first.value().id, // the store's own, its removal stopped half-way
         [&](const fs::path&) {
             fs::rename(first.value().folder / kSnapshotRecord,
                        first.value().folder / "snapshot.part");
         },
         true},
    };
    for (const Planted& p : planted)
        p.make(group / p.name);
    ASSERT_TRUE(Take("second"));

    for (const Planted& p : planted)
        EXPECT_EQ(fs::exists(fs::symlink_status(group / p.name)), !p.removed) << p.name;
    EXPECT_TRUE(fs::exists(group / "00000000-000000-000-0" / "holiday.bmp"));
    EXPECT_EQ(test::ReadBytes(outside / "holiday.bmp"), Arbitrary(8, 300));

    // A group that is a link is refused, and whatever it leads to left alone.
    fs::remove_all(group);
    fs::create_directory_symlink(outside, group);
    EXPECT_FALSE(Take("third"));
    EXPECT_EQ(std::distance(fs::directory_iterator(outside), fs::directory_iterator()), 1);
}

// One game, one key: whatever spelling reaches the folder, its snapshots are one list, and a
// store reached through a link into the game is still inside it.
TEST_F(Snapshots, OneGameHasOneKeyWhateverSpellingReachesIt) {
    ADULTIFY_SKIP_ON_WINDOWS("the spellings are symbolic links");
    const fs::path prefix = dir.path() / "prefix";
    fs::create_directories(prefix / "dosdevices");
    fs::create_directory_symlink(dir.path() / "games", prefix / "drive_c");
    fs::create_directory_symlink("../drive_c", prefix / "dosdevices" / "c:");
    fs::create_directory_symlink(game, dir.path() / "shortcut");
    const std::vector<fs::path> spellings = {game, dir.path() / "shortcut",
                                             prefix / "drive_c" / "The Sims",
                                             prefix / "dosdevices" / "c:" / "The Sims"};
    for (const fs::path& spelling : spellings)
        ASSERT_TRUE(Take(spelling.string(), spelling)) << spelling;
    for (const fs::path& spelling : spellings)
        EXPECT_EQ(ListSnapshots(root, spelling, 3).size(), spellings.size()) << spelling;
    const std::string id = ListSnapshots(root, game, 3).back().id;
    ChangeBoth();
    EXPECT_TRUE(Restore(id, prefix / "dosdevices" / "c:" / "The Sims"));
    EXPECT_EQ(test::ReadBytes(hood), hoodBytes);

    fs::create_directory_symlink(game / "UserData3", dir.path() / "data-in-game");
    EXPECT_FALSE(TakeSnapshot(dir.path() / "data-in-game", game, 3, {"inside", "", ""},
                              {{"UserData3/Neighborhood.iff", hoodBytes, std::nullopt}}));
    EXPECT_EQ(std::distance(fs::directory_iterator(game / "UserData3"), fs::directory_iterator()),
              2)
        << "nothing beside Neighborhood.iff and Characters";
}

std::set<fs::path>& SyncedFiles() {
    static std::set<fs::path> synced;
    return synced;
}

// A record may name only copies already on the disk, the one copied in pieces too.
TEST_F(Snapshots, ARestoreReplacesAFileTooLargeForTheGameKeepingItAsItIs) {
    auto before = Take("adultify");
    ASSERT_TRUE(before);
    fs::resize_file(hood, kLargestGameFile + 1);

    platform::fileSynced = [](const fs::path& path) { SyncedFiles().insert(path); };
    auto undo = Restore(before.value().id);
    platform::fileSynced = nullptr;
    ASSERT_TRUE(undo);
    EXPECT_EQ(test::ReadBytes(hood), hoodBytes);
    const fs::path kept = undo->folder / "1-Neighborhood.iff";
    EXPECT_EQ(fs::file_size(kept), kLargestGameFile + 1);
    const std::string record(AsText(test::ReadBytes(undo->folder / kSnapshotRecord)));
    EXPECT_NE(record.find("\nfile\t67108865\t"), std::string::npos) << record;
    std::set<fs::path> entries;
    for (const auto& entry : fs::directory_iterator(undo->folder))
        entries.insert(entry.path());
    EXPECT_EQ(entries, (std::set<fs::path>{kept, undo->folder / "2-User00001.iff",
                                           undo->folder / kSnapshotRecord}));
    for (const fs::path& copy : {kept, undo->folder / "2-User00001.iff"})
        EXPECT_EQ(SyncedFiles().count(copy), 1u) << copy;
}

} // namespace
} // namespace adultify
