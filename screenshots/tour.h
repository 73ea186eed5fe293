#pragma once
// One tour of the editor's windows for the screenshots, the same on every window layer: each
// layer brings a camera, the way it grabs a window and answers a message box.

#include "app/run_state.h"
#include "sample/game_model.h"
#include "ui/window_system.h"

#include <functional>
#include <string>

namespace adultify::screenshots {

class Camera {
  public:
    virtual ~Camera() = default;
    // A picture of a shown form, named `name` without its ending.
    virtual void Grab(WindowSystem& ui, FormId form, const std::string& name) = 0;
    // A picture of the modal form open now.
    virtual void GrabModal(WindowSystem& ui, const std::string& name) = 0;
    // A picture of the message box open now.
    virtual void GrabBox(const std::string& name) = 0;
    // Presses the open message box's button.
    virtual void AnswerBox(MsgAnswer answer) = 0;
    // `act` runs `ms` from now inside whatever loop runs then (a modal window's, a box's).
    virtual void After(int ms, std::function<void()> act) = 0;
    // A second editor on the same game; `whenLoaded` runs once it has started.
    virtual void OpenSecondEditor(const std::function<void(WindowSystem&)>& whenLoaded) = 0;
};

// The game every picture shows: a dozen residents, four of them children.
[[nodiscard]] sample::RandomHoodParams TourGame();

// Every window from the splash to the question before leaving, on an editor that has not
// loaded yet; false when it could not load its game.
[[nodiscard]] bool RunTour(const RunState& run, WindowSystem& ui, Camera& camera,
                           const std::function<bool()>& load);

} // namespace adultify::screenshots
