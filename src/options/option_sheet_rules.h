#pragma once
// The option sheet's rules that are not in the option table: how fields show and read values,
// which controls are enabled, the choices of its lists, its help texts, and when closing it
// needs a restart. The sheet's widgets only drive these.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "options/options.h"
#include "text/translate.h"

namespace vemla {

inline constexpr const char* kOptionSheetTitle = text::N_("ｵﾌﾟｼｮﾝ情報");
inline constexpr const char* kRestartMessage =
    text::N_("再起動が必要な情報が更新されました\nﾌﾟﾛｸﾞﾗﾑの再起動を行って下さい");
inline constexpr const char* kApplyFieldsHelp =
    text::N_("入力された各値を一時設定します\n値に誤りがある場合は自動的に補正されます");
// The maximum size field `axis` ("X" or "Y") with the range 1024 .. 4096.
std::string maxPictureSizeHelp(std::string_view axis);
// The archive picture number fields, 1 .. 256.
std::string archiveNumberHelp();
// The explanation of the control of option `name` from the option table (F1 and quick help),
// in the language in use, with the axis and range filled in where the text names them; empty
// for an unknown name.
std::string optionHelp(std::string_view name);

// An integer field: surrounding blanks allowed, an optional sign and digits; anything else
// reads as 0 (then corrected like any other entry); values beyond the 32-bit range saturate.
int readIntegerField(std::string_view text);

// A real field as it is shown: "%f" shortened (1.000000 -> "1.0", 0.299 -> "0.299"), with a
// point whatever the process locale is (and read back the same way).
std::string realFieldText(double value);
// A real field read back. Text that is still what was shown keeps the exact value shown (the
// shown text has only six decimals); text that is not a number reads as NaN, which the
// correction turns into the previous value.
double readRealField(std::string_view text, std::string_view shownText, double shownValue);

// Archive picture numbers are stored 0-based and shown 1-based.
inline int shownArchiveNumber(int stored) {
  return stored + 1;
}
int storedArchiveNumber(int shown);  // 64-bit safe: INT_MIN shown is stored as a very low value

// List choices: "1/2" … "1/256" (the powers of two in ShiftUnit's range), "8" … "32" (step 4
// in GalleryCount's range), "#1" … "#count", and the archive item numbers 1 … 256 as "%-2d".
std::vector<std::string> shiftUnitTexts();
std::vector<int> shiftUnitValues();
std::vector<int> galleryCountValues();
std::vector<std::string> startSlotTexts(int galleryCount);
std::string archiveNumberText(int number);

// Whether the control of option `name` can be changed with `shown` as the values on the sheet:
// the option table's rule (restart options in a second copy, gallery options without a
// gallery) and the dependencies between controls (the ratio fields and the per-file box only
// in grey mode, the archive numbers only while their "開く" box is on, picture 2's box only
// while picture 1's is on, the expansion settings only while expansion is on, the pop-up colour
// box only while right-click centring is off).
bool optionControlEnabled(std::string_view name, const Options& shown, bool secondCopy,
                          bool galleryAvailable);

// Whether closing the sheet needs a restart: a maximum size or gallery count held back in
// `pending` differs from the live value, or `LockDisplayPosition` or the display language
// (taken at the next start) now differs from its value when the sheet was opened.
bool restartNeeded(const Options& atOpen, const Options& live, const Options& pending);

// The tool reference values that the "既定値" buttons restore.
void resetProfileReferences(Options& options);
void resetView3DReferences(Options& options);
void resetMeasureReferences(Options& options);

}  // namespace vemla
