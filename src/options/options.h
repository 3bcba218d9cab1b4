#pragma once
// The option values the picture files read. Each keeps the name the option sheet, the settings
// files and vemla-cli use, and its factory default.
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
};

inline constexpr int kTrueColourQuantize = 0;  // "自動で変換(256色ｶﾗｰ化)"
inline constexpr int kTrueColourGrey = 1;      // "RGB比から変換(ｸﾞﾚｲｽｹｰﾙ化)"

struct Options {
  int ShiftUnit = 16;           // sub-pixel division n: 2, 4, ... 256
  int ShiftInterpolation = 1;   // 0 linear, 1 cubic
  int MaxPictureWidth = 1024;
  int MaxPictureHeight = 1024;
  int TrueColourOpenMode = kTrueColourQuantize;
  bool AskRatioPerFile = true;
  RgbRatio GreyRatio{};  // GreyRatioR, GreyRatioG, GreyRatioB
  CarryOverOptions carryOver{};
};

}  // namespace vemla
