#include "workbench/view/kind_choices.h"

#include <gtest/gtest.h>

#include "support/counting_listener.h"
#include "support/fake_progress_port.h"
#include "support/fake_user_port.h"
#include "workbench/picture/prepare_pictures.h"
#include "workbench/view/refresh_chain.h"

namespace vemla {
namespace {

// Without pictures a kind change only stores the kind and tells the listeners, which is all
// the choice rules decide.
class KindChoices : public ::testing::Test {
 protected:
  void SetUp() override {
    auto& entries = bench.userEntries.processing;
    entries[1].inUse = 1;
    entries[1].name = "縦エッジ";
    entries[3].inUse = 1;
    entries[3].name = "平滑";
    bench.addListener(&counter);
  }
  void TearDown() override { bench.removeListener(&counter); }

  Workbench bench;
  testing::CountingListener counter;
  testing::FakeUserPort user;
  testing::FakeProgressPort progress;
};

TEST_F(KindChoices, ListsTheTenKindsThenTheEntriesInUse) {
  const std::vector<KindChoice> choices = kindChoices(bench);
  ASSERT_EQ(choices.size(), 12u);
  EXPECT_EQ(choices[0], (KindChoice{"画像１", 0, 0}));
  EXPECT_EQ(choices[3], (KindChoice{"階調差", 3, 0}));
  EXPECT_EQ(choices[9], (KindChoice{"XOR(排他的論理和)", 9, 0}));
  EXPECT_EQ(choices[10], (KindChoice{"縦エッジ", 99, 1}));
  EXPECT_EQ(choices[11], (KindChoice{"平滑", 99, 3}));
}

TEST_F(KindChoices, FindsTheRowEachImageShows) {
  const std::vector<KindChoice> choices = kindChoices(bench);
  EXPECT_EQ(kindChoiceIndex(choices, bench, ImageSlot::First), 0);
  EXPECT_EQ(kindChoiceIndex(choices, bench, ImageSlot::Second), 1);
  bench.images.kind[1] = 99;
  bench.images.userEntry[1] = 3;
  EXPECT_EQ(kindChoiceIndex(choices, bench, ImageSlot::Second), 11);
  bench.images.userEntry[1] = 5;  // an entry no longer in use
  EXPECT_EQ(kindChoiceIndex(choices, bench, ImageSlot::Second), -1);
}

TEST_F(KindChoices, SelectorActsOnlyOnAnotherRow) {
  EXPECT_FALSE(selectKindChoice(bench, ImageSlot::Second, 1, user, progress, progress));
  EXPECT_EQ(counter.panes, 0);
  EXPECT_TRUE(selectKindChoice(bench, ImageSlot::Second, 11, user, progress, progress));
  EXPECT_EQ(bench.images.kind[1], 99);
  EXPECT_EQ(bench.images.userEntry[1], 3);
  EXPECT_EQ(counter.panes, 1);
  // Another entry of kind 99 is another row.
  EXPECT_TRUE(selectKindChoice(bench, ImageSlot::Second, 10, user, progress, progress));
  EXPECT_EQ(bench.images.userEntry[1], 1);
  EXPECT_FALSE(selectKindChoice(bench, ImageSlot::Second, 12, user, progress, progress));
  EXPECT_FALSE(selectKindChoice(bench, ImageSlot::Second, -1, user, progress, progress));
  EXPECT_EQ(bench.images.kind[0], 0);  // image 1 untouched throughout
}

TEST_F(KindChoices, PaneRequestAlwaysRecreatesTheUserProgramResult) {
  EXPECT_TRUE(requestKind(bench, ImageSlot::First, 6, user, progress, progress));
  EXPECT_EQ(bench.images.kind[0], 6);
  EXPECT_EQ(counter.panes, 1);
  EXPECT_TRUE(requestKind(bench, ImageSlot::First, 6, user, progress, progress));
  EXPECT_EQ(counter.panes, 2);
  // The selector does not repeat it, and the request repeats nothing else.
  EXPECT_FALSE(selectKindChoice(bench, ImageSlot::First, 6, user, progress, progress));
  EXPECT_TRUE(requestKind(bench, ImageSlot::First, 2, user, progress, progress));
  EXPECT_FALSE(requestKind(bench, ImageSlot::First, 2, user, progress, progress));
  EXPECT_EQ(counter.panes, 3);
}

}  // namespace
}  // namespace vemla
