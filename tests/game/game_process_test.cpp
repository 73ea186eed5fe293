#include "game/game_process.h"

#include "tests/support/system_calls.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>

namespace adultify {
namespace {

namespace fs = std::filesystem;

// The process list is read from /proc, Linux's.
#ifndef _WIN32
// A /proc lookalike: one numbered folder per process with its cmdline (arguments each ended
// by a NUL, as the kernel writes them) and, when given, an exe link.
class FakeProc {
  public:
    void Add(int pid, const std::vector<std::string>& args, const std::string& exe = "") {
        const fs::path folder = root() / std::to_string(pid);
        fs::create_directories(folder);
        std::string cmdline;
        for (const std::string& arg : args)
            cmdline += arg + '\0';
        std::ofstream(folder / "cmdline", std::ios::binary) << cmdline;
        if (!exe.empty()) fs::create_symlink(exe, folder / "exe");
    }
    const fs::path& root() const { return dir_.path(); }

  private:
    test::TempDir dir_;
};

const std::string kPreloader64 = "/usr/lib/wine/wine64-preloader";
const std::string kProtonPreloader =
    "/home/u1/.local/share/Steam/steamapps/common/Proton 9.0 (Beta)/files/bin/wine64-preloader";
const std::string kLegacyExe =
    "C:\\Program Files (x86)\\Steam\\steamapps\\common\\The Sims Legacy Collection\\Sims.exe";

// What a desktop session runs beside the game.
void AddOrdinaryProcesses(FakeProc& proc) {
    proc.Add(1, {"/sbin/init", "splash"}, "/usr/lib/systemd/systemd");
    proc.Add(2, {}); // kthreadd: no command line, no exe link
    proc.Add(57, {});
    proc.Add(640, {"/usr/bin/bash"}, "/usr/bin/bash");
    proc.Add(700, {"C:\\windows\\system32\\services.exe"}, kProtonPreloader);
    proc.Add(701, {"C:\\windows\\system32\\explorer.exe", "/desktop"}, kProtonPreloader);
    proc.Add(702, {"/usr/bin/wineserver"}, "/usr/bin/wineserver");
}

TEST(FindRunningGame, FindsTheGameUnderProtonAndWineInAnyLetterCase) {
    struct Case {
        const char* what;
        std::vector<std::string> args;
        std::string exe;
        std::string command;
    };
    const std::vector<Case> cases = {
        {"Proton, argv[0] rewritten by Wine",
         {kLegacyExe, "-skip_intro"},
         kProtonPreloader,
         kLegacyExe + " -skip_intro"},
        {"native Wine, upper case",
         {"Z:\\home\\u\\Games\\The Sims\\SIMS.EXE"},
         kPreloader64,
         "Z:\\home\\u\\Games\\The Sims\\SIMS.EXE"},
        {"Wine loaders still ahead of the program",
         {"/usr/lib/wine/wine-preloader", "/usr/bin/wine", "C:\\Games\\The Sims\\sims.exe"},
         "/usr/lib/wine/wine-preloader",
         "/usr/lib/wine/wine-preloader /usr/bin/wine C:\\Games\\The Sims\\sims.exe"},
        {"started as wine with a Unix path",
         {"wine64", "/home/u1/Games/The Sims/Sims.exe"},
         "/usr/bin/wine64",
         "wine64 /home/u1/Games/The Sims/Sims.exe"},
        {"known only by its exe link",
         {},
         "/mnt/games/The Sims/Sims.Exe",
         "/mnt/games/The Sims/Sims.Exe"},
    };
    for (const Case& c : cases) {
        FakeProc proc;
        AddOrdinaryProcesses(proc);
        proc.Add(4321, c.args, c.exe);
        const auto game = FindRunningGame(proc.root());
        ASSERT_TRUE(game) << c.what;
        EXPECT_EQ(game->pid, 4321) << c.what;
        EXPECT_EQ(game->command, c.command) << c.what;
    }
}

TEST(FindRunningGame, IgnoresProcessesThatOnlyMentionTheGameOrItsFolders) {
    FakeProc proc;
    AddOrdinaryProcesses(proc);
    const std::string steam = "/home/u1/.local/share/Steam/steamapps/common/";
    // Proton's launcher and Steam's reaper name the game only as a later argument.
    proc.Add(800,
             {"python3", steam + "Proton 9.0 (Beta)/proton", "waitforexitandrun",
              steam + "The Sims Legacy Collection/Sims.exe"},
             "/usr/bin/python3.11");
    proc.Add(801,
             {steam + "../../ubuntu12_32/reaper", "SteamLaunch", "AppId=3314060", "--",
              steam + "The Sims Legacy Collection/Sims.exe"},
             steam + "../../ubuntu12_32/reaper");
    proc.Add(802, {"C:\\windows\\system32\\steam.exe", kLegacyExe}, kProtonPreloader);
    proc.Add(803, {"/usr/bin/vim", "/home/u1/Games/The Sims/Sims.exe"}, "/usr/bin/vim.basic");
    // "sims" in folder names, and names that only resemble the game's.
    proc.Add(810, {"/opt/The Sims/bin/sims", "--hood", "UserData"}, "/opt/The Sims/bin/sims");
    proc.Add(811, {"/home/u1/Sims.exe/tool"}, "/home/u1/Sims.exe/tool");
    proc.Add(812, {"Z:\\home\\u\\Games\\The Sims\\MySims.exe"}, kPreloader64);
    proc.Add(813, {"Z:\\home\\u\\Games\\The Sims\\Sims.exe.bak"}, kPreloader64);
    proc.Add(814, {"C:\\Games\\The Sims\\Sims"}, kPreloader64);
    proc.Add(815, {"/usr/bin/wine", "wine64"}, "/usr/bin/wine");
    EXPECT_FALSE(FindRunningGame(proc.root()));
}

TEST(FindRunningGame, PassesOverWhatIsNotAReadableProcess) {
    FakeProc proc;
    AddOrdinaryProcesses(proc);
    // Ended between the listing and the read: the folder is there, its files are not.
    fs::create_directories(proc.root() / "900");
    // Unreadable: a folder where cmdline should be (mode 000 would not stop root).
    fs::create_directories(proc.root() / "901" / "cmdline");
    fs::create_directories(proc.root() / "902");
    std::ofstream(proc.root() / "902" / "cmdline") << "x";
    fs::permissions(proc.root() / "902" / "cmdline", fs::perms::none);
    // Not process folders, although they name the game.
    for (const char* name : {"self", "acpi", "12a", "-5"}) {
        fs::create_directories(proc.root() / name);
        std::ofstream(proc.root() / name / "cmdline", std::ios::binary)
            << std::string("C:\\Games\\The Sims\\Sims.exe") + '\0';
    }
    EXPECT_FALSE(FindRunningGame(proc.root()));

    proc.Add(903, {"Z:\\home\\u\\Games\\The Sims\\SIMS.EXE"}, kPreloader64);
    const auto game = FindRunningGame(proc.root());
    ASSERT_TRUE(game);
    EXPECT_EQ(game->pid, 903);

    EXPECT_FALSE(FindRunningGame(proc.root() / "missing"));
}

#endif

} // namespace
} // namespace adultify
