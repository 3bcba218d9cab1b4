#include "workbench/editing/picture_rename.h"

#include <gtest/gtest.h>

#include "support/fake_user_port.h"

namespace vemla {
namespace {

TEST(RenameField, StartsWithAPseudoNameWithoutItsBracketsAndEmptyForFiles) {
  EXPECT_EQ(renameFieldText("<Import1>"), "Import1");
  EXPECT_EQ(renameFieldText("<>"), "");
  EXPECT_EQ(renameFieldText("<open"), "open");
  EXPECT_EQ(renameFieldText("/pictures/a.bmp"), "");
  EXPECT_EQ(renameFieldText(""), "");
  EXPECT_EQ(renameTitle(PictureSlot::First), "画像１名称の設定");
  EXPECT_EQ(renameTitle(PictureSlot::Second), "画像２名称の設定");
}

class SetPseudoName : public ::testing::Test {
 protected:
  void SetUp() override {
    bench.pictures.pictures[0].name = "/pictures/a.bmp";
    bench.pictures.pictures[1].name = "/pictures/b.bmp";
  }
  Workbench bench;
  testing::FakeUserPort user;
};

TEST_F(SetPseudoName, EmptyTextStoresAngleBracketsAndRetitles) {
  ASSERT_EQ(setPseudoName(bench, PictureSlot::First, "", user), 0);
  EXPECT_TRUE(user.messages.empty());
  EXPECT_EQ(bench.pictures.pictures[0].name, "<>");
  EXPECT_EQ(bench.titles.pane[0], "画像１<>");
  // Picture 2 keeps its file name in both titles.
  EXPECT_EQ(bench.titles.pane[1], "画像２(b.bmp)");
  EXPECT_EQ(bench.titles.main, "b.bmp - Vemla");
}

TEST_F(SetPseudoName, SecondPictureTakesTheEnteredText) {
  ASSERT_EQ(setPseudoName(bench, PictureSlot::Second, "比較<b>", user), 0);
  EXPECT_EQ(bench.pictures.pictures[1].name, "<比較<b>>");
  EXPECT_EQ(bench.pictures.pictures[0].name, "/pictures/a.bmp");
  EXPECT_EQ(bench.titles.pane[1], "画像２<比較<b>>");
}

TEST_F(SetPseudoName, AcceptsTextUpTo507BytesAndRefusesLongerWithoutCutting) {
  ASSERT_EQ(setPseudoName(bench, PictureSlot::First, std::string(507, 'a'), user), 0);
  EXPECT_EQ(bench.pictures.pictures[0].name.size(), 509u);

  EXPECT_EQ(setPseudoName(bench, PictureSlot::Second, std::string(508, 'a'), user), -1);
  // 254 two-byte characters are 508 CP932 bytes.
  std::string wide;
  for (int i = 0; i < 254; ++i) wide += "あ";
  EXPECT_EQ(setPseudoName(bench, PictureSlot::Second, wide, user), -1);
  ASSERT_EQ(user.messages.size(), 2u);
  EXPECT_EQ(user.messages[0].text, "ﾌｧｲﾙ名が長すぎます");
  EXPECT_EQ(user.messages[1].text, "ﾌｧｲﾙ名が長すぎます");
  EXPECT_EQ(bench.pictures.pictures[1].name, "/pictures/b.bmp");
  wide.resize(wide.size() - 3);  // 253 characters, 506 bytes
  EXPECT_EQ(setPseudoName(bench, PictureSlot::Second, wide, user), 0);
}

TEST_F(SetPseudoName, StoresCharactersTheNameFieldCannotHoldAsQuestionMarksWithANotice) {
  const struct {
    std::string typed, stored;
  } cases[] = {
      {"😀", "<?>"},
      {std::string("a\0b", 3), "<a?b>"},
      {"a\nb", "<a?b>"},
      {"café 検査", "<caf? 検査>"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored);
    user.messages.clear();
    ASSERT_EQ(setPseudoName(bench, PictureSlot::First, c.typed, user), 0);
    EXPECT_EQ(bench.pictures.pictures[0].name, c.stored);
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.messages[0].text, "保存できない文字を ? に置き換えました");
  }
}

}  // namespace
}  // namespace vemla
