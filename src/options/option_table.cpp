#include "options/option_table.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "picture/file_helpers.h"
#include "text/cp932.h"

namespace vemla {
namespace {

constexpr std::int64_t kIntMax = std::numeric_limits<int>::max();

using P = OptionPage;
using C = Correction;
using R = ChangeRule;

#define VEMLA_FIELD(member) [](Options& o) { return &o.member; }

OptionDescriptor flag(std::string_view name, P page, std::string_view label,
                      bool* (*field)(Options&), R change = R::Plain,
                      OptionStore store = OptionStore::ProgramSettings) {
  OptionDescriptor d{name, page, label, OptionType::Flag};
  d.change = change;
  d.store = store;
  d.flag = field;
  return d;
}

OptionDescriptor integer(std::string_view name, P page, std::string_view label, C correction,
                         std::int64_t low, std::int64_t high, int* (*field)(Options&),
                         R change = R::Plain, OptionStore store = OptionStore::ProgramSettings) {
  OptionDescriptor d{name, page, label, OptionType::Integer, correction, low, high, change, store};
  d.integer = field;
  return d;
}

// Radio buttons: index 0 .. count - 1; anything else keeps the previous value.
OptionDescriptor choice(std::string_view name, P page, std::string_view label, int count,
                        int* (*field)(Options&), R change = R::Plain) {
  OptionDescriptor d{name, page,      label, OptionType::Choice, C::PreviousIfOutside,
                     0,    count - 1, change};
  d.integer = field;
  return d;
}

OptionDescriptor real(std::string_view name, P page, std::string_view label, C correction,
                      double* (*field)(Options&), R change = R::Plain) {
  OptionDescriptor d{name, page, label, OptionType::Real, correction};
  d.change = change;
  d.real = field;
  return d;
}

OptionDescriptor colour(std::string_view name, std::string_view label,
                        std::uint32_t* (*field)(Options&)) {
  OptionDescriptor d{name,           P::Colours, label,    OptionType::Colour,
                     C::ColourValue, 0,          0xFFFFFF, R::Colour};
  d.colour = field;
  return d;
}

OptionDescriptor textOption(std::string_view name, P page, std::string_view label,
                            std::int64_t maxBytes, std::string* (*field)(Options&)) {
  OptionDescriptor d{name, page, label, OptionType::Text, C::FitsField, 0, maxBytes};
  d.text = field;
  return d;
}

std::vector<OptionDescriptor> buildTable() {
  return {
      // "画像関連"
      real("PixelSizeX", P::Picture, "画素(1Pixel)のｻｲｽﾞ X", C::PositiveReal,
           VEMLA_FIELD(PixelSizeX)),
      real("PixelSizeY", P::Picture, "画素(1Pixel)のｻｲｽﾞ Y", C::PositiveReal,
           VEMLA_FIELD(PixelSizeY)),
      integer("ShiftUnit", P::Picture, "ｼﾌﾄの最小単位(Pixel)", C::PowerOfTwo, 2, 256,
              VEMLA_FIELD(ShiftUnit), R::ShiftUnit),
      choice("ShiftInterpolation", P::Picture, "補間ﾓｰﾄﾞ 画像ｼﾌﾄ時", 2,
             VEMLA_FIELD(ShiftInterpolation), R::ShiftInterpolation),
      choice("ZoomInterpolation", P::Picture, "補間ﾓｰﾄﾞ ｲﾒｰｼﾞ拡大時", 2,
             VEMLA_FIELD(ZoomInterpolation), R::ZoomInterpolation),
      integer("AreaDiffRangeX", P::Picture, "ｴﾘｱ差(標準画像処理)情報 範囲（X、Y) X", C::Clamp, 1,
              kIntMax, VEMLA_FIELD(AreaDiffRangeX), R::AreaDifference),
      integer("AreaDiffRangeY", P::Picture, "ｴﾘｱ差(標準画像処理)情報 範囲（X、Y) Y", C::Clamp, 1,
              kIntMax, VEMLA_FIELD(AreaDiffRangeY), R::AreaDifference),
      choice("AreaDiffKind", P::Picture, "種別", 2, VEMLA_FIELD(AreaDiffKind), R::AreaDifference),
      real("AreaDiffDivisor", P::Picture, "補正 総和／", C::PositiveReal,
           VEMLA_FIELD(AreaDiffDivisor), R::AreaDifference),
      integer("MaxPictureWidth", P::Picture, "画像の最大許容ｻｲｽﾞ\n 　　 （画素数） X",
              C::RoundUpToFour, 1024, 4096, VEMLA_FIELD(MaxPictureWidth), R::Restart),
      integer("MaxPictureHeight", P::Picture, "画像の最大許容ｻｲｽﾞ\n 　　 （画素数） Y",
              C::RoundUpToFour, 1024, 4096, VEMLA_FIELD(MaxPictureHeight), R::Restart),
      integer("GalleryCount", P::Picture, "ｷﾞｬﾗﾘｰの最大数", C::GalleryCount, 8, 32,
              VEMLA_FIELD(GalleryCount), R::Restart, OptionStore::GalleryInformation),
      flag("hideGalleryAtStart", P::Picture, "立ち上げ時ｷﾞｬﾗﾘｰを表示しない",
           VEMLA_FIELD(hideGalleryAtStart), R::Plain, OptionStore::GalleryInformation),
      // "ﾕｰｻﾞ制御"
      flag("KeepValidRangeMode", P::UserControl, "有効範囲区分",
           VEMLA_FIELD(carryOver.KeepValidRangeMode)),
      flag("KeepAlignment", P::UserControl, "ｱﾗｲﾒﾝﾄ実行", VEMLA_FIELD(carryOver.KeepAlignment)),
      flag("KeepDisplayPosition", P::UserControl, "表示位置",
           VEMLA_FIELD(carryOver.KeepDisplayPosition)),
      flag("KeepImageKind", P::UserControl, "表示ｲﾒｰｼﾞ", VEMLA_FIELD(carryOver.KeepImageKind)),
      flag("KeepMagnification", P::UserControl, "拡大倍率",
           VEMLA_FIELD(carryOver.KeepMagnification)),
      flag("KeepZoomInterpolation", P::UserControl, "拡大補間",
           VEMLA_FIELD(carryOver.KeepZoomInterpolation)),
      flag("KeepColourDisplay", P::UserControl, "ｶﾗｰ表示",
           VEMLA_FIELD(carryOver.KeepColourDisplay)),
      flag("KeepRangeExtraction", P::UserControl, "範囲抽出",
           VEMLA_FIELD(carryOver.KeepRangeExtraction)),
      flag("KeepGrid", P::UserControl, "ｸﾞﾘｯﾄﾞ表示", VEMLA_FIELD(carryOver.KeepGrid)),
      flag("KeepUserProgramResult", P::UserControl, "ﾕｰｻﾞﾌﾟﾛｸﾞﾗﾑ　(EXE)結果",
           VEMLA_FIELD(carryOver.KeepUserProgramResult)),
      flag("DragMovesImage", P::UserControl, "ﾏｳｽのﾄﾞﾛｰｲﾝｸﾞでｲﾒｰｼﾞも移動させる",
           VEMLA_FIELD(DragMovesImage)),
      integer("DragMinimumMove", P::UserControl, "最低移動量", C::Clamp, 1, kIntMax,
              VEMLA_FIELD(DragMinimumMove)),
      flag("RightClickCentres", P::UserControl, "ｲﾒｰｼﾞを右ｸﾘｯｸ時は中心へ移動",
           VEMLA_FIELD(RightClickCentres)),
      flag("PopupColourTurnsColourOn", P::UserControl,
           "ﾎﾟｯﾌﾟｱｯﾌﾟﾒﾆｭｰからのｶﾗｰ選択時はｶﾗｰ表示ONへ切り替える",
           VEMLA_FIELD(PopupColourTurnsColourOn)),
      flag("LockDisplayPosition", P::UserControl, "表示位置情報 切り替えを禁止する",
           VEMLA_FIELD(LockDisplayPosition), R::RestartApplied),
      flag("ViewerWheelZoomOnly", P::UserControl, "拡大/縮小はﾏｳｽﾎｲｰﾙ回転のみ",
           VEMLA_FIELD(ViewerWheelZoomOnly)),
      flag("ViewerForSingleFile", P::UserControl,
           "立ち上げ時１つだけﾌｧｲﾙが指定\nされた場合Viewerを開く",
           VEMLA_FIELD(ViewerForSingleFile)),
      flag("ViewerShowGradation", P::UserControl, "Viewer起動時に階調値表示を行う",
           VEMLA_FIELD(ViewerShowGradation)),
      // "色の設定"
      colour("RangeFrameColour", "画像ｳｨﾝﾄﾞｳ内 範囲表示色", VEMLA_FIELD(RangeFrameColour)),
      colour("RangeExtractionColour1", "範囲抽出色 ｲﾒｰｼﾞ1", VEMLA_FIELD(RangeExtractionColour1)),
      colour("RangeExtractionColour2", "範囲抽出色 ｲﾒｰｼﾞ2", VEMLA_FIELD(RangeExtractionColour2)),
      colour("ProfileColour1", "ﾌﾟﾛﾌｧｲﾙ表示色 １", VEMLA_FIELD(ProfileColour1)),
      colour("ProfileColour2", "ﾌﾟﾛﾌｧｲﾙ表示色 ２", VEMLA_FIELD(ProfileColour2)),
      colour("GridColour1", "ｸﾞﾘｯﾄﾞ表示色 ｲﾒｰｼﾞ1", VEMLA_FIELD(GridColour1)),
      colour("GridColour2", "ｸﾞﾘｯﾄﾞ表示色 ｲﾒｰｼﾞ2", VEMLA_FIELD(GridColour2)),
      // "ﾌｧｲﾙ関連"
      choice("TrueColourOpenMode", P::Files, "Trueｶﾗｰﾌｧｲﾙｵｰﾌﾟﾝ時", 2,
             VEMLA_FIELD(TrueColourOpenMode)),
      flag("AskRatioPerFile", P::Files, "ﾌｧｲﾙ毎にRGB比率を指定", VEMLA_FIELD(AskRatioPerFile)),
      real("GreyRatioR", P::Files, "標準のRGB比率 R", C::FiniteReal, VEMLA_FIELD(GreyRatio.red)),
      real("GreyRatioG", P::Files, "標準のRGB比率 G", C::FiniteReal, VEMLA_FIELD(GreyRatio.green)),
      real("GreyRatioB", P::Files, "標準のRGB比率 B", C::FiniteReal, VEMLA_FIELD(GreyRatio.blue)),
      flag("SaveBitmapAsGrey", P::Files, "ﾌｧｲﾙ退避時はｸﾞﾚ-ｽｹｰﾙとする",
           VEMLA_FIELD(SaveBitmapAsGrey)),
      integer("RawDefaultWidth", P::Files, "RAWﾌｧｲﾙ情報 ｻｲｽﾞの初期値 X", C::RawWidth, 8, 4096,
              VEMLA_FIELD(RawDefaultWidth)),
      integer("RawDefaultHeight", P::Files, "RAWﾌｧｲﾙ情報 ｻｲｽﾞの初期値 Y", C::RawHeight, 8, 4096,
              VEMLA_FIELD(RawDefaultHeight)),
      flag("ArchiveOpenPicture1", P::Files, "画像１ 開く", VEMLA_FIELD(ArchiveOpenPicture1)),
      integer("ArchivePicture1Number", P::Files, "画像１ 番号", C::Clamp, 0, kArchiveItemLimit - 1,
              VEMLA_FIELD(ArchivePicture1Number)),
      flag("ArchiveOpenPicture2", P::Files, "画像２ 開く", VEMLA_FIELD(ArchiveOpenPicture2)),
      integer("ArchivePicture2Number", P::Files, "画像２ 番号", C::Clamp, 0, kArchiveItemLimit - 1,
              VEMLA_FIELD(ArchivePicture2Number)),
      flag("ArchiveSelectOnDrop", P::Files, "D&&Dや貼り付け時も選択する",
           VEMLA_FIELD(ArchiveSelectOnDrop)),
      flag("ArchiveExpandToGallery", P::Files, "ｷﾞｬﾗﾘｰへの展開を行う",
           VEMLA_FIELD(ArchiveExpandToGallery)),
      integer("ArchiveExpandStartSlot", P::Files, "展開する開始位置", C::StartSlot, 0, 31,
              VEMLA_FIELD(ArchiveExpandStartSlot)),
      flag("ArchiveSkipEmpty", P::Files, "空きのｴﾝﾄﾘは展開しない", VEMLA_FIELD(ArchiveSkipEmpty)),
      [] {
        OptionDescriptor d{"ArchiveExpandNumbers", P::Files, "展開する情報番号\n　（複数選択可能）",
                           OptionType::NumberSet};
        d.numbers = VEMLA_FIELD(ArchiveExpandNumbers);
        return d;
      }(),
      // "　通信　"
      integer("NetworkPort", P::Communication, "ﾎﾟｰﾄ番号", C::ClampOrDefault, 1, 65535,
              VEMLA_FIELD(NetworkPort)),
      textOption("ImportPassword", P::Communication, "ﾊﾟｽﾜｰﾄﾞ", 62, VEMLA_FIELD(ImportPassword)),
      integer("ExportTimeout", P::Communication, "Export情報 ﾀｲﾑｱｳﾄ （秒）", C::ClampOrDefault, 1,
              3600, VEMLA_FIELD(ExportTimeout)),
      integer("ImportTimeout", P::Communication, "Import情報 ﾀｲﾑｱｳﾄ （秒）", C::ClampOrDefault, 1,
              3600, VEMLA_FIELD(ImportTimeout)),
      flag("ImportAsGrey", P::Communication, "ｸﾞﾚ-ｽｹｰﾙで開く", VEMLA_FIELD(ImportAsGrey)),
      flag("ImportTakePosition", P::Communication, "表示位置を引き継ぐ",
           VEMLA_FIELD(ImportTakePosition)),
      flag("ImportTakeMagnification", P::Communication, "表示倍率を引き継ぐ",
           VEMLA_FIELD(ImportTakeMagnification)),
      // "ﾂｰﾙ関連１"
      integer("ProfileGridGradation", P::Tools1, "ﾌﾟﾛﾌｧｲﾙ関連 基準値（ｸﾞﾘｯﾄﾞ幅） 階調", C::Clamp, 1,
              255, VEMLA_FIELD(ProfileGridGradation)),
      integer("ProfileGridPixels", P::Tools1, "画素", C::Clamp, 1, 512,
              VEMLA_FIELD(ProfileGridPixels)),
      integer("View3DAngleX", P::Tools1, "３D関連 基準値（視点） Ｘ角度", C::Clamp, 0, 359,
              VEMLA_FIELD(View3DAngleX)),
      integer("View3DAngleZ", P::Tools1, "Ｚ角度", C::Clamp, 0, 90, VEMLA_FIELD(View3DAngleZ)),
      integer("View3DLuminance", P::Tools1, "基準値（表示ﾓｰﾄﾞ） 輝度", C::Clamp, 0, 256,
              VEMLA_FIELD(View3DLuminance)),
      integer("View3DWireWidth", P::Tools1, "ﾜｲﾔ幅", C::Clamp, 3, 20, VEMLA_FIELD(View3DWireWidth)),
      integer("View3DPolygonWidth", P::Tools1, "ﾎﾟﾘｺﾞﾝ幅", C::Clamp, 3, 20,
              VEMLA_FIELD(View3DPolygonWidth)),
      integer("MeasureEdgeLevel", P::Tools1, "測定関連 基準値（ｻｲｽﾞ） ｴｯｼﾞﾚﾍﾞﾙ", C::Clamp, 1, 128,
              VEMLA_FIELD(MeasureEdgeLevel)),
      textOption("MemoFile", P::Tools1, "メモ関連 ﾌｧｲﾙ名称", 511, VEMLA_FIELD(MemoFile)),
      // "ﾂｰﾙ関連２"
      integer("PartialCompareGridX", P::Tools2, "部分比較関連 ﾌﾟﾛﾌｧｲﾙのｸﾞﾘｯﾄﾞ幅 横方向", C::Clamp,
              2, kIntMax, VEMLA_FIELD(PartialCompareGridX)),
      integer("PartialCompareGridY", P::Tools2, "縦方向", C::Clamp, 1, kIntMax,
              VEMLA_FIELD(PartialCompareGridY)),
      integer("ScopeMagnification", P::Tools2, "ｲﾒｰｼﾞｽｺｰﾌﾟ関連 表示倍率", C::Clamp, 1, 64,
              VEMLA_FIELD(ScopeMagnification)),
      choice("ScopePosition", P::Tools2, "表示位置", 2, VEMLA_FIELD(ScopePosition)),
  };
}

#undef VEMLA_FIELD

template <typename T>
T& field(T* (*accessor)(Options&), const Options& options) {
  // The accessors only take the member's address; reading through them does not modify.
  return *accessor(const_cast<Options&>(options));
}

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
      const std::int64_t clamped = clampTo(v, 8, 32);
      return static_cast<int>(clamped % 4 == 0 ? clamped : 16);
    }
    case C::RawWidth:
      return static_cast<int>(clampTo(v, 8, std::max(8, options.MaxPictureWidth)));
    case C::RawHeight:
      return static_cast<int>(clampTo(v, 8, std::max(8, options.MaxPictureHeight)));
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

}  // namespace

Options defaultOptions(const std::string& programFolder) {
  Options options;
  options.MemoFile = inFolder(programFolder, "VemlaMemo.txt");
  return options;
}

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

bool sameOptionValue(const OptionDescriptor& option, const Options& a, const Options& b) {
  switch (option.type) {
    case OptionType::Flag:
      return field(option.flag, a) == field(option.flag, b);
    case OptionType::Choice:
    case OptionType::Integer:
      return field(option.integer, a) == field(option.integer, b);
    case OptionType::Real:
      return field(option.real, a) == field(option.real, b);
    case OptionType::Colour:
      return field(option.colour, a) == field(option.colour, b);
    case OptionType::Text:
      return field(option.text, a) == field(option.text, b);
    case OptionType::NumberSet:
      return field(option.numbers, a) == field(option.numbers, b);
  }
  return true;
}

void copyOptionValue(const OptionDescriptor& option, const Options& from, Options& to) {
  switch (option.type) {
    case OptionType::Flag:
      *option.flag(to) = field(option.flag, from);
      break;
    case OptionType::Choice:
    case OptionType::Integer:
      *option.integer(to) = field(option.integer, from);
      break;
    case OptionType::Real:
      *option.real(to) = field(option.real, from);
      break;
    case OptionType::Colour:
      *option.colour(to) = field(option.colour, from);
      break;
    case OptionType::Text:
      *option.text(to) = field(option.text, from);
      break;
    case OptionType::NumberSet:
      *option.numbers(to) = field(option.numbers, from);
      break;
  }
}

void correctOptions(Options& options, const Options& previous, CorrectionMode mode) {
  static const Options defaults;
  for (const OptionDescriptor& option : optionTable()) {
    switch (option.type) {
      case OptionType::Choice:
      case OptionType::Integer: {
        int& value = *option.integer(options);
        value = correctInteger(option, value, field(option.integer, previous),
                               field(option.integer, defaults), options, mode);
        break;
      }
      case OptionType::Real: {
        double& value = *option.real(options);
        value = correctReal(option, value, field(option.real, previous));
        break;
      }
      case OptionType::Colour: {
        std::uint32_t& value = *option.colour(options);
        if (value > static_cast<std::uint32_t>(option.high)) value = field(option.colour, previous);
        break;
      }
      case OptionType::Text: {
        std::string& value = *option.text(options);
        if (text::checkFixedField(value, static_cast<std::size_t>(option.high) + 1) !=
            text::FieldStatus::Ok) {
          value = field(option.text, previous);
        }
        break;
      }
      case OptionType::Flag:
      case OptionType::NumberSet:
        break;
    }
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
  if (value <= 1024) return 1024;
  if (value >= 4096) return 4096;
  return static_cast<int>((value + 3) / 4 * 4);
}

}  // namespace vemla
