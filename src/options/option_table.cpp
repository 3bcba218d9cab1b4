#include "options/option_table.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <vector>

#include "text/cp932.h"

namespace vemla {
namespace {

constexpr std::int64_t kIntMax = std::numeric_limits<int>::max();

using text::N_;
using P = OptionPage;
using C = Correction;
using R = ChangeRule;

// Where an option stands on the sheet: its page, the box it stands in ("" for none) and the text
// beside its control.
struct Place {
  P page;
  std::string_view group;
  std::string_view label;
};

#define VEMLA_FIELD(member) [](Options& o) { return &o.member; }

OptionDescriptor described(std::string_view name, Place place, OptionType type,
                           C correction = C::None, std::int64_t low = 0, std::int64_t high = 0,
                           R change = R::Plain, OptionStore store = OptionStore::ProgramSettings) {
  return {name, place.page, place.group, place.label, type, correction, low, high, change, store};
}

OptionDescriptor flag(std::string_view name, Place place, bool* (*field)(Options&),
                      R change = R::Plain, OptionStore store = OptionStore::ProgramSettings) {
  OptionDescriptor d = described(name, place, OptionType::Flag, C::None, 0, 1, change, store);
  d.flag = field;
  return d;
}

OptionDescriptor integer(std::string_view name, Place place, C correction, std::int64_t low,
                         std::int64_t high, int* (*field)(Options&), R change = R::Plain,
                         OptionStore store = OptionStore::ProgramSettings) {
  OptionDescriptor d =
      described(name, place, OptionType::Integer, correction, low, high, change, store);
  d.integer = field;
  return d;
}

// Two radio buttons: index 0 or 1; anything else keeps the previous value.
OptionDescriptor choice(std::string_view name, Place place, std::array<std::string_view, 2> choices,
                        int* (*field)(Options&), R change = R::Plain) {
  OptionDescriptor d =
      described(name, place, OptionType::Choice, C::PreviousIfOutside, 0, 1, change);
  d.choices = choices;
  d.integer = field;
  return d;
}

OptionDescriptor real(std::string_view name, Place place, C correction, double* (*field)(Options&),
                      R change = R::Plain) {
  OptionDescriptor d = described(name, place, OptionType::Real, correction, 0, 0, change);
  d.real = field;
  return d;
}

OptionDescriptor colour(std::string_view name, std::string_view group, std::string_view button,
                        std::uint32_t* (*field)(Options&)) {
  OptionDescriptor d = described(name, {P::Colours, group, button}, OptionType::Colour,
                                 C::ColourValue, 0, 0xFFFFFF, R::Colour);
  d.colour = field;
  return d;
}

OptionDescriptor textOption(std::string_view name, Place place, std::int64_t maxBytes,
                            std::string* (*field)(Options&)) {
  OptionDescriptor d = described(name, place, OptionType::Text, C::FitsField, 0, maxBytes);
  d.text = field;
  return d;
}

// The 16-bit conversion: a rule and a window whose ends lie in low .. high; kept in the
// program's own options file.
OptionDescriptor sixteenBit(std::string_view name, Place place,
                            SixteenBitConversion* (*field)(Options&)) {
  OptionDescriptor d = described(name, place, OptionType::SixteenBit, C::PreviousIfOutside, 0,
                                 65535, R::Plain, OptionStore::OwnOptions);
  d.sixteenBit = field;
  return d;
}

// A row with the explanation that F1 (and quick help) shows on its control.
OptionDescriptor explained(std::string_view help, OptionDescriptor option) {
  option.help = help;
  return option;
}

constexpr std::array<std::string_view, 2> kInterpolation{N_("1次"), N_("3次")};
constexpr std::string_view kPixelSize = N_("画素(1Pixel)のｻｲｽﾞ");
constexpr std::string_view kInterpolationMode = N_("補間ﾓｰﾄﾞ");
constexpr std::string_view kAreaDifference = N_("ｴﾘｱ差(標準画像処理)情報");
constexpr std::string_view kMaxSize = N_("画像の最大許容ｻｲｽﾞ\n 　　 （画素数）");
constexpr std::string_view kCarryOver = N_("画像を開く時の引き継ぎ情報");
constexpr std::string_view kGreyRatio = N_("標準のRGB比率");
constexpr std::string_view kRawFile = N_("RAWﾌｧｲﾙ情報");
constexpr std::string_view kExport = N_("Export情報");
constexpr std::string_view kImport = N_("Import情報");
constexpr std::string_view kProfile = N_("ﾌﾟﾛﾌｧｲﾙ関連");
constexpr std::string_view kView3D = N_("３D関連");
constexpr std::string_view kPartialCompare = N_("部分比較関連");
constexpr std::string_view kScope = N_("ｲﾒｰｼﾞｽｺｰﾌﾟ関連");

std::vector<OptionDescriptor> buildTable() {
  return {
      // "画像関連"
      explained(N_("1画素の横方向のｻｲｽﾞを指定します\n測定ﾂｰﾙの長さや面積の単位となります"),
                real("PixelSizeX", {P::Picture, kPixelSize, "X"}, C::PositiveReal,
                     VEMLA_FIELD(PixelSizeX))),
      explained(N_("1画素の縦方向のｻｲｽﾞを指定します\n測定ﾂｰﾙの長さや面積の単位となります"),
                real("PixelSizeY", {P::Picture, kPixelSize, "Y"}, C::PositiveReal,
                     VEMLA_FIELD(PixelSizeY))),
      explained(N_("画像ｼﾌﾄの最小単位(1画素の分割数)を選択します"),
                integer("ShiftUnit", {P::Picture, "", N_("ｼﾌﾄの最小単位(Pixel)")}, C::PowerOfTwo, 2,
                        256, VEMLA_FIELD(ShiftUnit), R::ShiftUnit)),
      explained(N_("画像をｻﾌﾞﾋﾟｸｾﾙ単位でｼﾌﾄする時の補間方法を選択します"),
                choice("ShiftInterpolation", {P::Picture, kInterpolationMode, N_("画像ｼﾌﾄ時")},
                       kInterpolation, VEMLA_FIELD(ShiftInterpolation), R::ShiftInterpolation)),
      explained(N_("ｲﾒｰｼﾞを拡大表示する時の補間方法を選択します"),
                choice("ZoomInterpolation", {P::Picture, kInterpolationMode, N_("ｲﾒｰｼﾞ拡大時")},
                       kInterpolation, VEMLA_FIELD(ZoomInterpolation), R::ZoomInterpolation)),
      explained(N_("ｴﾘｱ差で総和をとる横方向の範囲(画素数)を指定します"),
                integer("AreaDiffRangeX", {P::Picture, kAreaDifference, N_("範囲（X、Y) X")},
                        C::Clamp, 1, kIntMax, VEMLA_FIELD(AreaDiffRangeX), R::AreaDifference)),
      explained(N_("ｴﾘｱ差で総和をとる縦方向の範囲(画素数)を指定します"),
                integer("AreaDiffRangeY", {P::Picture, kAreaDifference, N_("範囲（X、Y) Y")},
                        C::Clamp, 1, kIntMax, VEMLA_FIELD(AreaDiffRangeY), R::AreaDifference)),
      explained(
          N_("ｴﾘｱ差の求め方を選択します\n差の総和：画素毎の差を合計します\n総和の差：各画像の総"
             "和の差をとります"),
          choice("AreaDiffKind", {P::Picture, kAreaDifference, N_("種別")},
                 {N_("差の総和"), N_("総和の差")}, VEMLA_FIELD(AreaDiffKind), R::AreaDifference)),
      explained(N_("ｴﾘｱ差の結果をこの値で割って補正します"),
                real("AreaDiffDivisor", {P::Picture, kAreaDifference, N_("補正 総和／")},
                     C::PositiveReal, VEMLA_FIELD(AreaDiffDivisor), R::AreaDifference)),
      explained(
          N_("%sを %d ～ %d "
             "の範囲で指定します(4の倍数値)"
             "\nこの情報を更新した場合はﾌﾟﾛｸﾞﾗﾑの再起動が必要となります\n※値が大きいほど使用する"
             "ﾒﾓﾘ量が増大しますので最低限\n　必要な大きさを指定することをお勧めします"),
          integer("MaxPictureWidth", {P::Picture, kMaxSize, "X"}, C::RoundUpToFour, 1024, 4096,
                  VEMLA_FIELD(MaxPictureWidth), R::Restart)),
      explained(
          N_("%sを %d ～ %d "
             "の範囲で指定します(4の倍数値)"
             "\nこの情報を更新した場合はﾌﾟﾛｸﾞﾗﾑの再起動が必要となります\n※値が大きいほど使用する"
             "ﾒﾓﾘ量が増大しますので最低限\n　必要な大きさを指定することをお勧めします"),
          integer("MaxPictureHeight", {P::Picture, kMaxSize, "Y"}, C::RoundUpToFour, 1024, 4096,
                  VEMLA_FIELD(MaxPictureHeight), R::Restart)),
      explained(
          N_("ｷﾞｬﾗﾘｰの最大数を選択します\nこの情報を更新した場合はﾌﾟﾛｸﾞﾗﾑの\n再起動が必要となりま"
             "す"),
          integer("GalleryCount", {P::Picture, "", N_("ｷﾞｬﾗﾘｰの最大数")}, C::GalleryCount, 8, 32,
                  VEMLA_FIELD(GalleryCount), R::Restart, OptionStore::GalleryInformation)),
      explained(N_("ﾌﾟﾛｸﾞﾗﾑの立ち上げ時にｷﾞｬﾗﾘｰを表示しません"),
                flag("hideGalleryAtStart", {P::Picture, "", N_("立ち上げ時ｷﾞｬﾗﾘｰを表示しない")},
                     VEMLA_FIELD(hideGalleryAtStart), R::Plain, OptionStore::GalleryInformation)),
      explained(
          N_("画面やﾒｯｾｰｼﾞの言語を選択します\n自動：環境の言語(LANG)に従います\n"
             "次回の起動から有効となります"),
          integer("DisplayLanguage", {P::Picture, "", N_("表示言語")}, C::PreviousIfOutside, 0, 2,
                  VEMLA_FIELD(DisplayLanguage), R::RestartApplied, OptionStore::OwnOptions)),
      // "ﾕｰｻﾞ制御"
      explained(N_("画像を開く時に有効範囲区分を引き継ぎます"),
                flag("KeepValidRangeMode", {P::UserControl, kCarryOver, N_("有効範囲区分")},
                     VEMLA_FIELD(carryOver.KeepValidRangeMode))),
      explained(N_("画像を開く時にｱﾗｲﾒﾝﾄの実行状態を引き継ぎます"),
                flag("KeepAlignment", {P::UserControl, kCarryOver, N_("ｱﾗｲﾒﾝﾄ実行")},
                     VEMLA_FIELD(carryOver.KeepAlignment))),
      explained(N_("画像を開く時に表示位置を引き継ぎます\n画像ｻｲｽﾞが異なる場合は中心へ移動します"),
                flag("KeepDisplayPosition", {P::UserControl, kCarryOver, N_("表示位置")},
                     VEMLA_FIELD(carryOver.KeepDisplayPosition))),
      explained(N_("画像を開く時に表示ｲﾒｰｼﾞの種類を引き継ぎます"),
                flag("KeepImageKind", {P::UserControl, kCarryOver, N_("表示ｲﾒｰｼﾞ")},
                     VEMLA_FIELD(carryOver.KeepImageKind))),
      explained(N_("画像を開く時に拡大倍率を引き継ぎます"),
                flag("KeepMagnification", {P::UserControl, kCarryOver, N_("拡大倍率")},
                     VEMLA_FIELD(carryOver.KeepMagnification))),
      explained(N_("画像を開く時に拡大補間の状態を引き継ぎます"),
                flag("KeepZoomInterpolation", {P::UserControl, kCarryOver, N_("拡大補間")},
                     VEMLA_FIELD(carryOver.KeepZoomInterpolation))),
      explained(N_("画像を開く時にｶﾗｰ表示の状態を引き継ぎます"),
                flag("KeepColourDisplay", {P::UserControl, kCarryOver, N_("ｶﾗｰ表示")},
                     VEMLA_FIELD(carryOver.KeepColourDisplay))),
      explained(N_("画像を開く時に範囲抽出の状態を引き継ぎます"),
                flag("KeepRangeExtraction", {P::UserControl, kCarryOver, N_("範囲抽出")},
                     VEMLA_FIELD(carryOver.KeepRangeExtraction))),
      explained(N_("画像を開く時にｸﾞﾘｯﾄﾞ表示の状態を引き継ぎます"),
                flag("KeepGrid", {P::UserControl, kCarryOver, N_("ｸﾞﾘｯﾄﾞ表示")},
                     VEMLA_FIELD(carryOver.KeepGrid))),
      explained(
          N_("画像を開く時にﾕｰｻﾞﾌﾟﾛｸﾞﾗﾑの結果を引き継ぎます\n画像ｻｲｽﾞが異なる場合は消去されます"),
          flag("KeepUserProgramResult", {P::UserControl, kCarryOver, N_("ﾕｰｻﾞﾌﾟﾛｸﾞﾗﾑ　(EXE)結果")},
               VEMLA_FIELD(carryOver.KeepUserProgramResult))),
      explained(
          N_("ﾏｳｽのﾄﾞﾗｯｸﾞでｶｰｿﾙと共にｲﾒｰｼﾞの表示位置も移動させます"),
          flag("DragMovesImage", {P::UserControl, "", N_("ﾏｳｽのﾄﾞﾛｰｲﾝｸﾞでｲﾒｰｼﾞも\n移動させる")},
               VEMLA_FIELD(DragMovesImage))),
      explained(N_("ﾄﾞﾗｯｸﾞで表示位置を移動させる最低の移動量(画素数)を指定します"),
                integer("DragMinimumMove", {P::UserControl, "", N_("最低移動量")}, C::Clamp, 1,
                        kIntMax, VEMLA_FIELD(DragMinimumMove))),
      explained(
          N_("ｲﾒｰｼﾞを右ｸﾘｯｸした位置を中心へ移動します\nﾎﾟｯﾌﾟｱｯﾌﾟﾒﾆｭｰは Ctrl+右ｸﾘｯｸ で開きます"),
          flag("RightClickCentres", {P::UserControl, "", N_("ｲﾒｰｼﾞを右ｸﾘｯｸ時は中心へ移動")},
               VEMLA_FIELD(RightClickCentres))),
      explained(
          N_("ﾎﾟｯﾌﾟｱｯﾌﾟﾒﾆｭｰでｶﾗｰを選択した時にｶﾗｰ表示をONにします"),
          flag("PopupColourTurnsColourOn",
               {P::UserControl, "", N_("ﾎﾟｯﾌﾟｱｯﾌﾟﾒﾆｭｰからのｶﾗｰ選択時\nはｶﾗｰ表示ONへ切り替える")},
               VEMLA_FIELD(PopupColourTurnsColourOn))),
      explained(
          N_("小さな画面での表示位置の切り替えを禁止します\nこの情報を更新した場合はﾌﾟﾛｸﾞﾗﾑの\n"
             "再起動が必要となります"),
          flag("LockDisplayPosition",
               {P::UserControl, N_("表示位置情報"), N_("切り替えを禁止する")},
               VEMLA_FIELD(LockDisplayPosition), R::RestartApplied)),
      explained(N_("Viewerの拡大/縮小をﾏｳｽﾎｲｰﾙの回転だけで行います"),
                flag("ViewerWheelZoomOnly", {P::UserControl, "", N_("拡大/縮小はﾏｳｽﾎｲｰﾙ回転のみ")},
                     VEMLA_FIELD(ViewerWheelZoomOnly))),
      explained(
          N_("立ち上げ時にﾌｧｲﾙが１つだけ指定された場合\nViewerで表示します"),
          flag("ViewerForSingleFile",
               {P::UserControl, "", N_("立ち上げ時１つだけﾌｧｲﾙが指定\nされた場合Viewerを開く")},
               VEMLA_FIELD(ViewerForSingleFile))),
      explained(
          N_("Viewerを開く時に階調値の表示も行います(8ﾋﾞｯﾄのﾃﾞｰﾀのみ)"),
          flag("ViewerShowGradation", {P::UserControl, "", N_("Viewer起動時に階調値表示を行う")},
               VEMLA_FIELD(ViewerShowGradation))),
      // "色の設定"
      explained(N_("画像ｳｨﾝﾄﾞｳ内の範囲表示の色を指定します"),
                colour("RangeFrameColour", N_("画像ｳｨﾝﾄﾞｳ内"), N_("範囲表示色"),
                       VEMLA_FIELD(RangeFrameColour))),
      explained(N_("ｲﾒｰｼﾞ1の範囲抽出の表示色を指定します"),
                colour("RangeExtractionColour1", N_("範囲抽出色"), N_("ｲﾒｰｼﾞ1"),
                       VEMLA_FIELD(RangeExtractionColour1))),
      explained(N_("ｲﾒｰｼﾞ2の範囲抽出の表示色を指定します"),
                colour("RangeExtractionColour2", N_("範囲抽出色"), N_("ｲﾒｰｼﾞ2"),
                       VEMLA_FIELD(RangeExtractionColour2))),
      explained(
          N_("ｲﾒｰｼﾞ1(基準ｲﾒｰｼﾞ)のﾌﾟﾛﾌｧｲﾙの表示色を指定します"),
          colour("ProfileColour1", N_("ﾌﾟﾛﾌｧｲﾙ表示色"), N_("１"), VEMLA_FIELD(ProfileColour1))),
      explained(
          N_("ｲﾒｰｼﾞ2(比較ｲﾒｰｼﾞ)のﾌﾟﾛﾌｧｲﾙの表示色を指定します"),
          colour("ProfileColour2", N_("ﾌﾟﾛﾌｧｲﾙ表示色"), N_("２"), VEMLA_FIELD(ProfileColour2))),
      explained(N_("ｲﾒｰｼﾞ1のｸﾞﾘｯﾄﾞの表示色を指定します"),
                colour("GridColour1", N_("ｸﾞﾘｯﾄﾞ表示色"), N_("ｲﾒｰｼﾞ1"), VEMLA_FIELD(GridColour1))),
      explained(N_("ｲﾒｰｼﾞ2のｸﾞﾘｯﾄﾞの表示色を指定します"),
                colour("GridColour2", N_("ｸﾞﾘｯﾄﾞ表示色"), N_("ｲﾒｰｼﾞ2"), VEMLA_FIELD(GridColour2))),
      // "ﾌｧｲﾙ関連"
      explained(N_("Trueｶﾗｰのﾌｧｲﾙを開く時の変換方法を選択します"),
                choice("TrueColourOpenMode", {P::Files, "", N_("Trueｶﾗｰﾌｧｲﾙｵｰﾌﾟﾝ時")},
                       {N_("自動で変換(256色ｶﾗｰ化)"), N_("RGB比から変換(ｸﾞﾚｲｽｹｰﾙ化)")},
                       VEMLA_FIELD(TrueColourOpenMode))),
      explained(N_("Trueｶﾗｰのﾌｧｲﾙを開く毎にRGB比率を指定します"),
                flag("AskRatioPerFile", {P::Files, "", N_("ﾌｧｲﾙ毎にRGB比率を指定")},
                     VEMLA_FIELD(AskRatioPerFile))),
      explained(N_("ｸﾞﾚｲｽｹｰﾙ化する時の赤(R)の比率を指定します"),
                real("GreyRatioR", {P::Files, kGreyRatio, "R"}, C::FiniteReal,
                     VEMLA_FIELD(GreyRatio.red))),
      explained(N_("ｸﾞﾚｲｽｹｰﾙ化する時の緑(G)の比率を指定します"),
                real("GreyRatioG", {P::Files, kGreyRatio, "G"}, C::FiniteReal,
                     VEMLA_FIELD(GreyRatio.green))),
      explained(N_("ｸﾞﾚｲｽｹｰﾙ化する時の青(B)の比率を指定します"),
                real("GreyRatioB", {P::Files, kGreyRatio, "B"}, C::FiniteReal,
                     VEMLA_FIELD(GreyRatio.blue))),
      explained(N_("ﾌｧｲﾙを退避する時にｸﾞﾚ-ｽｹｰﾙのﾊﾟﾚｯﾄで保存します"),
                flag("SaveBitmapAsGrey", {P::Files, "", N_("ﾌｧｲﾙ退避時はｸﾞﾚ-ｽｹｰﾙとする")},
                     VEMLA_FIELD(SaveBitmapAsGrey))),
      explained(N_("RAWﾌｧｲﾙを開く時の横ｻｲｽﾞの初期値を指定します"),
                integer("RawDefaultWidth", {P::Files, kRawFile, N_("ｻｲｽﾞの初期値 X")}, C::RawWidth,
                        8, 4096, VEMLA_FIELD(RawDefaultWidth))),
      explained(N_("RAWﾌｧｲﾙを開く時の縦ｻｲｽﾞの初期値を指定します"),
                integer("RawDefaultHeight", {P::Files, kRawFile, N_("ｻｲｽﾞの初期値 Y")},
                        C::RawHeight, 8, 4096, VEMLA_FIELD(RawDefaultHeight))),
      explained(
          N_("16ﾋﾞｯﾄのｸﾞﾚｲｽｹｰﾙ画像を8ﾋﾞｯﾄにする方法を選択します\n2枚の画像に同じ変換を行います\n"
             "ﾌｧｲﾙの有効ﾋﾞｯﾄ数：ﾌｧｲﾙが示す有効ﾋﾞｯﾄの範囲を0～255へ\n"
             "範囲を指定：下限～上限を0～255へ(範囲外は0または255)\n"
             "上位8ﾋﾞｯﾄ：各画素の上位8ﾋﾞｯﾄ"),
          sixteenBit("SixteenBit", {P::Files, N_("16ﾋﾞｯﾄ画像の変換"), ""},
                     VEMLA_FIELD(SixteenBit))),
      explained(N_("VLAﾌｧｲﾙを開く時に情報を画像１として開きます"),
                flag("ArchiveOpenPicture1", {P::Files, N_("画像１"), N_("開く")},
                     VEMLA_FIELD(ArchiveOpenPicture1))),
      explained(N_("画像として開くVLAﾌｧｲﾙの情報番号を\n %d～%d の範囲で指定します"),
                integer("ArchivePicture1Number", {P::Files, N_("画像１"), N_("番号")}, C::Clamp, 0,
                        kArchiveItemLimit - 1, VEMLA_FIELD(ArchivePicture1Number))),
      explained(N_("VLAﾌｧｲﾙを開く時に情報を画像２としても開きます"),
                flag("ArchiveOpenPicture2", {P::Files, N_("画像２"), N_("開く")},
                     VEMLA_FIELD(ArchiveOpenPicture2))),
      explained(N_("画像として開くVLAﾌｧｲﾙの情報番号を\n %d～%d の範囲で指定します"),
                integer("ArchivePicture2Number", {P::Files, N_("画像２"), N_("番号")}, C::Clamp, 0,
                        kArchiveItemLimit - 1, VEMLA_FIELD(ArchivePicture2Number))),
      explained(N_("ﾄﾞﾗｯｸﾞ&ﾄﾞﾛｯﾌﾟや貼り付けでVLAﾌｧｲﾙを開く時も\n開く情報を選択します"),
                flag("ArchiveSelectOnDrop", {P::Files, "", N_("D&&Dや貼り付け時も選択する")},
                     VEMLA_FIELD(ArchiveSelectOnDrop))),
      explained(N_("VLAﾌｧｲﾙを開く時に情報をｷﾞｬﾗﾘｰへ展開します"),
                flag("ArchiveExpandToGallery", {P::Files, "", N_("ｷﾞｬﾗﾘｰへの展開を行う")},
                     VEMLA_FIELD(ArchiveExpandToGallery))),
      explained(N_("ｷﾞｬﾗﾘｰへ展開する開始位置を選択します"),
                integer("ArchiveExpandStartSlot", {P::Files, "", N_("展開する開始位置")},
                        C::StartSlot, 0, 31, VEMLA_FIELD(ArchiveExpandStartSlot))),
      explained(N_("空きのｴﾝﾄﾘはｷﾞｬﾗﾘｰへ展開しません"),
                flag("ArchiveSkipEmpty", {P::Files, "", N_("空きのｴﾝﾄﾘは展開しない")},
                     VEMLA_FIELD(ArchiveSkipEmpty))),
      [] {
        OptionDescriptor d = described("ArchiveExpandNumbers",
                                       {P::Files, "", N_("展開する情報番号\n　（複数選択可能）")},
                                       OptionType::NumberSet, C::None, 1, kArchiveItemLimit);
        d.numbers = VEMLA_FIELD(ArchiveExpandNumbers);
        d.help = N_("ｷﾞｬﾗﾘｰへ展開する情報番号を選択します\n選択がない場合は全ての情報を展開します");
        return d;
      }(),
      // "　通信　"
      explained(N_("画像の送受信に使用するﾎﾟｰﾄ番号を指定します"),
                integer("NetworkPort", {P::Communication, kExport, N_("ﾎﾟｰﾄ番号")},
                        C::ClampOrDefault, 1, 65535, VEMLA_FIELD(NetworkPort))),
      explained(N_("画像の送受信に使用するﾊﾟｽﾜｰﾄﾞを指定します"),
                textOption("ImportPassword", {P::Communication, kExport, N_("ﾊﾟｽﾜｰﾄﾞ")}, 62,
                           VEMLA_FIELD(ImportPassword))),
      explained(N_("Exportで接続を待つ時間(秒)を指定します"),
                integer("ExportTimeout", {P::Communication, kExport, N_("ﾀｲﾑｱｳﾄ （秒）")},
                        C::ClampOrDefault, 1, 3600, VEMLA_FIELD(ExportTimeout))),
      explained(N_("Importした画像をｸﾞﾚ-ｽｹｰﾙで開きます"),
                flag("ImportAsGrey", {P::Communication, kImport, N_("ｸﾞﾚ-ｽｹｰﾙで開く")},
                     VEMLA_FIELD(ImportAsGrey))),
      explained(N_("Import時に相手の表示位置を引き継ぎます"),
                flag("ImportTakePosition", {P::Communication, kImport, N_("表示位置を引き継ぐ")},
                     VEMLA_FIELD(ImportTakePosition))),
      explained(
          N_("Import時に相手の表示倍率を引き継ぎます"),
          flag("ImportTakeMagnification", {P::Communication, kImport, N_("表示倍率を引き継ぐ")},
               VEMLA_FIELD(ImportTakeMagnification))),
      explained(N_("Importで応答を待つ時間(秒)を指定します"),
                integer("ImportTimeout", {P::Communication, kImport, N_("ﾀｲﾑｱｳﾄ （秒）")},
                        C::ClampOrDefault, 1, 3600, VEMLA_FIELD(ImportTimeout))),
      // "ﾂｰﾙ関連１"
      explained(
          N_("ﾌﾟﾛﾌｧｲﾙのｸﾞﾘｯﾄﾞ幅(階調)の基準値を指定します\nﾌﾟﾛﾌｧｲﾙの『ﾘｾｯﾄ』でこの値になります"),
          integer("ProfileGridGradation", {P::Tools1, kProfile, N_("基準値（ｸﾞﾘｯﾄﾞ幅） 階調")},
                  C::Clamp, 1, 255, VEMLA_FIELD(ProfileGridGradation))),
      explained(
          N_("ﾌﾟﾛﾌｧｲﾙのｸﾞﾘｯﾄﾞ幅(画素)の基準値を指定します\nﾌﾟﾛﾌｧｲﾙの『ﾘｾｯﾄ』でこの値になります"),
          integer("ProfileGridPixels", {P::Tools1, kProfile, N_("画素")}, C::Clamp, 1, 512,
                  VEMLA_FIELD(ProfileGridPixels))),
      explained(N_("３D表示の視点のＸ角度の基準値を指定します"),
                integer("View3DAngleX", {P::Tools1, kView3D, N_("基準値（視点） Ｘ角度")}, C::Clamp,
                        0, 359, VEMLA_FIELD(View3DAngleX))),
      explained(N_("３D表示の視点のＺ角度の基準値を指定します"),
                integer("View3DAngleZ", {P::Tools1, kView3D, N_("Ｚ角度")}, C::Clamp, 0, 90,
                        VEMLA_FIELD(View3DAngleZ))),
      explained(N_("３D表示(ｲﾒｰｼﾞ)の輝度の基準値を指定します"),
                integer("View3DLuminance", {P::Tools1, kView3D, N_("基準値（表示ﾓｰﾄﾞ） 輝度")},
                        C::Clamp, 0, 256, VEMLA_FIELD(View3DLuminance))),
      explained(N_("３D表示(ﾜｲﾔ)の幅の基準値を指定します"),
                integer("View3DWireWidth", {P::Tools1, kView3D, N_("ﾜｲﾔ幅")}, C::Clamp, 3, 20,
                        VEMLA_FIELD(View3DWireWidth))),
      explained(N_("３D表示(ﾎﾟﾘｺﾞﾝ)の幅の基準値を指定します"),
                integer("View3DPolygonWidth", {P::Tools1, kView3D, N_("ﾎﾟﾘｺﾞﾝ幅")}, C::Clamp, 3, 20,
                        VEMLA_FIELD(View3DPolygonWidth))),
      explained(
          N_("自動測長で使うｴｯｼﾞﾚﾍﾞﾙの基準値を指定します"),
          integer("MeasureEdgeLevel", {P::Tools1, N_("測定関連"), N_("基準値（ｻｲｽﾞ） ｴｯｼﾞﾚﾍﾞﾙ")},
                  C::Clamp, 1, 128, VEMLA_FIELD(MeasureEdgeLevel))),
      explained(N_("ﾒﾓで開くﾌｧｲﾙを指定します"),
                textOption("MemoFile", {P::Tools1, N_("メモ関連"), N_("ﾌｧｲﾙ名称")}, 511,
                           VEMLA_FIELD(MemoFile))),
      // "ﾂｰﾙ関連２"
      explained(N_("部分比較のﾌﾟﾛﾌｧｲﾙの横方向のｸﾞﾘｯﾄﾞ幅(画素数)を指定します"),
                integer("PartialCompareGridX",
                        {P::Tools2, kPartialCompare, N_("ﾌﾟﾛﾌｧｲﾙのｸﾞﾘｯﾄﾞ幅 横方向")}, C::Clamp, 2,
                        kIntMax, VEMLA_FIELD(PartialCompareGridX))),
      explained(N_("部分比較のﾌﾟﾛﾌｧｲﾙの縦方向のｸﾞﾘｯﾄﾞ幅(階調)を指定します"),
                integer("PartialCompareGridY", {P::Tools2, kPartialCompare, N_("縦方向")}, C::Clamp,
                        1, kIntMax, VEMLA_FIELD(PartialCompareGridY))),
      explained(N_("ｲﾒｰｼﾞｽｺｰﾌﾟの表示倍率を指定します"),
                integer("ScopeMagnification", {P::Tools2, kScope, N_("表示倍率")}, C::Clamp, 1, 64,
                        VEMLA_FIELD(ScopeMagnification))),
      explained(
          N_("ｲﾒｰｼﾞｽｺｰﾌﾟの表示位置を選択します\n固定型：決まった位置に表示します\n追従型：ﾏｳｽｶｰｿ"
             "ﾙの近くに表示します"),
          choice("ScopePosition", {P::Tools2, kScope, N_("表示位置")}, {N_("固定型"), N_("追従型")},
                 VEMLA_FIELD(ScopePosition))),
  };
}

#undef VEMLA_FIELD

std::int64_t clampTo(std::int64_t value, std::int64_t low, std::int64_t high) {
  return std::clamp(value, low, high);
}

bool isPowerOfTwo(std::int64_t value) {
  return value > 0 && (value & (value - 1)) == 0;
}

int correctInteger(const OptionDescriptor& option, int value, int previous, int fallback,
                   const Options& options, CorrectionMode mode) {
  const std::int64_t v = value;
  switch (option.correction) {
    case C::Clamp:
      return static_cast<int>(clampTo(v, option.low, option.high));
    case C::RoundUpToFour:
      return correctMaxPictureSize(v);
    case C::PowerOfTwo:
      return isPowerOfTwo(v) && v >= option.low && v <= option.high ? value : previous;
    case C::GalleryCount: {
      const std::int64_t clamped = clampTo(v, option.low, option.high);
      return clamped % 4 == 0 ? static_cast<int>(clamped) : fallback;
    }
    case C::RawWidth:
      return static_cast<int>(
          clampTo(v, option.low, std::max<std::int64_t>(option.low, options.MaxPictureWidth)));
    case C::RawHeight:
      return static_cast<int>(
          clampTo(v, option.low, std::max<std::int64_t>(option.low, options.MaxPictureHeight)));
    case C::StartSlot:
      // A file is read before the gallery information that holds GalleryCount: there only the
      // largest gallery bounds the slot.
      return v >= 0 && v < (mode == CorrectionMode::Load ? option.high + 1 : options.GalleryCount)
                 ? value
                 : 0;
    case C::ClampOrDefault:
      if (mode == CorrectionMode::Load) {
        return v >= option.low && v <= option.high ? value : fallback;
      }
      return static_cast<int>(clampTo(v, option.low, option.high));
    case C::PreviousIfOutside:
      return v >= option.low && v <= option.high ? value : previous;
    default:
      return value;
  }
}

double correctReal(const OptionDescriptor& option, double value, double previous) {
  if (!std::isfinite(value)) return previous;
  if (option.correction == C::PositiveReal && !(value > 0.0)) return previous;
  return value;
}

// The correction of one value by its type; `previous` and `fallback` are the option's value
// before the entry (or the default when a file was read) and its default.
struct Corrector {
  const OptionDescriptor& option;
  const Options& options;
  const Options& previous;
  CorrectionMode mode;

  void operator()(int& value) const {
    static const Options defaults;
    value = correctInteger(option, value, optionMember<int>(option, previous),
                           optionMember<int>(option, defaults), options, mode);
  }
  void operator()(double& value) const {
    value = correctReal(option, value, optionMember<double>(option, previous));
  }
  void operator()(std::uint32_t& value) const {
    if (value > static_cast<std::uint32_t>(option.high)) {
      value = optionMember<std::uint32_t>(option, previous);
    }
  }
  void operator()(std::string& value) const {
    if (text::checkFixedField(value, static_cast<std::size_t>(option.high) + 1) !=
        text::FieldStatus::Ok) {
      value = optionMember<std::string>(option, previous);
    }
  }
  void operator()(bool&) const {}
  void operator()(std::array<bool, kArchiveItemLimit>&) const {}
  // A rule the table does not know, or a window whose ends are out of order, keeps the previous
  // conversion (the ends cannot leave 0 .. 65535, being 16 bits wide).
  void operator()(SixteenBitConversion& value) const {
    const bool known = static_cast<std::size_t>(value.rule) < kSixteenBitChoices.size();
    if (!known || value.lower >= value.upper) {
      value = optionMember<SixteenBitConversion>(option, previous);
    }
  }
};

}  // namespace

std::span<const OptionDescriptor> optionTable() {
  static const std::vector<OptionDescriptor> table = buildTable();
  return table;
}

const OptionDescriptor* findOption(std::string_view name) {
  for (const OptionDescriptor& option : optionTable()) {
    if (option.name == name) return &option;
  }
  return nullptr;
}

const OptionDescriptor& optionNamed(std::string_view name) {
  const OptionDescriptor* option = findOption(name);
  if (option == nullptr) std::abort();  // a name written in the code that the table lacks
  return *option;
}

bool sameOptionValue(const OptionDescriptor& option, const Options& a, const Options& b) {
  return visitOption(option, a, [&](const auto& value) {
    return value == optionMember<std::remove_cvref_t<decltype(value)>>(option, b);
  });
}

void copyOptionValue(const OptionDescriptor& option, const Options& from, Options& to) {
  visitOption(option, to, [&](auto& value) {
    value = optionMember<std::remove_cvref_t<decltype(value)>>(option, from);
  });
}

void correctOptions(Options& options, const Options& previous, CorrectionMode mode) {
  for (const OptionDescriptor& option : optionTable()) {
    visitOption(option, options, Corrector{option, options, previous, mode});
  }
}

bool optionEditable(const OptionDescriptor& option, bool secondCopy, bool galleryAvailable) {
  const bool needsRestart = option.change == R::Restart || option.change == R::RestartApplied;
  if (secondCopy && needsRestart) return false;
  const bool galleryOption = option.store == OptionStore::GalleryInformation ||
                             option.name == "ArchiveExpandToGallery" ||
                             option.name == "ArchiveExpandStartSlot";
  return galleryAvailable || !galleryOption;
}

ApplyResult applyOptions(Options& live, Options& pending, const ApplyContext& context) {
  correctOptions(pending, live, CorrectionMode::Entry);
  ApplyResult result;
  bool shiftUnitChanged = false, shiftInterpolationChanged = false, areaChanged = false,
       zoomChanged = false, anything = false;
  for (const OptionDescriptor& option : optionTable()) {
    if (sameOptionValue(option, live, pending)) continue;
    const bool needsRestart = option.change == R::Restart || option.change == R::RestartApplied;
    if (context.secondCopy && needsRestart) {
      // A second copy never saves, so the change would be lost: refuse it.
      copyOptionValue(option, live, pending);
      continue;
    }
    anything = true;
    switch (option.change) {
      case R::Restart:
        result.effects |= kEffectRestart;
        continue;  // held back in `pending`
      case R::RestartApplied:
        result.effects |= kEffectRestart;
        break;
      case R::ShiftUnit:
        shiftUnitChanged = true;
        result.oldShiftUnit = live.ShiftUnit;
        result.newShiftUnit = pending.ShiftUnit;
        break;
      case R::ShiftInterpolation:
        shiftInterpolationChanged = true;
        break;
      case R::AreaDifference:
        areaChanged = true;
        break;
      case R::ZoomInterpolation:
        zoomChanged = true;
        break;
      case R::Colour:
        result.effects |= kEffectRecreatePens;
        break;
      case R::Plain:
        break;
    }
    copyOptionValue(option, pending, live);
  }
  if (!anything) return result;
  result.effects |= kEffectSave;
  if (shiftUnitChanged) {
    result.effects |= kEffectRescaleShifts | kEffectRefreshControls;
  } else if (shiftInterpolationChanged || (areaChanged && context.areaDifferenceShown)) {
    result.effects |= kEffectPreparePictures;
  } else if (zoomChanged && context.magnifiedWithInterpolation) {
    result.effects |= kEffectRecreateImages;
  } else {
    result.effects |= kEffectRefreshControls;
  }
  return result;
}

void takeOverRestartOptions(Options& live, const Options& pending) {
  live.MaxPictureWidth = pending.MaxPictureWidth;
  live.MaxPictureHeight = pending.MaxPictureHeight;
  live.GalleryCount = pending.GalleryCount;
  if (live.ArchiveExpandStartSlot >= live.GalleryCount) live.ArchiveExpandStartSlot = 0;
}

int correctMaxPictureSize(std::int64_t value) {
  static const OptionDescriptor& size = optionNamed("MaxPictureWidth");
  if (value <= size.low) return static_cast<int>(size.low);
  if (value >= size.high) return static_cast<int>(size.high);
  return static_cast<int>((value + 3) / 4 * 4);
}

}  // namespace vemla
