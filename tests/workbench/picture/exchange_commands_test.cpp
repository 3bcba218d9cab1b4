#include "workbench/picture/exchange_commands.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "persist/exchange_file.h"
#include "support/test_files.h"
#include "support/workbench_fixture.h"
#include "workbench/commands/pane_commands.h"
#include "workbench/commands/pane_commands.h"
#include "workbench/view/refresh_chain.h"

namespace vemla {
namespace {

using testing::TempDir;

class ExchangeCommands : public testing::WorkbenchFixture {
 protected:
  ExchangeCommands() : WorkbenchFixture(256) {}
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(WorkbenchFixture::SetUp());
    bench.settings.folder = dir.path();
  }
  // Picture 1 is x + y, Picture 2 is 200 - x, both named as files.
  void open(int width, int height) {
    MemoryPictures pictures;
    pictures.names = {"/data/one.bmp", "/data/two.bmp"};
    openPictures(
        width, height, [](int x, int y) { return x + y; }, [](int x, int) { return 200 - x; },
        pictures);
  }
  persist::ExchangeItem stored() {
    persist::ExchangeItem item;
    persist::ExchangeRequest request;
    EXPECT_EQ(persist::readExchangeItem(dir.path(), request, user, item), 0);
    return item;
  }

  TempDir dir;
};

TEST_F(ExchangeCommands, CopyWritesWhatThePaneShows) {
  EXPECT_EQ(copyPaneToExchange(bench, user, Pane::Picture1), -1);  // nothing shown yet
  EXPECT_FALSE(persist::exchangeItemPresent(dir.path()));
  open(16, 8);
  ASSERT_EQ(copyPaneToExchange(bench, user, Pane::Picture2), 0);
  persist::ExchangeItem item = stored();
  EXPECT_EQ(item.title, "/data/two.bmp");
  EXPECT_EQ(item.width, 16);
  EXPECT_EQ(item.height, 8);
  EXPECT_EQ(item.payload, picture2);  // no shift: the shifted picture is the picture

  // An image pane gives its kind's buffer, titled with the kind name.
  ASSERT_EQ(copyPaneToExchange(bench, user, Pane::Image2), 0);
  item = stored();
  EXPECT_EQ(item.title, kindNameOf(bench, ImageSlot::Second));
  ASSERT_EQ(item.payload.size(), picture1.size());
  EXPECT_EQ(item.payload[5], bench.store.plane(kImage2)[5]);
  EXPECT_TRUE(user.messages.empty());
}

TEST_F(ExchangeCommands, PasteOfTheSameSizeReplacesOnlyThatPicture) {
  open(16, 8);
  ASSERT_EQ(copyPaneToExchange(bench, user, Pane::Picture2), 0);  // Picture 2 ...
  setCursorPosition(bench, 3, 2);
  // ... into Picture 1 from Image 1's menu
  ASSERT_EQ(pasteExchangeToPane(bench, user, Pane::Image1), 0);
  EXPECT_EQ(pixel(kPicture1, 4, 1), 200 - 4);
  EXPECT_EQ(pixel(kPicture2, 4, 1), 200 - 4);
  EXPECT_EQ(bench.pictures.pictures[0].name, "</data/two.bmp>");
  EXPECT_EQ(bench.pictures.pictures[1].name, "/data/two.bmp");
  EXPECT_EQ(bench.view.centreX, 3);  // the view stays
  EXPECT_EQ(bench.view.centreY, 2);
  EXPECT_TRUE(user.messages.empty());
}

TEST_F(ExchangeCommands, PasteOfAnotherSizeOpensItWithAnEmptyPartner) {
  open(16, 8);
  ASSERT_EQ(copyPaneToExchange(bench, user, Pane::Picture1), 0);
  open(24, 24);
  ASSERT_EQ(pasteExchangeToPane(bench, user, Pane::Picture2), 0);
  EXPECT_EQ(bench.pictures.width, 16);
  EXPECT_EQ(bench.pictures.height, 8);
  EXPECT_EQ(pixel(kPicture2, 5, 3), 5 + 3);
  EXPECT_EQ(pixel(kPicture1, 5, 3), 0);
  EXPECT_EQ(bench.pictures.pictures[0].name, "");
  EXPECT_EQ(bench.pictures.pictures[1].name, "</data/one.bmp>");
}

TEST_F(ExchangeCommands, PaneMenusOfferPastingOnlyWhileTheFileExists) {
  open(16, 8);
  const auto offered = [&](Pane pane) {
    for (const PaneMenuItem& item : paneMenu(bench, pane, {})) {
      if (item.command == PaneCommand::VlaPaste) return item.enabled;
    }
    ADD_FAILURE() << "no paste item";
    return false;
  };
  EXPECT_FALSE(offered(Pane::Picture1));
  ASSERT_TRUE(runPaneCommand(bench, Pane::Image2, PaneCommand::VlaCopy, 0, {}, user, progress, progress));
  EXPECT_TRUE(offered(Pane::Picture1));
  EXPECT_TRUE(offered(Pane::Image2));
  bench.pictures.editing = true;
  EXPECT_FALSE(offered(Pane::Picture2));
}

}  // namespace
}  // namespace vemla
