#include "screenshots/tour.h"

#include "about/about_windows.h"
#include "ageing/skill_editor.h"
#include "app/children_window.h"
#include "app/form1_events.h"
#include "app/snapshot_window.h"
#include "app/startup.h"
#include "characters/thumbnail_fix.h"
#include "game/path_dialog.h"
#include "hood/resident_view.h"

#include <optional>

namespace adultify::screenshots {

namespace {

// Long enough for a modal window or a box to be shown and drawn under Wine.
constexpr int kShown = 300;
// Long enough for a modal window to have started its own loop.
constexpr int kStarted = 150;

// The first child of the resident list, chosen: the one the main command is for.
void ChooseFirstChild(const RunState& run, WindowSystem& ui) {
    Module1& m = run.m;
    int child = 0;
    for (int line = 0; line < ui.ListCount("List1"); ++line) {
        if (IsChild(m.hood.People[static_cast<std::size_t>(line)])) {
            child = line;
            break;
        }
    }
    ui.ListSelect("List1", child);
    (void)DispatchEvent(run, "List1", UiEvent::Click);
}

// The next box's picture if `name` is given, then its button; `then` runs after, to answer
// the box that follows.
void AnswerNextBox(Camera& camera, const char* name, MsgAnswer answer,
                   const std::function<void()>& then = {}) {
    camera.After(kShown, [&camera, name, answer, then] {
        if (name) camera.GrabBox(name);
        camera.AnswerBox(answer);
        if (then) then();
    });
}

// The next modal form's picture, then closed by its button `close`.
void GrabNextModal(const RunState& run, WindowSystem& ui, Camera& camera, const char* name,
                   ControlId close) {
    camera.After(kShown, [run, &ui, &camera, name, close] {
        camera.GrabModal(ui, name);
        (void)DispatchEvent(run, close, UiEvent::Click);
    });
}

void GrabSplash(WindowSystem& ui, Camera& camera) {
    ui.LoadForm("frmSplash");
    ui.SetCaption("frmSplash.lblVersion", MakeVersionText());
    ui.SetCaption("frmSplash.Label1", "Find Neighbourhoods - 1");
    ui.ShowForm("frmSplash");
    camera.Grab(ui, "frmSplash", "frmSplash");
    ui.UnloadForm("frmSplash");
}

// The path dialog, the about window and the skill dialog at 537, each closed after its picture.
void GrabDialogs(const RunState& run, WindowSystem& ui, Camera& camera) {
    Module1& m = run.m;
    GrabNextModal(run, ui, camera, "Form2", "Form2.Command2");
    ShowPathDialog(m);
    GrabNextModal(run, ui, camera, "frmAbout", "frmAbout.cmdOK");
    AboutSequence(m);
    camera.After(kStarted, [run, &ui] {
        if (ui.SetScrollValue("Form3.HScroll1", 537))
            (void)DispatchEvent(run, "Form3.HScroll1", UiEvent::Change);
    });
    GrabNextModal(run, ui, camera, "Form3", "Form3.Command2");
    (void)EditSkill(m, 0, 1000, 120, "Cooking");
}

// The thumbnail warning answered No, the child shown grown up, then the snapshot window with
// the snapshot Adultify took.
void GrabAdultify(const RunState& run, WindowSystem& ui, Camera& camera) {
    Module1& m = run.m;
    AnswerNextBox(camera, "ThumbnailWarning", MsgAnswer::No,
                  [&camera] { AnswerNextBox(camera, nullptr, MsgAnswer::Ok); });
    menu_fix_thumbnails_Click(m);

    ChooseFirstChild(run, ui);
    AnswerNextBox(camera, "AdultifyResult", MsgAnswer::Ok);
    (void)DispatchEvent(run, "Command1", UiEvent::Click);
    camera.Grab(ui, "Form1", "Form1-AfterAdultify");

    GrabNextModal(run, ui, camera, "frmSnapshots", "frmSnapshots.cmdClose");
    ShowSnapshotWindow(m);
}

// The children window with two lines marked and the next one chosen.
void GrabChildren(const RunState& run, WindowSystem& ui, Camera& camera) {
    Module1& m = run.m;
    camera.After(kStarted, [run, &ui] {
        for (int line = 0; line < 3 && line < ui.ListCount("frmChildren.List1"); ++line) {
            ui.ListSelect("frmChildren.List1", line);
            (void)DispatchEvent(run, "frmChildren.List1", UiEvent::Click);
            if (line < 2) (void)DispatchEvent(run, "frmChildren.cmdMark", UiEvent::Click);
        }
    });
    GrabNextModal(run, ui, camera, "frmChildren", "frmChildren.cmdClose");
    ShowChildrenWindow(m);
}

// The next child, refused while the game runs: the question answered No, then the log.
void GrabRefused(const RunState& run, WindowSystem& ui, Camera& camera) {
    Module1& m = run.m;
    ChooseFirstChild(run, ui);
    m.findRunningGame = [] { return std::optional<std::string>("Sims.exe (process 4242)"); };
    AnswerNextBox(camera, "GameRunningQuestion", MsgAnswer::No);
    (void)DispatchEvent(run, "Command1", UiEvent::Click);
    camera.Grab(ui, "Form1", "Form1-Refused");
    m.findRunningGame = nullptr;
}

// A second editor on the same game while the first is open: told at once, and read-only.
void GrabSecondEditor(Camera& camera) {
    AnswerNextBox(camera, "ReadOnlyMessage", MsgAnswer::Ok);
    camera.OpenSecondEditor([&camera](WindowSystem& second) {
        second.ShowForm("Form1");
        camera.Grab(second, "Form1", "Form1-ReadOnly");
    });
}

} // namespace

sample::RandomHoodParams TourGame() {
    sample::RandomHoodParams params;
    params.residents = 12;
    params.children = 4;
    params.fillerBytes = 4000;
    return params;
}

bool RunTour(const RunState& run, WindowSystem& ui, Camera& camera,
             const std::function<bool()>& load) {
    Module1& m = run.m;
    GrabSplash(ui, camera);
    if (!load()) return false;
    ui.ShowForm("Form1");
    ChooseFirstChild(run, ui);
    camera.Grab(ui, "Form1", "Form1");
    GrabDialogs(run, ui, camera);
    GrabAdultify(run, ui, camera);
    GrabChildren(run, ui, camera);
    GrabRefused(run, ui, camera);
    GrabSecondEditor(camera);

    // The question before leaving with unsaved edits, answered Cancel.
    m.editing.UnsavedData = kTrue;
    AnswerNextBox(camera, "UnsavedQuestion", MsgAnswer::Cancel);
    (void)DispatchEvent(run, "menu_exit", UiEvent::Click);
    return true;
}

} // namespace adultify::screenshots
