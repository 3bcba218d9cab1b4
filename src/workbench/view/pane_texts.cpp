#include "workbench/view/pane_texts.h"

#include "processing/image_kinds.h"
#include "text/format.h"
#include "text/translate.h"
#include "workbench/view/pane_numbers.h"
#include "workbench/view/refresh_chain.h"

namespace vemla {
namespace {

using text::N_;

constexpr const char* kPictureHelp =
    N_("・「画像制御情報」の条件でｼﾌﾄされた画像が表示されます\n"
       "・ｲﾒｰｼﾞで表示されている範囲が矩形で表示されます\n"
       "・矩形の色は『ｵﾌﾟｼｮﾝ情報-色の設定』から変更が可能です\n"
       "・ﾏｳｽの左ｸﾘｯｸで表示位置の変更ができます\n"
       "・ﾏｳｽの右ｸﾘｯｸで拡張機能が使用できます\n");
constexpr const char* kImageKindHelp = N_("（%s）：%s\n\n");
constexpr const char* kImageHelpHead = N_(
    "・表示画像（ｼﾌﾄされた画像）を基に「ｲﾒｰｼﾞ制御情報」の条件で画像処理されたｲﾒｰｼﾞが表示されます\n"
    "・ﾏｳｽの左ｸﾘｯｸでｶｰｿﾙ位置の変更ができ、ｸﾘｯｸした状態でﾏｳｽをﾄﾞﾛｰｲﾝｸﾞすると表示ｲﾒｰｼﾞがｽﾗｲﾄﾞします\n"
    "　※画像の全体が表示されている場合はｽﾗｲﾄﾞしません\n");
constexpr const char* kImageHelpGrabScroll =
    N_("・ﾏｳｽﾎｲｰﾙを押下した状態や、Shift/"
       "Ctrlｷｰ+左ｸﾘｯｸした状態ではﾏｳｽの移動により表示位置全体の移動が可能です\n");
constexpr const char* kImageHelpShiftClick =
    N_("　※Shiftｷｰを押下した状態で左ｸﾘｯｸした場合はｸﾘｯｸ位置が中心に移動します\n");
constexpr const char* kImageHelpTail = N_(
    "・ﾏｳｽの右ｸﾘｯｸで拡張機能が使用できます\n"
    "　※『ｵﾌﾟｼｮﾝ情報-ﾕｰｻﾞ制御』で動作の変更が可能です\n"
    "・ｷｰﾎﾞｰﾄﾞのｶｰｿﾙｷｰ（←、→、↑、↓）でｶｰｿﾙ位置の移動ができます\n"
    "・ﾏｳｽﾎｲｰﾙの回転で表示倍率の変更が可能です\n"
    "　※ｷｰ押下やﾎｲｰﾙが有効でない場合は「ｲﾒｰｼﾞ制御情報」の再表示を押下して下さい\n"
    "　※ｸｲｯｸ(状況依存)ﾍﾙﾌﾟを表示中はｷｰ押下やﾎｲｰﾙが有効とならない場合があります\n"
    "・「ｲﾒｰｼﾞ制御情報-ｶﾗｰ情報」でﾊﾟﾚｯﾄを指定すると階調値とｶﾗｰの対応(ﾊﾟﾚｯﾄ情報)が表示されます\n");

}  // namespace

std::string paneTitleText(const Workbench& bench, Pane pane) {
  if (isImagePane(pane)) return imageLabelOf(bench, imageOfPane(pane));
  return bench.titles.pane[index(pictureOfPane(pane))];
}

std::string paneHelpText(const Workbench& bench, Pane pane, bool grabScrollEnabled) {
  if (!isImagePane(pane)) return text::tr(kPictureHelp);
  std::string help;
  if (bench.pictures.picturesPresent) {
    const ImageSlot image = imageOfPane(pane);
    const int kind = bench.images.kind[index(image)];
    const char* description = isBuiltInKind(kind)
                                  ? imageKindTable()[static_cast<std::size_t>(kind)].description
                                  : kUserProcessingDescription;
    help = text::format(text::tr(kImageKindHelp), shownKindNameOf(bench, image).c_str(),
                        text::tr(description));
  }
  help += text::tr(kImageHelpHead);
  help += text::tr(grabScrollEnabled ? kImageHelpGrabScroll : kImageHelpShiftClick);
  help += text::tr(kImageHelpTail);
  return help;
}

}  // namespace vemla
