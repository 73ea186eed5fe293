// One body of tests for the window layer, run against every implementation.
#include "tests/ui/window_layer_contract.h"

#include "ui/headless/headless_window_system.h"

namespace adultify {
namespace {

std::unique_ptr<WindowSystem> MakeHeadless() {
    return std::make_unique<HeadlessWindowSystem>();
}

INSTANTIATE_TEST_SUITE_P(Headless, WindowLayerContract, ::testing::Values(&MakeHeadless),
                         [](const auto&) { return std::string("InMemory"); });

} // namespace
} // namespace adultify
