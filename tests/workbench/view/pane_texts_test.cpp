#include "workbench/view/pane_texts.h"

#include <gtest/gtest.h>

#include <string>

#include "workbench/view/pane_fixture.h"
#include "workbench/view/pane_numbers.h"

namespace vemla {
namespace {

using PaneTexts = PanePictures;

TEST_F(PaneTexts, TitlesAndHelpTexts) {
  EXPECT_EQ(paneTitleText(bench, Pane::Image1), "ｲﾒｰｼﾞ1");
  const std::string before = paneHelpText(bench, Pane::Image1, false);
  EXPECT_EQ(before.rfind("・表示画像（ｼﾌﾄされた画像）を基に", 0), 0u);
  open(640, 480);
  EXPECT_EQ(paneTitleText(bench, Pane::Picture1), "画像１(one.bmp)");
  EXPECT_EQ(paneTitleText(bench, Pane::Image2), "ｲﾒｰｼﾞ2（画像２） x1");
  EXPECT_EQ(paneHelpText(bench, Pane::Picture2, true),
            "・「画像制御情報」の条件でｼﾌﾄされた画像が表示されます\n"
            "・ｲﾒｰｼﾞで表示されている範囲が矩形で表示されます\n"
            "・矩形の色は『ｵﾌﾟｼｮﾝ情報-色の設定』から変更が可能です\n"
            "・ﾏｳｽの左ｸﾘｯｸで表示位置の変更ができます\n"
            "・ﾏｳｽの右ｸﾘｯｸで拡張機能が使用できます\n");
  const std::string shiftClick =
      "　※Shiftｷｰを押下した状態で左ｸﾘｯｸした場合はｸﾘｯｸ位置が中心に移動します\n";
  const std::string grab =
      "・ﾏｳｽﾎｲｰﾙを押下した状態や、Shift/Ctrlｷｰ+左ｸﾘｯｸした状態ではﾏｳｽの移動により表示位置全体の"
      "移動が可能です\n";
  const std::string plain = paneHelpText(bench, Pane::Image2, false);
  EXPECT_EQ(plain.rfind("（画像２）：表示されている画像２と同じ内容です\n\n・表示画像", 0), 0u);
  EXPECT_EQ(
      plain.size(),
      before.size() + std::string("（画像２）：表示されている画像２と同じ内容です\n\n").size());
  // The slide note is followed by the shift-click note, or by the grab-scroll line.
  const std::string slideNote = "　※画像の全体が表示されている場合はｽﾗｲﾄﾞしません\n";
  EXPECT_NE(plain.find(slideNote + shiftClick + "・ﾏｳｽの右ｸﾘｯｸで拡張機能"), std::string::npos);
  const std::string grabbing = paneHelpText(bench, Pane::Image2, true);
  EXPECT_NE(grabbing.find(slideNote + grab + "・ﾏｳｽの右ｸﾘｯｸで拡張機能"), std::string::npos);
  EXPECT_EQ(grabbing.find(shiftClick), std::string::npos);
  const std::string ending =
      "・「ｲﾒｰｼﾞ制御情報-ｶﾗｰ情報」でﾊﾟﾚｯﾄを指定すると階調値とｶﾗｰの対応(ﾊﾟﾚｯﾄ情報)が表示されます\n";
  EXPECT_EQ(plain.substr(plain.size() - ending.size()), ending);
}

}  // namespace
}  // namespace vemla
