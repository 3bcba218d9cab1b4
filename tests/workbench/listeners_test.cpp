#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "workbench/workbench.h"

namespace vemla {
namespace {

// A listener that runs `onTools` when told and counts how often it was told.
struct Listener : WorkbenchListener {
  std::function<void()> onTools;
  int told = 0;
  void picturesChanged() override {}
  void toolsChanged() override {
    ++told;
    if (onTools) onTools();
  }
};

// A tool window is created, and adds itself as a listener, while the listeners hear that a
// tool was chosen; another goes away in the middle of a round. Neither may upset the round.
TEST(WorkbenchListeners, SurviveListenersComingAndGoingDuringARound) {
  Workbench bench;
  std::vector<std::unique_ptr<Listener>> added;
  Listener creator, leaving, last;
  creator.onTools = [&] {
    for (int i = 0; i < 64; ++i) {  // enough to make the list grow its storage
      added.push_back(std::make_unique<Listener>());
      bench.addListener(added.back().get());
    }
    bench.removeListener(&leaving);
  };
  bench.addListener(&creator);
  bench.addListener(&leaving);
  bench.addListener(&last);
  bench.notifyToolsChanged();
  EXPECT_EQ(leaving.told, 0);
  EXPECT_EQ(last.told, 1);
  EXPECT_EQ(added.front()->told, 1);  // a listener added in a round hears the rest of it
  creator.onTools = nullptr;
  bench.notifyToolsChanged();
  EXPECT_EQ(leaving.told, 0);
  EXPECT_EQ(added.back()->told, 2);
  for (const auto& listener : added) bench.removeListener(listener.get());
}

}  // namespace
}  // namespace vemla
