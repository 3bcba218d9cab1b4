#pragma once
// The option values of the whole system ("ｵﾌﾟｼｮﾝ情報"). Each keeps the name the option sheet,
// the settings files and vemla-cli use, and its factory default (the value of a fresh
// installation). Ranges and corrections are in option_table.h.
#include <array>
#include <cstdint>
#include <string>

#include "picture/sixteen_bit.h"
#include "ports/ports.h"

namespace vemla {

struct CarryOverOptions {  // "画像を開く時の引き継ぎ情報"
  bool KeepValidRangeMode = false;
  bool KeepAlignment = false;
  bool KeepDisplayPosition = false;
  bool KeepImageKind = false;
  bool KeepMagnification = false;
  bool KeepZoomInterpolation = true;
  bool KeepColourDisplay = true;
  bool KeepRangeExtraction = false;
  bool KeepGrid = false;
  bool KeepUserProgramResult = true;
  bool operator==(const CarryOverOptions&) const = default;
};

inline constexpr int kTrueColourQuantize = 0;  // "自動で変換(256色ｶﾗｰ化)"
inline constexpr int kTrueColourGrey = 1;      // "RGB比から変換(ｸﾞﾚｲｽｹｰﾙ化)"

inline constexpr int kArchiveItemLimit = 256;  // items of an archive file

// A colour as 0x00BBGGRR.
constexpr std::uint32_t rgb(int red, int green, int blue) {
  return static_cast<std::uint32_t>(red) | static_cast<std::uint32_t>(green) << 8 |
         static_cast<std::uint32_t>(blue) << 16;
}

struct Options {
  // Page "画像関連".
  double PixelSizeX = 1.0;
  double PixelSizeY = 1.0;
  int ShiftUnit = 16;          // sub-pixel division n: 2, 4, ... 256
  int ShiftInterpolation = 1;  // 0 linear, 1 cubic
  int ZoomInterpolation = 1;   // 0 linear, 1 cubic
  int AreaDiffRangeX = 3;
  int AreaDiffRangeY = 3;
  int AreaDiffKind = 0;  // 0 sum of the differences, 1 difference of the sums
  double AreaDiffDivisor = 9.0;
  int MaxPictureWidth = 1024;
  int MaxPictureHeight = 1024;
  int GalleryCount = 16;
  bool hideGalleryAtStart = false;
  // "表示言語": 0 automatic (the locale), 1 Japanese, 2 English (text::LanguageChoice); kept in
  // the program's own file and taken at the next start.
  int DisplayLanguage = 0;

  // Page "ﾕｰｻﾞ制御".
  CarryOverOptions carryOver{};
  bool DragMovesImage = true;
  int DragMinimumMove = 4;
  bool RightClickCentres = false;
  bool PopupColourTurnsColourOn = false;
  bool LockDisplayPosition = false;
  bool ViewerWheelZoomOnly = false;
  bool ViewerForSingleFile = false;
  bool ViewerShowGradation = false;

  // Page "色の設定".
  std::uint32_t RangeFrameColour = rgb(255, 255, 0);
  std::uint32_t RangeExtractionColour1 = rgb(255, 255, 0);
  std::uint32_t RangeExtractionColour2 = rgb(0, 255, 255);
  std::uint32_t ProfileColour1 = rgb(255, 255, 0);
  std::uint32_t ProfileColour2 = rgb(0, 255, 255);
  std::uint32_t GridColour1 = rgb(0, 255, 0);
  std::uint32_t GridColour2 = rgb(0, 255, 0);

  // Page "ﾌｧｲﾙ関連".
  int TrueColourOpenMode = kTrueColourQuantize;
  bool AskRatioPerFile = true;
  RgbRatio GreyRatio{};  // GreyRatioR, GreyRatioG, GreyRatioB
  bool SaveBitmapAsGrey = true;
  int RawDefaultWidth = 512;
  int RawDefaultHeight = 512;
  // "16ﾋﾞｯﾄ画像の変換": not in the settings files' layout; kept in the program's own file.
  SixteenBitConversion SixteenBit{};
  bool ArchiveOpenPicture1 = true;
  int ArchivePicture1Number = 0;  // stored 0-based, shown 1-based
  bool ArchiveOpenPicture2 = true;
  int ArchivePicture2Number = 1;
  bool ArchiveSelectOnDrop = true;
  bool ArchiveExpandToGallery = true;
  int ArchiveExpandStartSlot = 0;  // 0-based slot, shown "#1"
  bool ArchiveSkipEmpty = true;
  // Element i selects archive item number i + 1; none selected means all.
  std::array<bool, kArchiveItemLimit> ArchiveExpandNumbers{};

  // Page "　通信　".
  int NetworkPort = 24100;
  std::string ImportPassword;  // at most 62 characters
  int ExportTimeout = 30;      // seconds
  int ImportTimeout = 30;
  bool ImportAsGrey = false;
  bool ImportTakePosition = true;
  bool ImportTakeMagnification = true;

  // Page "ﾂｰﾙ関連１".
  int ProfileGridGradation = 10;
  int ProfileGridPixels = 10;
  int View3DAngleX = 20;
  int View3DAngleZ = 20;
  int View3DLuminance = 128;
  int View3DWireWidth = 8;
  int View3DPolygonWidth = 8;
  int MeasureEdgeLevel = 32;
  // A relative name is taken in the program folder, so that a copied folder keeps its own memo
  // (an absolute name, as older versions stored the default, is used as it is).
  std::string MemoFile = "VemlaMemo.txt";

  // Page "ﾂｰﾙ関連２".
  int PartialCompareGridX = 20;
  int PartialCompareGridY = 20;
  int ScopeMagnification = 8;
  int ScopePosition = 1;  // 0 fixed, 1 near the mouse cursor

  bool operator==(const Options&) const = default;
};

}  // namespace vemla
