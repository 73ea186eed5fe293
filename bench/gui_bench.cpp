// The editor under the offscreen platform on the 999-resident sample: from launch to the
// main window shown, and one click on a resident until the window has repainted.
#include "app/editor.h"
#include "app/form1_events.h"
#include "app/startup.h"
#include "files/native_file_system.h"
#include "game/neighbourhood_list.h"
#include "hood/get_people.h"
#include "sample/game_folder.h"
#include "ui/headless/headless_window_system.h"
#include "ui/qt/dialog_font.h"
#include "ui/qt/qt_window_system.h"

#include <QApplication>
#include <QListWidget>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <thread>
#include <vector>

using namespace adultify;
namespace fs = std::filesystem;
using Steady = std::chrono::steady_clock;

namespace {

double Ms(Steady::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const fs::path prefix = fs::temp_directory_path() / "adultify-gui-bench";
    const bool keep =
        argc > 1 && std::string(argv[1]) == "--keep"; // reuse the sample, for profiling
    const fs::path game = prefix / "drive_c" / "Program Files (x86)" / "Maxis" / "The Sims";
    if (!keep || !fs::exists(prefix / "complete")) {
        fs::remove_all(prefix);
        (void)sample::WriteWinePrefix(prefix, "C:\\Program Files (x86)\\Maxis\\The Sims");
        sample::WriteRandomGame(game, sample::PlayersProportions(999, 99));
        std::ofstream(prefix / "complete") << "";
    }
    setenv("WINEPREFIX", prefix.c_str(), 1);
    const auto env = [](const char* name) { return std::getenv(name); };

    QApplication app(argc, argv);
    qt::UseDialogFont();

    // Get_People alone, on the in-memory window layer, for comparison.
    auto getPeople = [&] {
        HeadlessWindowSystem ui;
        NativeFileSystem files(WindowsPathMapper(prefix / "dosdevices"));
        ManualClock clock;
        Module1 m(ui, files, clock);
        m.game.SimsPath = "C:\\Program Files (x86)\\Maxis\\The Sims\\";
        FillNeighbourhoodList(m);
        ui.ListSelect("Combo1", 0);
        const auto t0 = Steady::now();
        Get_People(m);
        return Ms(Steady::now() - t0);
    };
    // Launches, each a fresh editor with the real clock, interleaved with Get_People runs.
    std::vector<double> reads, idleReads, launches, built, painted;
    std::unique_ptr<EditorOn<qt::QtWindowSystem>> kept;
    for (int round = 0; round < 5; ++round) {
        reads.push_back(getPeople());
        kept.reset(); // one editor at a time: a second one would find the game held
        const auto launch = Steady::now();
        auto editor = std::make_unique<EditorOn<qt::QtWindowSystem>>(env);
        const auto windows = Steady::now();
        if (!editor->Load()) return 3;
        const auto loaded = Steady::now();
        editor->ui().ShowForm("Form1");
        QApplication::processEvents();
        launches.push_back(Ms(Steady::now() - launch) - 4000);
        built.push_back(Ms(windows - launch));
        painted.push_back(Ms(Steady::now() - loaded));
        reads.push_back(getPeople());
        kept = std::move(editor);
        std::this_thread::sleep_for(std::chrono::seconds(3));
        idleReads.push_back(getPeople());
    }
    EditorOn<qt::QtWindowSystem>& editor = *kept;
    auto* list = qobject_cast<QListWidget*>(editor.ui().Widget("List1"));
    std::vector<double> clicks;
    for (int i = 0; i < 21; ++i) {
        const int line = i % 2 ? 998 : 997;
        const auto t0 = Steady::now();
        list->setCurrentRow(line); // as a click does: the selection changes and the view follows
        QApplication::processEvents();
        editor.ui().Window("Form1")->repaint();
        clicks.push_back(Ms(Steady::now() - t0));
    }
    const double read = Median(reads), beyond = Median(launches);
    std::cout << "Get_People of the first neighbourhood (999 residents): " << read
              << " ms (median of 10)\n"
              << "launch to Form1 shown, beyond start-up's 4000 ms of waits: " << beyond
              << " ms = " << beyond / read << " x Get_People (median of 5; windows built "
              << Median(built) << " ms, Form1 shown and painted " << Median(painted) << " ms)\n"
              << "Get_People after three idle seconds, as start-up has them before it: "
              << Median(idleReads) << " ms\n"
              << "click on a resident until repainted, 999 lines in List1: " << Median(clicks)
              << " ms (median of 21), slowest " << *std::max_element(clicks.begin(), clicks.end())
              << " ms\n";
    if (!keep) fs::remove_all(prefix);
    return 0;
}
