// The window layer's contract, run against the Qt implementation.
#include "tests/ui/window_layer_contract.h"

#include "ui/qt/qt_window_system.h"

namespace adultify {
namespace {

std::unique_ptr<WindowSystem> MakeQt() {
    return std::make_unique<qt::QtWindowSystem>();
}

INSTANTIATE_TEST_SUITE_P(Qt, WindowLayerContract, ::testing::Values(&MakeQt),
                         [](const auto&) { return std::string("QtWidgets"); });

} // namespace
} // namespace adultify
