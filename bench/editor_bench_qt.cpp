// The Qt editor's answers under the offscreen platform; bench/editor-bench.sh runs it in turn
// with the Win32 editor's under Wine.
#include "bench/editor_bench.h"
#include "ui/qt/dialog_font.h"
#include "ui/qt/qt_window_system.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

#include <ctime>
#include <map>

using namespace adultify;

namespace {

// Counts the paints each widget takes.
class PaintCount : public QObject {
  public:
    std::map<QObject*, int> paints;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints[watched];
        return false;
    }
};

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const std::filesystem::path root =
        argc > 1 ? std::filesystem::path(argv[1])
                 : std::filesystem::temp_directory_path() / "adultify-editor-bench";
    const std::filesystem::path game =
        root / "drive_c" / "Program Files (x86)" / "Maxis" / "The Sims";
    if (!std::filesystem::exists(root / "drive_c"))
        (void)sample::WriteWinePrefix(root, "C:\\Program Files (x86)\\Maxis\\The Sims");
    bench::WriteBenchGame(game, root / "many");
    setenv("WINEPREFIX", root.c_str(), 1);
    setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);

    QApplication app(argc, argv);
    qt::UseDialogFont();
    PaintCount count;
    bench::Platform p;
    p.cpuMs = [] {
        timespec t{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
        return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
    };
    p.countPaints = [&](bool on) {
        count.paints.clear();
        if (on)
            QApplication::instance()->installEventFilter(&count);
        else
            QApplication::instance()->removeEventFilter(&count);
    };
    p.mostPaintsOfOne = [&] { return bench::Most(count.paints); };
    p.paintsOf = [&](WindowSystem& ui, ControlId id) {
        const QWidget* widget = static_cast<qt::QtWindowSystem&>(ui).Widget(id);
        int most = 0; // the list's own or its viewport's
        for (const auto& [object, n] : count.paints)
            if (object == widget || (object && object->parent() == widget))
                most = std::max(most, n);
        return most;
    };
    return bench::RunEditorBench<qt::QtWindowSystem>(p, root / "many", argc > 2 ? argv[2] : "");
}
