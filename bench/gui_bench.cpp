// The Qt editor (offscreen) from exec to its first painted Form1, the splash's waits passed at
// once by a manual clock, against its floor: a bare Qt program that reads the same files once
// and shows one window with a list of a line per resident. Both are this program started
// again (--editor, --floor), interleaved, on a game of 216 residents (a real player's size)
// and one of 999. Each child reports the moment of its first paint and its CPU time then.
// gui_bench [ROUNDS]
#include "app/editor.h"
#include "bench/spawn.h"
#include "core/clock.h"
#include "sample/game_folder.h"
#include "sample/game_model.h"
#include "ui/qt/dialog_font.h"
#include "ui/qt/qt_window_system.h"

#include <QApplication>
#include <QListWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using namespace adultify;
namespace fs = std::filesystem;

namespace {

constexpr const char* kGame = "drive_c/Program Files (x86)/Maxis/The Sims";

double ClockMs(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// Once `window` has painted for the first time, and the paint pass it was part of has ended:
// prints the time (the system-wide monotonic clock) and the process's CPU time, and ends.
class FirstPaint : public QObject {
  public:
    explicit FirstPaint(QWidget* window) : window_(window) { window->installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window_ && event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            QTimer::singleShot(0, [] {
                std::printf("painted %.3f %.3f\n", ClockMs(CLOCK_MONOTONIC),
                            ClockMs(CLOCK_PROCESS_CPUTIME_ID));
                std::fflush(stdout);
                std::_Exit(0);
            });
        }
        return false;
    }

  private:
    QWidget* window_;
    bool seen_ = false;
};

int RunEditor() {
    ManualClock clock; // the splash's waits pass at once
    EditorOn<qt::QtWindowSystem> editor([](const char* name) { return std::getenv(name); }, &clock);
    if (!editor.Load()) return 3;
    FirstPaint paint(editor.ui().Window("Form1"));
    editor.ui().ShowForm("Form1");
    return QApplication::exec();
}

// What the editor cannot do with less: each file of the neighbourhood read once, and a window
// with a list of one line per resident.
int RunFloor(const fs::path& game) {
    const fs::path hood = game / "UserData";
    std::vector<fs::path> files{hood / "Neighborhood.iff"};
    for (const auto& entry : fs::directory_iterator(hood / "Characters"))
        files.push_back(entry.path());
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* list = new QListWidget(&window);
    layout->addWidget(list);
    QStringList lines;
    std::size_t bytes = 0;
    for (const fs::path& file : files) {
        std::ifstream in(file, std::ios::binary);
        std::vector<char> data(fs::file_size(file));
        in.read(data.data(), static_cast<std::streamsize>(data.size()));
        bytes += static_cast<std::size_t>(in.gcount());
        lines << QString::fromStdString(file.stem().string());
    }
    lines.removeFirst();
    list->addItems(lines);
    window.setWindowTitle(QString::number(bytes));
    window.resize(640, 480);
    FirstPaint paint(&window);
    window.show();
    return QApplication::exec();
}

struct Side {
    std::vector<double> wall, cpu;
};

// One launch of `mode`: wall from the spawn to the reported paint, CPU up to it.
void Launch(const std::string& self, const std::string& mode, const fs::path& out, Side& side) {
    const double start = ClockMs(CLOCK_MONOTONIC);
    if (!bench::Spawn({self, mode}, out.string())) return;
    std::ifstream in(out); // Qt's warnings too
    for (std::string line; std::getline(in, line);) {
        double painted = 0, cpu = 0;
        if (std::sscanf(line.c_str(), "painted %lf %lf", &painted, &cpu) == 2) {
            side.wall.push_back(painted - start);
            side.cpu.push_back(cpu);
        }
    }
}

void Compare(const std::string& self, const std::string& name, const fs::path& prefix, int rounds) {
    ::setenv("WINEPREFIX", prefix.c_str(), 1);
    const fs::path out = prefix.parent_path() / "out";
    Side floor, editor;
    for (int round = 0; round < rounds; ++round) {
        Launch(self, "--floor", out, floor);
        Launch(self, "--editor", out, editor);
    }
    const double fw = Median(floor.wall), fc = Median(floor.cpu);
    const double ew = Median(editor.wall), ec = Median(editor.cpu);
    std::printf("%s: floor %.1f / %.1f ms, editor %.1f / %.1f ms, ratio %.2f / %.2f "
                "(wall / cpu, medians of %zu)\n",
                name.c_str(), fw, fc, ew, ec, fw > 0 ? ew / fw : 0, fc > 0 ? ec / fc : 0,
                editor.wall.size());
}

fs::path WriteGame(const fs::path& prefix, const sample::HoodSpec& hood) {
    if (!fs::exists(prefix / "complete")) {
        (void)sample::WriteWinePrefix(prefix, "C:\\Program Files (x86)\\Maxis\\The Sims");
        sample::GameSpec game;
        game.hoods.push_back(hood);
        sample::WriteGameFolder(prefix / kGame, game);
        std::ofstream(prefix / "complete") << "";
    }
    return prefix;
}

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "--editor" || mode == "--floor") {
        QApplication app(argc, argv);
        qt::UseDialogFont();
        if (mode == "--editor") return RunEditor();
        const char* prefix = std::getenv("WINEPREFIX");
        return RunFloor(fs::path(prefix ? prefix : ".") / kGame);
    }
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    const fs::path root = fs::temp_directory_path() / "adultify-gui-bench";
    fs::create_directories(root / "home");
    // The editor's settings and snapshots, and no other Wine prefix: the benchmark's own.
    ::setenv("HOME", (root / "home").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (root / "home" / "config").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (root / "home" / "data").c_str(), 1);
    const std::string self = fs::canonical("/proc/self/exe").string();
    std::printf("load: %s",
                [] {
                    std::ifstream in("/proc/loadavg");
                    std::stringstream s;
                    s << in.rdbuf();
                    return s.str();
                }()
                    .c_str());
    std::printf("exec to the first painted Form1 against a bare Qt window with the list, the "
                "files read once\n");
    Compare(self, "216 residents",
            WriteGame(root / "g216", sample::RandomHood(sample::RealSizeHood(7))), rounds);
    Compare(self, "999 residents",
            WriteGame(root / "g999", sample::RandomHood(sample::PlayersProportions(999, 99))),
            rounds);
    return 0;
}
