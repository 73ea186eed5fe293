#include "files/intent_record.h"

#include "files/checksum.h"
#include "files/file_stamp.h"
#include "files/folder_lock.h"
#include "files/record_text.h"
#include "tests/support/system_calls.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <map>
#include <memory>
#include <random>

namespace adultify {
namespace {

namespace fs = std::filesystem;

struct Stop {}; // thrown between two steps: the process ends there

// Generation `n` of a file: its letter, the number, and a length that changes with it.
Bytes Contents(char letter, int n) {
    std::string text = std::string(1, letter) + " " + std::to_string(n) + "\n";
    text.resize(3000 + static_cast<std::size_t>(n % 500), letter);
    return ToBytes(text);
}

[[maybe_unused]] int GenerationOf(const Bytes& bytes, char letter) {
    const std::string_view text = AsText(bytes);
    if (text.size() < 3 || text[0] != letter) return -1;
    const int n = std::atoi(std::string(text.substr(2)).c_str());
    return bytes == Contents(letter, n) ? n : -1;
}

std::vector<fs::path> Temps(const fs::path& folder) {
    std::vector<fs::path> found;
    for (const auto& e : fs::recursive_directory_iterator(folder))
        if (IsTempName(e.path().filename().string())) found.push_back(e.path());
    return found;
}

// A game folder: a character file and, a level up, the neighbourhood with its backups.
class TwoFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(hood.parent_path() / "Characters");
        test::WriteBytes(user, Contents('A', 0));
        test::WriteBytes(hood, Contents('B', 0));
    }
    std::vector<FileChange> Changes(int n, std::optional<fs::path> hoodBackup) const {
        return {{user, Contents('A', n), std::nullopt}, {hood, Contents('B', n), hoodBackup}};
    }
    // Both files at generation 0 or both at `n`, whole; no temp and no record left over.
    void ExpectBothOldOrBothNew(int n, bool expectNew) const {
        EXPECT_EQ(test::ReadBytes(user), Contents('A', expectNew ? n : 0));
        EXPECT_EQ(test::ReadBytes(hood), Contents('B', expectNew ? n : 0));
        EXPECT_TRUE(Temps(dir.path()).empty());
        EXPECT_FALSE(fs::exists(IntentFile(dir.path())));
        EXPECT_FALSE(fs::exists(TempsMarkerFile(dir.path())));
    }

    // The next start, told where these saves write temps for when a record or marker is torn.
    Recovery Recover() const {
        return RecoverIntent(
            dir.path(), {[this] {
                             return std::vector<fs::path>{hood.parent_path(), user.parent_path()};
                         },
                         {}});
    }

    test::TempDir dir;
    fs::path hood = dir.path() / "UserData" / "Neighborhood.iff";
    fs::path user = dir.path() / "UserData" / "Characters" / "User00001.iff";
    fs::path backup = dir.path() / "UserData" / "Neighborhood.000";
};

TEST_F(TwoFiles, AStopAfterAnyStepIsRecoveredToBothOldOrBothNewOrKeepsTheGamesSave) {
    // Steps: 0 marker, 1 temp A, 2 temp B, 3 record, 4 backup of B, 5 rename A, 6 rename B,
    // 7 record removed, 8 marker removed; 9 runs to the end. With `gameSaved`, the game writes
    // B (in place, as it does) between the stop and the next start: its save is kept, and A is
    // whatever had been done. The start is told of no folder: the marker alone leads it.
    const bool newAfter[] = {false, false, false, true, true, true, true, true, true, true};
    for (const bool gameSaved : {false, true}) {
        for (int k = 0; k < 10; ++k) {
            SCOPED_TRACE("stopped after step " + std::to_string(k) +
                         (gameSaved ? ", then the game saved" : ""));
            SetUp();
            fs::remove(backup);
            int steps = 0;
            bool stopped = false;
            try {
                const FileStatus saved = ReplaceTogether(dir.path(), Changes(1, backup), [&] {
                    if (steps++ == k) throw Stop{};
                });
                EXPECT_TRUE(saved);
            } catch (const Stop&) {
                stopped = true;
            }
            EXPECT_EQ(stopped, k < 9);
            EXPECT_EQ(fs::exists(IntentFile(dir.path())), k >= 3 && k < 7);
            EXPECT_EQ(fs::exists(TempsMarkerFile(dir.path())), k < 8);
            if (gameSaved) test::WriteBytes(hood, Contents('B', 99));

            const Recovery recovery = RecoverIntent(dir.path());
            EXPECT_TRUE(recovery.complete);
            EXPECT_EQ(recovery.found, k >= 1 && k < 7);
            EXPECT_EQ(recovery.report.empty(), !recovery.found);
            EXPECT_TRUE(Temps(dir.path()).empty());
            EXPECT_FALSE(fs::exists(IntentFile(dir.path())));
            EXPECT_FALSE(fs::exists(TempsMarkerFile(dir.path())));
            EXPECT_EQ(fs::hard_link_count(hood), 1u) << "no backup is the live file";
            if (gameSaved) {
                EXPECT_EQ(test::ReadBytes(hood), Contents('B', 99));
                EXPECT_EQ(test::ReadBytes(user), Contents('A', k >= 5 ? 1 : 0));
            } else {
                ExpectBothOldOrBothNew(1, newAfter[k]);
            }
            if ((!gameSaved && newAfter[k]) || fs::exists(backup)) {
                EXPECT_EQ(test::ReadBytes(backup), Contents('B', 0));
            }
            EXPECT_FALSE(Recover().found) << "a second start finds nothing to do";
        }
    }
}

// A marker cut short by a kill while it was written, or damaged: nothing tells where the
// save wrote, so every folder saves write into is looked at.
TEST_F(TwoFiles, AMarkerCutShortOrDamagedHasEveryFolderLookedAt) {
    for (const bool cut : {true, false}) {
        SCOPED_TRACE(cut ? "cut short" : "damaged");
        ASSERT_THROW((void)ReplaceTogether(dir.path(), Changes(1, std::nullopt),
                                           [steps = 0]() mutable {
                                               if (steps++ == 2) throw Stop{};
                                           }),
                     Stop);
        Bytes marker = test::ReadBytes(TempsMarkerFile(dir.path()));
        if (cut)
            marker.resize(marker.size() / 2);
        else
            marker[marker.size() / 3] ^= 0x01;
        test::WriteBytes(TempsMarkerFile(dir.path()), marker);
        ASSERT_EQ(Temps(dir.path()).size(), 2u);
        EXPECT_TRUE(Recover().found);
        ExpectBothOldOrBothNew(1, false);
    }
}

TEST_F(TwoFiles, ARecordCutShortOrDamagedDropsTheSaveThatHadNotBegun) {
    // Odd names prove that every byte of a name survives the record.
#ifdef _WIN32
    user = dir.path() / "UserData" / "Characters" / "User%41 1.iff"; // no tab or line feed
#else
    user = dir.path() / "UserData" / "Characters" / "User\t%41\n 1.iff";
#endif
    SetUp();
    std::vector<IntentEntry> entries;
    for (const FileChange& c : Changes(1, std::nullopt)) {
        auto temp = WriteTempBeside(c.target, c.bytes);
        ASSERT_TRUE(temp);
        const TargetBefore before{StampOf(c.target, test::ReadBytes(c.target), kRecordHash), true};
        entries.push_back({c.target, temp.value(), c.backup, before});
    }
    ASSERT_TRUE(WriteIntent(dir.path(), entries));
    EXPECT_EQ(WriteIntent(dir.path(), entries).error().kind, FileErrorKind::NameTaken);
    const Bytes whole = test::ReadBytes(IntentFile(dir.path()));

    std::vector<Bytes> torn;
    for (std::size_t cut = 0; cut < whole.size(); ++cut)
        if (cut % 7 == 0 || whole[cut] == '\n' || whole[cut] == '\t' ||
            (cut > 0 && (whole[cut - 1] == '\n' || whole[cut - 1] == '\t')))
            torn.emplace_back(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(cut));
    for (const std::size_t at : {whole.size() / 2, whole.size() - 3}) {
        torn.push_back(whole);
        torn.back()[at] ^= 0x01;
    }
    for (const Bytes& record : torn) {
        SCOPED_TRACE("record of " + std::to_string(record.size()) + " bytes");
        for (const IntentEntry& e : entries)
            test::WriteBytes(e.temp.path, e.target == user ? Contents('A', 1) : Contents('B', 1));
        test::WriteBytes(IntentFile(dir.path()), record);
        const Recovery recovery = Recover();
        EXPECT_TRUE(recovery.found && recovery.complete);
        ExpectBothOldOrBothNew(1, false);
    }

    for (const IntentEntry& e : entries)
        test::WriteBytes(e.temp.path, e.target == user ? Contents('A', 1) : Contents('B', 1));
    test::WriteBytes(IntentFile(dir.path()), whole);
    EXPECT_TRUE(Recover().complete);
    ExpectBothOldOrBothNew(1, true);
}

TEST_F(TwoFiles, ADamagedTempBeforeAnyRenameDropsTheSave) {
    ASSERT_THROW((void)ReplaceTogether(dir.path(), Changes(1, std::nullopt),
                                       [steps = 0]() mutable {
                                           if (steps++ == 3) throw Stop{};
                                       }),
                 Stop);
    const auto temps = Temps(dir.path());
    ASSERT_EQ(temps.size(), 2u);
    Bytes damaged = test::ReadBytes(temps[1]);
    damaged[100] ^= 0xFF;
    test::WriteBytes(temps[1], damaged);
    const Recovery recovery = Recover();
    EXPECT_TRUE(recovery.complete);
    ASSERT_FALSE(recovery.report.empty());
    EXPECT_NE(recovery.report[0].find("damaged"), std::string::npos);
    ExpectBothOldOrBothNew(1, false);
}

TEST_F(TwoFiles, AFailureBeforeTheRecordLeavesEveryFileAsItWas) {
#ifdef _WIN32
    GTEST_SKIP() << "the failure is made with POSIX permissions";
#else
    const fs::path userBackup = user.parent_path() / "User00001.000";
    fs::create_directory(backup); // the neighbourhood's backup name is taken
    auto changes = Changes(1, backup);
    changes[0].backup = userBackup;
    const FileStatus taken = ReplaceTogether(dir.path(), changes);
    ASSERT_FALSE(taken);
    EXPECT_EQ(taken.error().kind, FileErrorKind::NameTaken);
    EXPECT_FALSE(fs::exists(userBackup)) << "the backup this call made is gone again";
    EXPECT_TRUE(fs::is_directory(backup));
    ExpectBothOldOrBothNew(1, false);

    ASSERT_EQ(::chmod(hood.c_str(), 0444), 0);
    const FileStatus readOnly = ReplaceTogether(dir.path(), Changes(1, std::nullopt));
    ASSERT_FALSE(readOnly);
    EXPECT_EQ(readOnly.error().kind, FileErrorKind::ReadOnly);
    ExpectBothOldOrBothNew(1, false);
#endif
}

// A read handed in stands for the target only while the disk shows that file: one written
// since the read (the game saved) is newer and is not replaced.
TEST_F(TwoFiles, AReadHandedInIsUsedOnlyWhileTheTargetIsTheFileRead) {
    struct Case {
        const char* what;
        std::function<void(TargetRead&)> since; // after the read of the neighbourhood
        bool saved;
    };
    const std::vector<Case> cases = {
        {"unchanged", [](TargetRead&) {}, true},
        {"rewritten longer", [&](TargetRead&) { test::WriteBytes(hood, Contents('C', 2)); }, false},
        {"created after it was read as missing", [](TargetRead& read) { read.bytes.reset(); },
         false},
        {"read at another size", [](TargetRead& read) { ++read.stamp.size; }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        TargetRead read{std::make_shared<const Bytes>(test::ReadBytes(hood)),
                        StampOf(hood, test::ReadBytes(hood))};
        c.since(read);
        const Bytes onDisk = test::ReadBytes(hood);
        auto changes = Changes(1, std::nullopt);
        changes[1].read = read;
        const FileStatus status = ReplaceTogether(dir.path(), changes);
        EXPECT_EQ(static_cast<bool>(status), c.saved);
        if (c.saved) {
            ExpectBothOldOrBothNew(1, true);
            continue;
        }
        EXPECT_EQ(status.error().kind, FileErrorKind::Refused);
        EXPECT_EQ(test::ReadBytes(hood), onDisk);
        EXPECT_EQ(test::ReadBytes(user), Contents('A', 0));
        EXPECT_TRUE(Temps(dir.path()).empty());
        EXPECT_FALSE(fs::exists(TempsMarkerFile(dir.path())));
    }
}

// A target that cannot be replaced once the other one is: the first is put back, so that both
// are old and nothing waits for the next start.
TEST_F(TwoFiles, ATargetThatCannotBeReplacedPutsBackTheOneReplacedBefore) {
#ifdef _WIN32
    GTEST_SKIP() << "the failure is made with POSIX permissions; Wine holds the file instead";
#else
    for (const bool withBackup : {false, true}) {
        SCOPED_TRACE(withBackup ? "with a backup" : "without a backup");
        SetUp();
        ASSERT_EQ(::chmod(hood.c_str(), 0644), 0);
        const auto userTime = fs::last_write_time(user);
        const FileStatus saved = ReplaceTogether(
            dir.path(), Changes(1, withBackup ? std::optional(backup) : std::nullopt),
            [&, steps = 0]() mutable {
                if (++steps == (withBackup ? 6 : 5)) ::chmod(hood.c_str(), 0444); // A renamed
            });
        ASSERT_FALSE(saved);
        EXPECT_EQ(saved.error().kind, FileErrorKind::ReadOnly);
        EXPECT_EQ(saved.error().reason.find("next starts"), std::string::npos);
        ExpectBothOldOrBothNew(1, false);
        EXPECT_EQ(fs::last_write_time(user), userTime) << "it reads as unchanged";
        EXPECT_FALSE(fs::exists(backup));
        EXPECT_FALSE(Recover().found);
    }
#endif
}

#ifndef _WIN32
// What a folder holds, links not followed: each entry's kind, size and the CRC of a small file.
std::map<fs::path, std::string> Tree(const fs::path& folder) {
    std::map<fs::path, std::string> tree;
    for (const auto& e : fs::recursive_directory_iterator(folder)) {
        std::string what = std::to_string(static_cast<int>(e.symlink_status().type()));
        if (e.is_regular_file() && !e.is_symlink()) {
            what += " " + std::to_string(e.file_size());
            if (e.file_size() < 1u << 20) {
                const Bytes bytes = test::ReadBytes(e.path());
                what += " " + Hex8(Crc32(bytes.data(), bytes.size()));
            }
        }
        tree[e.path()] = what;
    }
    return tree;
}

std::string Hex16(std::uint64_t value) {
    return Hex8(static_cast<std::uint32_t>(value >> 32)) + Hex8(static_cast<std::uint32_t>(value));
}

// A whole record of one entry, as a crash could never leave it but a download could.
Bytes Planted(const std::string& target, const std::string& temp, const Bytes& tempBytes,
              std::uint64_t size, const fs::path& stampOf) {
    const FileStamp was = StampOf(stampOf, test::ReadBytes(stampOf), kRecordHash);
    std::string text = "adultify-intent 2\nfile\t" + std::to_string(size) + "\t" +
                       Hex8(Crc32(tempBytes.data(), tempBytes.size())) + "\t" + target + "\t" +
                       temp + "\t\t" + std::to_string(was.size) + "\t" +
                       std::to_string(was.mtimeNs) + "\t" + Hex16(was.hash) + "\n";
    text += "end\t1\t" + std::to_string(text.size()) + "\t" +
            Hex8(Crc32(text.data(), text.size())) + "\n";
    return ToBytes(text);
}
#endif

// A record planted in the game folder can only finish a save of Adultify's own inside it:
// anything else is declined, said once, and every file stays as it is, the record included.
TEST(PlantedRecord, NamingAnythingButAnAdultifySaveInsideTheGameChangesNoFile) {
#ifdef _WIN32
    GTEST_SKIP() << "the planted links and sparse files are POSIX's";
#else
    test::TempDir root;
    const fs::path game = root.path() / "game", outside = root.path() / "home";
    const fs::path hood = game / "UserData" / "Neighborhood.iff";
    const fs::path victim = outside / "victim.txt";
    const Bytes evil = ToBytes("the attacker's bytes");
    const std::string suffix = ".adultify-new-0123456789abcdef";
    struct Case {
        const char* what;
        std::string target, temp;
        std::uint64_t size;
        std::function<void()> plant;
    };
    const std::vector<Case> cases = {
        {"an absolute path outside", victim.string(), "UserData/Neighborhood.iff" + suffix,
         evil.size(), [&] { test::WriteBytes(hood.string() + suffix, evil); }},
        {"a way out through ..", "../home/victim.txt", "../home/victim.txt" + suffix, evil.size(),
         [&] { test::WriteBytes(victim.string() + suffix, evil); }},
        {"a folder linked to outside", "UserData/out/victim.txt",
         "UserData/out/victim.txt" + suffix, evil.size(),
         [&] {
             fs::create_directory_symlink(outside, game / "UserData" / "out");
             test::WriteBytes(victim.string() + suffix, evil);
         }},
        {"a Windows drive path", "C:\\Docs\\thesis.txt", "C:\\Docs\\thesis.txt" + suffix,
         evil.size(), [&] { test::WriteBytes(game / ("C:\\Docs\\thesis.txt" + suffix), evil); }},
        {"a huge size and a sparse temp", "UserData/Neighborhood.iff",
         "UserData/Neighborhood.iff" + suffix, 1ull << 40,
         [&] {
             test::WriteBytes(hood.string() + suffix, {});
             fs::resize_file(hood.string() + suffix, 1ull << 40);
         }},
        {"a temp that links outside", "UserData/Neighborhood.iff",
         "UserData/Neighborhood.iff" + suffix, evil.size(),
         [&] {
             test::WriteBytes(outside / "evil", evil);
             fs::create_symlink(outside / "evil", hood.string() + suffix);
         }},
        {"a temp with a second name outside", "UserData/Neighborhood.iff",
         "UserData/Neighborhood.iff" + suffix, evil.size(),
         [&] {
             test::WriteBytes(outside / "evil", evil);
             fs::create_hard_link(outside / "evil", hood.string() + suffix);
         }},
        {"a temp not named as Adultify names them", "UserData/Neighborhood.iff",
         "UserData/evil.iff", evil.size(),
         [&] { test::WriteBytes(game / "UserData/evil.iff", evil); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(root.path());
        test::WriteBytes(hood, ToBytes("the player's neighbourhood"));
        test::WriteBytes(victim, ToBytes("the player's thesis"));
        c.plant();
        test::WriteBytes(IntentFile(game), Planted(c.target, c.temp, evil, c.size,
                                                   c.target == victim.string() ? victim : hood));
        const auto before = Tree(root.path());
        const Recovery recovery = RecoverIntent(game);
        EXPECT_TRUE(recovery.found && recovery.declined);
        ASSERT_EQ(recovery.report.size(), 1u);
        EXPECT_NE(recovery.report[0].find(IntentFile(game).string()), std::string::npos);
        EXPECT_EQ(Tree(root.path()), before);
    }

    // A name taken by what no save leaves (a pipe, a folder, a dangling link) is said once,
    // set aside, and saves go on.
    const std::vector<std::pair<const char*, std::function<void(const fs::path&)>>> foreign = {
        {"a pipe", [](const fs::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0644), 0); }},
        {"a folder", [](const fs::path& p) { fs::create_directory(p); }},
        {"a dangling link", [&](const fs::path& p) { fs::create_symlink(outside / "none", p); }},
        {"a link to a file", [&](const fs::path& p) { fs::create_symlink(victim, p); }},
    };
    for (const auto& [what, plant] : foreign) {
        SCOPED_TRACE(what);
        fs::remove_all(root.path());
        test::WriteBytes(hood, ToBytes("the player's neighbourhood"));
        test::WriteBytes(victim, ToBytes("the player's thesis"));
        plant(IntentFile(game));
        const Recovery recovery = RecoverIntent(game);
        EXPECT_TRUE(recovery.found && recovery.complete && !recovery.declined);
        EXPECT_EQ(recovery.report.size(), 1u);
        EXPECT_EQ(test::ReadBytes(victim), ToBytes("the player's thesis"));
        EXPECT_TRUE(ReplaceTogether(game, {{hood, ToBytes("saved"), std::nullopt}}));
        EXPECT_EQ(test::ReadBytes(hood), ToBytes("saved"));
        EXPECT_FALSE(RecoverIntent(game).found);
    }

    // A planted marker leads the start to no temp-named file outside the game folder.
    const std::vector<std::pair<const char*, std::string>> markers = {
        {"a way out through ..", "../home"},
        {"a folder linked to outside", "UserData/out"},
    };
    for (const auto& [what, folder] : markers) {
        SCOPED_TRACE(what);
        fs::remove_all(root.path());
        test::WriteBytes(hood, ToBytes("the player's neighbourhood"));
        test::WriteBytes(victim.string() + suffix, evil);
        fs::create_directory_symlink(outside, game / "UserData" / "out");
        std::string text = "adultify-temps 1\nfolder\t" + folder + "\n";
        text += "end\t1\t" + std::to_string(text.size()) + "\t" +
                Hex8(Crc32(text.data(), text.size())) + "\n";
        test::WriteBytes(TempsMarkerFile(game), ToBytes(text));
        (void)RecoverIntent(game);
        EXPECT_EQ(test::ReadBytes(victim.string() + suffix), evil);
        EXPECT_FALSE(fs::exists(TempsMarkerFile(game)));
    }
#endif
}

} // namespace
} // namespace adultify
