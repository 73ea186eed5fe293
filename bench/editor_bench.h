#pragma once
// The editor's answers to a user, driven the same way on any window layer through the events
// its windows report: launch to the first painted Form1, a click on a resident, a neighbourhood
// pick, and the path dialog opening a folder of 1,000 folders. Each prints its median wall and
// CPU milliseconds and how many times one window painted in one answer (1: no visible fill).

#include "app/editor.h"
#include "core/clock.h"
#include "sample/game_folder.h"
#include "sample/game_model.h"
#include "text/path_text.h"
#include "ui/window_system.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace adultify::bench {

// What the window layer of one platform adds: its CPU clock and a count of repaints.
struct Platform {
    std::function<double()> cpuMs;                         // the process's CPU time so far
    std::function<void(bool)> countPaints;                 // starts counting afresh, or stops
    std::function<int()> mostPaintsOfOne;                  // the most repaints one window had since
    std::function<int(WindowSystem&, ControlId)> paintsOf; // one control's, since
};

// The most any window had.
template <typename Counts> int Most(const Counts& counts) {
    int most = 0;
    for (const auto& [window, n] : counts)
        most = std::max(most, n);
    return most;
}

inline double WallMs() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

inline double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// Two neighbourhoods (999 and 500 residents) and a folder holding 1,000 folders, written
// once under `root`.
inline void WriteBenchGame(const std::filesystem::path& game, const std::filesystem::path& many) {
    const std::filesystem::path done = game.parent_path() / "complete";
    if (std::filesystem::exists(done)) return;
    sample::GameSpec made;
    for (int h = 0; h < 2; ++h) {
        sample::RandomHoodParams p;
        p.number = 1 + 2 * h;
        p.residents = h == 0 ? 999 : 500;
        p.families = h == 0 ? 250 : 125;
        p.children = h == 0 ? 200 : 100;
        p.baseGameRecords = 99;
        p.fillerBytes = 90000;
        p.seed = 99 + static_cast<std::uint32_t>(h);
        made.hoods.push_back(sample::RandomHood(p));
    }
    sample::WriteGameFolder(game, made);
    char name[16];
    for (int i = 0; i < 1000; ++i) {
        std::snprintf(name, sizeof name, "Folder %04d", i);
        std::filesystem::create_directories(many / name);
    }
    std::ofstream(done) << "";
}

struct Answer {
    std::vector<double> wall, cpu;
    int paints = 0;     // the most of any window in one answer
    int listPaints = 0; // the most of the list the answer fills
};

// Runs `act` once per turn, `batch` turns per CPU reading (the CPU clock of a Wine process
// ticks every 10 ms), `batches` readings; `before` sets up each turn, not measured. Two turns
// before them count the repaints, which costs a Wine program time of its own.
inline Answer Measure(Platform& p, WindowSystem& ui, ControlId list, int batches, int batch,
                      const std::function<void(int)>& act,
                      const std::function<void()>& before = {}) {
    Answer a;
    int turn = 0;
    const auto once = [&] {
        if (before) before();
        const double t0 = WallMs(), cpu0 = p.cpuMs();
        act(turn++);
        ui.IdleTurn(); // the answer painted
        return std::pair{WallMs() - t0, p.cpuMs() - cpu0};
    };
    for (int i = 0; i < 2; ++i) {
        p.countPaints(true);
        (void)once();
        a.paints = std::max(a.paints, p.mostPaintsOfOne());
        a.listPaints = std::max(a.listPaints, p.paintsOf(ui, list));
        p.countPaints(false);
    }
    for (int b = 0; b < batches; ++b) {
        double cpu = 0;
        for (int i = 0; i < batch; ++i) {
            const auto [wall, cpuMs] = once();
            a.wall.push_back(wall);
            cpu += cpuMs;
        }
        a.cpu.push_back(cpu / batch);
    }
    return a;
}

inline void Report(const char* what, const Answer& a) {
    std::printf("%s: wall %.1f ms, cpu %.1f ms, list paints %d (any window %d)\n", what,
                Median(a.wall), Median(a.cpu), a.listPaints, a.paints);
}

// The editor on window layer `Layer`, fresh for each launch; `eventSink` is its window layer's
// entrance for events, as a user's input takes it.
// `only`: the one answer to measure (its name's first word), for a profiler; empty: all.
template <typename Layer>
int RunEditorBench(Platform& p, const std::filesystem::path& many, std::string_view only = {}) {
    const auto wanted = [&](std::string_view name) {
        return only.empty() || name.substr(0, name.find(' ')) == only;
    };
    const int rounds = only.empty() ? 5 : 40;
    ManualClock clock; // the splash's waits pass at once
    std::unique_ptr<EditorOn<Layer>> editor;
    std::vector<double> launchWall, launchCpu;
    for (int i = 0; i < 3; ++i) {
        editor.reset(); // one editor at a time: a second one would find the game held
        const double t0 = WallMs(), cpu0 = p.cpuMs();
        editor = std::make_unique<EditorOn<Layer>>(
            [](const char* name) { return std::getenv(name); }, &clock);
        if (!editor->Load()) return 3;
        editor->ui().ShowForm("Form1");
        editor->ui().IdleTurn();
        launchWall.push_back(WallMs() - t0);
        launchCpu.push_back(p.cpuMs() - cpu0);
    }
    std::printf("launch to Form1 painted: wall %.1f ms, cpu %.1f ms\n", Median(launchWall),
                Median(launchCpu));
    auto& ui = editor->ui();
    const auto send = [&](ControlId control, UiEvent event) { (void)ui.eventSink(control, event); };
    if (wanted("click"))
        Report("click on a resident", Measure(p, ui, "List2", rounds, 6, [&](int turn) {
                   ui.ListSelect("List1", turn % 2 ? 5 : 2); // lines in sight, as a click takes
                   send("List1", UiEvent::Click);
               }));
    if (wanted("neighbourhood"))
        Report("neighbourhood pick", Measure(p, ui, "List1", rounds, 2, [&](int turn) {
                   ui.ListSelect("Combo1", (turn + 1) % 2);
                   send("Combo1", UiEvent::Click);
               }));
    if (!wanted("path")) return 0;
    ui.LoadForm("Form2");
    ui.ShowForm("Form2");
    ui.IdleTurn();
    const auto open = [&](const std::filesystem::path& folder) {
        ui.SetCaption("Form2.Dir1", PathText(folder));
        send("Form2.Dir1", UiEvent::Change);
    };
    Report("path dialog, 1,000 folders",
           Measure(
               p, ui, "Form2.Dir1", rounds, 1, [&](int) { open(many); },
               [&] {
                   open(many.parent_path());
                   ui.IdleTurn();
               }));
    ui.UnloadForm("Form2");
    return 0;
}

} // namespace adultify::bench
