#include "iff/intent_record.h"

#include "iff/folder_lock.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <random>
#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif
#endif

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
    }

    test::TempDir dir;
    fs::path hood = dir.path() / "UserData" / "Neighborhood.iff";
    fs::path user = dir.path() / "UserData" / "Characters" / "User00001.iff";
    fs::path backup = dir.path() / "UserData" / "Neighborhood.000";
};

TEST_F(TwoFiles, AStopAfterAnyStepIsRecoveredToBothOldOrBothNew) {
    // Steps: 0 temp A, 1 temp B, 2 backup of B, 3 record, 4 rename A, 5 rename B, 6 record
    // removed; 7 runs to the end.
    const bool newAfter[] = {false, false, false, true, true, true, true, true};
    for (int k = 0; k < 8; ++k) {
        SCOPED_TRACE("stopped after step " + std::to_string(k));
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
        EXPECT_EQ(stopped, k < 7);
        EXPECT_EQ(fs::exists(IntentFile(dir.path())), k >= 3 && k < 6);

        const Recovery recovery = RecoverIntent(dir.path());
        EXPECT_TRUE(recovery.complete);
        EXPECT_EQ(recovery.found, k < 6);
        EXPECT_EQ(recovery.report.empty(), k >= 6);
        ExpectBothOldOrBothNew(1, newAfter[k]);
        if (newAfter[k] || fs::exists(backup)) {
            EXPECT_EQ(test::ReadBytes(backup), Contents('B', 0));
        }
        EXPECT_FALSE(RecoverIntent(dir.path()).found) << "a second start finds nothing to do";
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
        entries.push_back({c.target, temp.value(), c.backup});
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
        const Recovery recovery = RecoverIntent(dir.path());
        EXPECT_TRUE(recovery.found && recovery.complete);
        ExpectBothOldOrBothNew(1, false);
    }

    for (const IntentEntry& e : entries)
        test::WriteBytes(e.temp.path, e.target == user ? Contents('A', 1) : Contents('B', 1));
    test::WriteBytes(IntentFile(dir.path()), whole);
    EXPECT_TRUE(RecoverIntent(dir.path()).complete);
    ExpectBothOldOrBothNew(1, true);
}

TEST_F(TwoFiles, ADamagedTempBeforeAnyRenameDropsTheSave) {
    ASSERT_THROW(ReplaceTogether(dir.path(), Changes(1, std::nullopt),
                                 [steps = 0]() mutable {
                                     if (steps++ == 2) throw Stop{};
                                 }),
                 Stop);
    const auto temps = Temps(dir.path());
    ASSERT_EQ(temps.size(), 2u);
    Bytes damaged = test::ReadBytes(temps[1]);
    damaged[100] ^= 0xFF;
    test::WriteBytes(temps[1], damaged);
    const Recovery recovery = RecoverIntent(dir.path());
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

TEST_F(TwoFiles, AFailedRenameKeepsTheRecordUntilALaterStartCanFinish) {
#ifdef _WIN32
    GTEST_SKIP() << "the failure is made with POSIX permissions";
#else
    const FileStatus saved =
        ReplaceTogether(dir.path(), Changes(1, std::nullopt), [&, steps = 0]() mutable {
            if (steps++ == 2) ::chmod(hood.c_str(), 0444);
        });
    ASSERT_FALSE(saved);
    EXPECT_EQ(saved.error().kind, FileErrorKind::ReadOnly);
    EXPECT_NE(saved.error().reason.find("next starts"), std::string::npos);

    const Recovery blocked = RecoverIntent(dir.path());
    EXPECT_TRUE(blocked.found);
    EXPECT_FALSE(blocked.complete);
    EXPECT_TRUE(fs::exists(IntentFile(dir.path())));
    EXPECT_EQ(test::ReadBytes(hood), Contents('B', 0));

    ASSERT_EQ(::chmod(hood.c_str(), 0644), 0);
    EXPECT_TRUE(RecoverIntent(dir.path()).complete);
    ExpectBothOldOrBothNew(1, true);
#endif
}

// A real process, killed by SIGKILL at random moments while it saves again and again.
TEST_F(TwoFiles, AProcessKilledAtRandomMomentsLeavesBothOldOrBothNew) {
#ifdef _WIN32
    GTEST_SKIP() << "fork and SIGKILL are POSIX's";
#else
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    int generation = 0;
    int finished = 0, dropped = 0;
    for (int round = 0; round < 50; ++round) {
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
#ifdef __linux__
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
#endif
            auto lock = FolderLock::Take(dir.path());
            if (!lock) ::_exit(3);
            (void)::write(ready[1], "r", 1);
            for (int n = generation + 1;; ++n) {
                auto name = FirstFreeBackupName(hood.parent_path() / "Neighborhood");
                if (!name || !ReplaceTogether(dir.path(), Changes(n, name.value()))) ::_exit(4);
            }
        }
        char byte = 0;
        ASSERT_EQ(::read(ready[0], &byte, 1), 1);
        ::close(ready[0]);
        ::close(ready[1]);
        ::usleep(std::uniform_int_distribution<useconds_t>(0, 40000)(random));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saving process failed: " << WEXITSTATUS(status);

        auto lock = FolderLock::Take(dir.path());
        ASSERT_TRUE(lock) << "the lock ends with its process";
        const Recovery recovery = RecoverIntent(dir.path());
        ASSERT_TRUE(recovery.complete);
        const std::string said = recovery.report.empty() ? "" : recovery.report[0];
        finished += said.find("finished") != std::string::npos;
        dropped += said.find("before it began") != std::string::npos;
        const int a = GenerationOf(test::ReadBytes(user), 'A');
        ASSERT_EQ(a, GenerationOf(test::ReadBytes(hood), 'B')) << "round " << round;
        ASSERT_GE(a, generation);
        ASSERT_TRUE(Temps(dir.path()).empty());
        ASSERT_FALSE(fs::exists(IntentFile(dir.path())));
        for (const auto& e : fs::directory_iterator(hood.parent_path())) {
            if (e.path().extension() == ".iff" || e.is_directory()) continue;
            const int kept = GenerationOf(test::ReadBytes(e.path()), 'B');
            EXPECT_TRUE(kept >= 0 && kept <= a) << e.path();
            fs::remove(e.path());
        }
        generation = a;
    }
    RecordProperty("saves_finished_by_recovery", finished);
    RecordProperty("saves_dropped_by_recovery", dropped);
    RecordProperty("generations", generation);
#endif
}

} // namespace
} // namespace adultify
