#pragma once
// The view switches and the magnification controls of the image control: "ｶｰｿﾙ", "微動",
// "ﾊﾟﾚｯﾄ", "補間", the grid width, the magnification buttons, slider and spin, and the
// magnification step of the mouse wheel in an image pane.
#include <string>

#include "ports/ports.h"
#include "text/translate.h"
#include "workbench/workbench.h"

namespace vemla {

namespace msg {
inline constexpr const char* kReducedMeasureWarning = text::N_(
    "縮小表示(1/n倍表示)時はツールの測定機能で「測長－手動」\n"
    "以外の機能は使用できませんので注意して下さい");
}  // namespace msg

// "ｶｰｿﾙ": the cross is drawn or not (a repaint, nothing rendered).
void setCursorShown(Workbench& bench, bool on);
// "微動": cursor steps move by one view pixel instead of one picture pixel.
void setFineMovement(Workbench& bench, bool on);
// "ﾊﾟﾚｯﾄ": the colour bars beside both image panes.
void setColourBars(Workbench& bench, bool on);
// "補間": both images rendered again keeping the view.
void setZoomInterpolation(Workbench& bench, bool on);
// The grid width spin: L within 1..20; the offsets are kept within the new period.
void setGridWidth(Workbench& bench, int width);

// The magnification slider runs 0..64: 0 is the reduced display where the picture allows it.
inline constexpr int kMagnificationSliderMaximum = 64;
int magnificationSliderValue(const Workbench& bench);
// The value field: "8", or "1/4.0" in the reduced display.
std::string magnificationFieldText(const Workbench& bench);

// The reduced display, when the picture is larger than the pane. With the measurement tool
// open the operator is warned, once for all sessions (the flag is kept in the settings).
bool enterReducedDisplay(Workbench& bench, UserPort& user, bool measurementToolOpen);
// The slider: 0 enters the reduced display when the picture allows it and gives x1 otherwise;
// 1..64 set the magnification. False when the view did not change.
bool applyMagnificationSlider(Workbench& bench, int value, UserPort& user,
                              bool measurementToolOpen);
// The spin and the wheel, one step (`up` increases): 1..64; below x1 the reduced display when
// allowed; up from the reduced display back to x1. False when the view did not change.
bool stepMagnification(Workbench& bench, bool up, UserPort& user, bool measurementToolOpen);

}  // namespace vemla
