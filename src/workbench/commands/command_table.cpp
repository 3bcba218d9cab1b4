#include "workbench/commands/command_table.h"

#include <algorithm>

#include "text/translate.h"
#include "workbench/commands/command_handlers.h"
#include "workbench/commands/file_history.h"
#include "workbench/commands/state_handlers.h"
#include "workbench/picture/picture_commands.h"
#include "workbench/tools/tool_frame.h"
#include "workbench/view/comparison_view.h"

namespace vemla {
namespace {

using text::N_;

// ---- Rules ("P" pictures present, "E" the picture edit dialog open) ----

bool notEditing(const CommandSituation& s) {
  return !s.editing;
}
// Commands that change the unshifted pictures: P and not E.
bool changesPictures(const CommandSituation& s) {
  return s.picturesPresent && !s.editing;
}
bool pasteEnabled(const CommandSituation& s) {
  return s.clipboardHasFiles && !s.editing;
}
bool pasteIntoPictureEnabled(const CommandSituation& s) {
  return s.clipboardHasFiles && s.picturesPresent && !s.editing;
}
// Replacing one picture keeps the other, which must have a name.
template <PictureSlot kept>
bool replaceEnabled(const CommandSituation& s) {
  return changesPictures(s) && !s.names[index(kept)].empty();
}
template <PictureSlot picture>
bool overwriteEnabled(const CommandSituation& s) {
  return s.picturesPresent && hasRealName(s, picture);
}
template <PictureSlot picture>
bool reopenEnabled(const CommandSituation& s) {
  return !s.editing && hasRealName(s, picture);
}
bool reopenBothEnabled(const CommandSituation& s) {
  return reopenEnabled<PictureSlot::First>(s) && reopenEnabled<PictureSlot::Second>(s);
}
bool fileInformationEnabled(const CommandSituation& s) {
  return hasRealName(s, PictureSlot::First) || hasRealName(s, PictureSlot::Second);
}
// Restoring needs the pictures to show the state on when only the display form is restored.
bool restoreFileEnabled(const CommandSituation& s) {
  return !s.editing && !(!s.picturesPresent && s.restoreFormOnly);
}
template <std::size_t slot>
bool restoreSlotEnabled(const CommandSituation& s) {
  return restoreFileEnabled(s) && s.stateSlotUsed[slot];
}
template <std::size_t slot>
bool stateSlotUsed(const CommandSituation& s) {
  return s.stateSlotUsed[slot];
}
bool anyStateSlotUsed(const CommandSituation& s) {
  return std::ranges::any_of(s.stateSlotUsed, [](bool used) { return used; });
}
bool clearHistoryEnabled(const CommandSituation& s) {
  return s.firstHistoryEntryUsed && !s.editing;
}
bool galleryEnabled(const CommandSituation& s) {
  return !s.secondCopy && s.galleryExists;
}
template <int tool>
bool toolActive(const CommandSituation& s) {
  return s.activeTool == tool;
}
template <ImageSlot image, ComparisonMode mode>
bool comparisonOn(const CommandSituation& s) {
  return s.comparison[index(image)] == static_cast<int>(mode);
}
template <ImageSlot image, ComparisonMode mode>
void toggleComparison(CommandContext& c) {
  toggleComparisonMode(c.bench, image, mode, c.user, c.busy, c.progress);
}
constexpr const char* kBlinkHelp =
    N_("ｲﾒｰｼﾞを画像1と画像2の交互表示に切り替えます\n「ｲﾒｰｼﾞ制御情報」の速さ(回/秒)で切り替わり、\n"
       "ｲﾒｰｼﾞ上のｽﾍﾟｰｽｷｰでも切り替わります\n再度選択すると元の表示内容に戻ります");
constexpr const char* kSwipeHelp =
    N_("ｲﾒｰｼﾞの境界線の左に画像1、右に画像2を表示します\n境界線はﾏｳｽのﾄﾞﾗｯｸﾞまたはShift+←/→で"
       "移動します\n再度選択すると元の表示内容に戻ります");
// Facts that are rules by themselves.
bool picturesPresent(const CommandSituation& s) {
  return s.picturesPresent;
}
bool exchangeFileExists(const CommandSituation& s) {
  return s.exchangeFileExists;
}
bool galleryExists(const CommandSituation& s) {
  return s.galleryExists;
}
bool baseWindowInUse(const CommandSituation& s) {
  return s.baseWindowInUse;
}
bool saveDisplayedOn(const CommandSituation& s) {
  return s.saveDisplayedImage;
}
bool restoreFormOnlyOn(const CommandSituation& s) {
  return s.restoreFormOnly;
}
bool confirmStatesOn(const CommandSituation& s) {
  return s.confirmStates;
}
bool imageScopeOn(const CommandSituation& s) {
  return s.imageScope;
}
bool galleryVisible(const CommandSituation& s) {
  return s.galleryVisible;
}
bool quickHelpOn(const CommandSituation& s) {
  return s.quickHelp;
}
bool overviewInstalled(const CommandSituation& s) {
  return s.overviewInstalled;
}

// ---- Handlers that are one call ----

template <tools::Tool tool>
void chooseTool(CommandContext& c) {
  selectTool(c.bench, tool);
}

// ---- Texts shared by several rows ----

constexpr const char* kRememberStateHelp =
    N_("表示中の状態を記憶します（１～４まで別々に記憶が可能）\n"
       "状態記憶した内容はﾌﾟﾛｸﾞﾗﾑ終了後も保持されます\n"
       "多重起動したVemla間で画像をやり取りする場合にも便利です");
constexpr const char* kRestoreStateHelp = N_("記憶した状態の回復を行います");

using P = PictureSlot;
using I = ImageSlot;

// clang-format off
const Command kCommands[] = {
    // ---- File ----
    {.id = kOpenTwo, .menu = Menu::File, .text = N_("２つの画像で開く(&2)"),
     .help = N_("選択された２つの画像をﾌｧｲﾙから開きます"), .glyph = "open-two", .enabled = notEditing,
     .run = openTwoByDialog},
    {.id = kOpenOne, .menu = Menu::File, .text = N_("1つの画像で開く(&1)"),
     .help = N_("選択された１つの画像をﾌｧｲﾙから開きます\n画像２はｵｰﾙ０の階調値で開きます"),
     .glyph = "open-one", .enabled = notEditing, .run = openOneByDialog},
    {.id = kReplace1, .menu = Menu::ReplaceOne, .text = N_("画像1(&1)"),
     .help = N_("画像１を選択された画像に入れ替えます"), .enabled = replaceEnabled<P::Second>,
     .run = [](CommandContext& c) { replaceByDialog(c, P::First); }},
    {.id = kReplace2, .menu = Menu::ReplaceOne, .text = N_("画像2(&2)"),
     .help = N_("画像２を選択された画像に入れ替えます"), .enabled = replaceEnabled<P::First>,
     .run = [](CommandContext& c) { replaceByDialog(c, P::Second); }},
    {.id = kOpenArchive, .menu = Menu::File, .text = N_("Vlaファイルを開く(&Q)"),
     .help = N_("VLAﾌｫｰﾏｯﾄのﾌｧｲﾙ(拡張子:VLA)から画像を選択し開きます\n同時に複数の画像やﾃﾞｰﾀをｷﾞｬﾗﾘｰへ"
             "展開が可能です\n※VLAﾌｧｲﾙの作成はｷﾞｬﾗﾘｰ機能から行うことが可能です"),
     .glyph = "open-archive", .enabled = notEditing,
     .run = [](CommandContext& c) {
       // From the menu the selection dialog itself chooses the file.
       openArchiveAsPictures(c.bench, c.user, c.progress, c.busy, c.host, std::string(), false);
     }},
    {.id = kOverwrite1, .menu = Menu::Overwrite, .text = N_("画像1(&1)"),
     .help = N_("表示中の画像１をﾌｧｲﾙに上書き保存します\n『画像制御情報』によってｼﾌﾄされた画像が対象です"),
     .glyph = "overwrite-1", .tip = N_("画像1を上書き保存"), .enabled = overwriteEnabled<P::First>,
     .run = [](CommandContext& c) { overwritePicture(c.bench, c.user, P::First); }},
    {.id = kOverwrite2, .menu = Menu::Overwrite, .text = N_("画像2(&2)"),
     .help = N_("表示中の画像２をﾌｧｲﾙに上書き保存します\n『画像制御情報』によってｼﾌﾄされた画像が対象です"),
     .glyph = "overwrite-2", .tip = N_("画像2を上書き保存"), .enabled = overwriteEnabled<P::Second>,
     .run = [](CommandContext& c) { overwritePicture(c.bench, c.user, P::Second); }},
    {.id = kSaveAsPicture1, .menu = Menu::SaveAs, .text = N_("画像1(&1)"),
     .help = N_("表示中の画像１をﾌｧｲﾙに名前を付けて保存します\n『画像制御情報』によってｼﾌﾄされた画像が"
             "対象です"),
     .enabled = picturesPresent,
     .run = [](CommandContext& c) { savePictureByDialog(c, P::First); }},
    {.id = kSaveAsPicture2, .menu = Menu::SaveAs, .text = N_("画像2(&2)"),
     .help = N_("表示中の画像２をﾌｧｲﾙに名前を付けて保存します\n『画像制御情報』によってｼﾌﾄされた画像が"
             "対象です"),
     .enabled = picturesPresent,
     .run = [](CommandContext& c) { savePictureByDialog(c, P::Second); }},
    {.id = kSaveAsImage1, .menu = Menu::SaveAs, .text = N_("ｲﾒｰｼﾞ1(&3)"),
     .help = N_("『ｲﾒｰｼﾞ制御情報』によって作成され表示中の\nｲﾒｰｼﾞ1をﾌｧｲﾙに名前を付けて保存します"),
     .enabled = picturesPresent,
     .run = [](CommandContext& c) { saveImageByDialog(c, I::First); }},
    {.id = kSaveAsImage2, .menu = Menu::SaveAs, .text = N_("ｲﾒｰｼﾞ2(&4)"),
     .help = N_("『ｲﾒｰｼﾞ制御情報』によって作成され表示中の\nｲﾒｰｼﾞ2をﾌｧｲﾙに名前を付けて保存します"),
     .enabled = picturesPresent,
     .run = [](CommandContext& c) { saveImageByDialog(c, I::Second); }},
    {.id = kGreyValueText, .menu = Menu::SaveAs, .separatorBefore = true,
     .text = N_("階調値ﾃｷｽﾄ保存(&T)"),
     .help = N_("表示中の画像／ｲﾒｰｼﾞの指定範囲の階調値を\nﾃｷｽﾄでﾌｧｲﾙに名前を付けて保存します"),
     .enabled = picturesPresent, .inWindow = true},
    {.id = kSaveDisplayed, .menu = Menu::File, .text = N_("表示ｲﾒｰｼﾞで保存(&C)"),
     .help = N_("ﾁｪｯｸ時はｲﾒｰｼﾞ1、2を保存する際に表示されているｲﾒｰｼﾞが保存\nされます(表示ｻｲｽﾞを画像ｻｲｽﾞと"
             "するﾌｧｲﾙが作成されます)"),
     .checked = saveDisplayedOn,
     .run = [](CommandContext& c) {
       c.bench.shell.saveDisplayedImage = !c.bench.shell.saveDisplayedImage;
     }},
    {.id = kReopenBoth, .menu = Menu::Reopen, .text = N_("画像1と画像2(&B)"),
     .help = N_("表示中の画像１及び２のﾌｧｲﾙを再度開きなおします"), .enabled = reopenBothEnabled,
     .run = [](CommandContext& c) {
       reopenPictures(c.bench, c.user, c.busy, c.progress, std::nullopt);
     }},
    {.id = kReopen1, .menu = Menu::Reopen, .text = N_("画像1(&1)"),
     .help = N_("表示中の画像１ﾌｧｲﾙを再度開きなおします\n画像２は表示中の状態が保持されます"),
     .enabled = reopenEnabled<P::First>,
     .run = [](CommandContext& c) { reopenPictures(c.bench, c.user, c.busy, c.progress, P::First); }},
    {.id = kReopen2, .menu = Menu::Reopen, .text = N_("画像2(&2)"),
     .help = N_("表示中の画像２ﾌｧｲﾙを再度開きなおします\n画像１は表示中の状態が保持されます"),
     .enabled = reopenEnabled<P::Second>,
     .run = [](CommandContext& c) {
       reopenPictures(c.bench, c.user, c.busy, c.progress, P::Second);
     }},
    {.id = kFileInformation, .menu = Menu::File, .text = N_("画像ﾌｧｲﾙ情報(&I)"),
     .help = N_("表示中の画像のﾌｧｲﾙ情報を表示します"), .enabled = fileInformationEnabled,
     .run = [](CommandContext& c) {
       if (const auto text = fileInformationText(c.bench)) {
         c.user.tell(Icon::Info, *text, text::tr(kFileInformationTitle));
       }
     }},
    {.id = kExit, .menu = Menu::File, .separatorBefore = true, .text = N_("ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)"),
     .help = N_("Vemlaを終了します"), .inWindow = true},

    // ---- Edit ----
    {.id = kPaste, .menu = Menu::Edit, .text = N_("貼り付け(&P）"),
     .help = N_("ｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰされているﾌｧｲﾙで画像を開きます"), .glyph = "paste",
     .enabled = pasteEnabled,
     .run = [](CommandContext& c) { pasteFromClipboard(c, std::nullopt); }},
    {.id = kPasteToPicture1, .menu = Menu::Edit, .text = N_("画像1に貼り付け(&A)"),
     .help = N_("ｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰされている先頭のﾌｧｲﾙで画像１を開きます\n画像２は表示中の状態が保持"
             "されます"),
     .glyph = "paste-to-picture-1", .enabled = pasteIntoPictureEnabled,
     .run = [](CommandContext& c) { pasteFromClipboard(c, P::First); }},
    {.id = kPasteToPicture2, .menu = Menu::Edit, .text = N_("画像2に貼り付け(&B)"),
     .help = N_("ｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰされている先頭のﾌｧｲﾙで画像２を開きます\n画像１は表示中の状態が保持"
             "されます"),
     .glyph = "paste-to-picture-2", .enabled = pasteIntoPictureEnabled,
     .run = [](CommandContext& c) { pasteFromClipboard(c, P::Second); }},
    {.id = kEdit1, .menu = Menu::Edit, .separatorBefore = true, .text = N_("画像1の編集(&1)"),
     .help = N_("画像１(ｼﾌﾄされていない原画像)の階調値を直接編集できます\n編集中は画像の内容が変化する"
             "機能が使用不可になります"),
     .glyph = "edit-1", .enabled = changesPictures,
     .inWindow = true},
    {.id = kEdit2, .menu = Menu::Edit, .text = N_("画像2の編集(&2)"),
     .help = N_("画像２(ｼﾌﾄされていない原画像)の階調値を直接編集できます\n編集中は画像の内容が変化する"
             "機能が使用不可になります"),
     .glyph = "edit-2", .enabled = changesPictures,
     .inWindow = true},

    // ---- Picture ----
    {.id = kResize, .menu = Menu::Picture, .text = N_("ｻｲｽﾞの変更(&S)"),
     .help = N_("画像のｻｲｽﾞを変更します\n画像の左上を基準とした切り出し／貼り付けか\n新ｻｲｽﾞにあわせた"
             "膨張／収縮が指定できます\n左上を基準とした場合は「編集」にある\n画像編集機能と併用し"
             "位置を調整してください"),
     .enabled = changesPictures, .inWindow = true},
    {.id = kSwap, .menu = Menu::Picture, .text = N_("入れ替え(&X)"),
     .help = N_("画像１と画像２を入れ替えます"), .glyph = "swap", .enabled = changesPictures,
     .run = [](CommandContext& c) { swapPictures(c.bench, c.user, c.busy, c.progress); }},
    {.id = kCopy1To2, .menu = Menu::CopyPictures, .text = N_("画像1→画像2(&1)"),
     .help = N_("画像１の内容を画像２へｺﾋﾟｰします"), .enabled = changesPictures,
     .run = [](CommandContext& c) { copyPicture(c.bench, c.user, c.busy, c.progress, P::First); }},
    {.id = kCopy2To1, .menu = Menu::CopyPictures, .text = N_("画像2→画像1(&2)"),
     .help = N_("画像２の内容を画像１へｺﾋﾟｰします"), .enabled = changesPictures,
     .run = [](CommandContext& c) { copyPicture(c.bench, c.user, c.busy, c.progress, P::Second); }},
    {.id = kImage1ToPicture1, .menu = Menu::CopyFromImages, .text = N_("ｲﾒｰｼﾞ1→画像1(&1)"),
     .help = N_("ｲﾒｰｼﾞ１の内容を画像１へｺﾋﾟｰします"), .glyph = "image-1-to-picture-1",
     .tip = N_("ｲﾒｰｼﾞ1を画像1へｺﾋﾟｰ"), .enabled = changesPictures,
     .run = [](CommandContext& c) {
       imageToPicture(c.bench, c.user, c.busy, c.progress, I::First, P::First);
     }},
    {.id = kImage1ToPicture2, .menu = Menu::CopyFromImages, .text = N_("ｲﾒｰｼﾞ1→画像2(&2)"),
     .help = N_("ｲﾒｰｼﾞ１の内容を画像２へｺﾋﾟｰします"), .enabled = changesPictures,
     .run = [](CommandContext& c) {
       imageToPicture(c.bench, c.user, c.busy, c.progress, I::First, P::Second);
     }},
    {.id = kImage2ToPicture1, .menu = Menu::CopyFromImages, .text = N_("ｲﾒｰｼﾞ2→画像1(&3)"),
     .help = N_("ｲﾒｰｼﾞ２の内容を画像１へｺﾋﾟｰします"), .enabled = changesPictures,
     .run = [](CommandContext& c) {
       imageToPicture(c.bench, c.user, c.busy, c.progress, I::Second, P::First);
     }},
    {.id = kImage2ToPicture2, .menu = Menu::CopyFromImages, .text = N_("ｲﾒｰｼﾞ2→画像2(&4)"),
     .help = N_("ｲﾒｰｼﾞ２の内容を画像２へｺﾋﾟｰします"), .glyph = "image-2-to-picture-2",
     .tip = N_("ｲﾒｰｼﾞ2を画像2へｺﾋﾟｰ"), .enabled = changesPictures,
     .run = [](CommandContext& c) {
       imageToPicture(c.bench, c.user, c.busy, c.progress, I::Second, P::Second);
     }},
    {.id = kImagesToPictures, .menu = Menu::CopyFromImages, .separatorBefore = true,
     .text = N_("ｲﾒｰｼﾞ1,2→画像1,2(&5)"),
     .help = N_("ｲﾒｰｼﾞ1の内容を画像1へ、ｲﾒｰｼﾞ2の内容を画像2へｺﾋﾟｰします"), .enabled = changesPictures,
     .run = [](CommandContext& c) { imagesToPictures(c.bench, c.user, c.busy, c.progress, false); }},
    {.id = kImagesToPicturesCrossed, .menu = Menu::CopyFromImages, .text = N_("ｲﾒｰｼﾞ1,2→画像2,1(&6)"),
     .help = N_("ｲﾒｰｼﾞ1の内容を画像2へ、ｲﾒｰｼﾞ2の内容を画像1へｺﾋﾟｰします"), .enabled = changesPictures,
     .run = [](CommandContext& c) { imagesToPictures(c.bench, c.user, c.busy, c.progress, true); }},
    {.id = kGreyScale1, .menu = Menu::GreyScale, .text = N_("画像1(&1)"),
     .help = N_("画像１をｸﾞﾚｰｽｹｰﾙ化します"), .enabled = changesPictures,
     .run = [](CommandContext& c) {
       greyScalePicture(c.bench, c.user, c.busy, c.progress, P::First);
     }},
    {.id = kGreyScale2, .menu = Menu::GreyScale, .text = N_("画像2(&2)"),
     .help = N_("画像２をｸﾞﾚｰｽｹｰﾙ化します"), .enabled = changesPictures,
     .run = [](CommandContext& c) {
       greyScalePicture(c.bench, c.user, c.busy, c.progress, P::Second);
     }},
    {.id = kRename1, .menu = Menu::Rename, .text = N_("画像1(&1)"),
     .help = N_("画像１のﾀｲﾄﾙ名称を変更します"), .enabled = picturesPresent,
     .run = [](CommandContext& c) { renameByDialog(c, P::First); }},
    {.id = kRename2, .menu = Menu::Rename, .text = N_("画像2(&2)"),
     .help = N_("画像２のﾀｲﾄﾙ名称を変更します"), .enabled = picturesPresent,
     .run = [](CommandContext& c) { renameByDialog(c, P::Second); }},

    // ---- User ----
    {.id = kUserProcessing, .menu = Menu::User, .text = N_("ﾕｰｻﾞ簡易画像処理(&P)"),
     .help = N_("簡単な画像処理を登録することが可能です（最大登録数：16）\n登録された画像処理は『ｲﾒｰｼﾞ"
             "制御情報』から選択が可能となり\n開かれている画像に対する処理結果を容易に表示可能です"),
     .enabled = notEditing, .inWindow = true},
    {.id = kUserColours, .menu = Menu::User, .text = N_("ﾕｰｻﾞｶﾗｰｲﾒｰｼﾞ(&C)"),
     .help = N_("階調に対するｶﾗｰ情報を登録することが可能です（最大登録数：16）\n登録されたｶﾗｰ情報は"
             "『ｲﾒｰｼﾞ制御情報』から選択が可能となり\n作成された画像処理結果のｶﾗｰｲﾒｰｼﾞを容易に表示"
             "可能となります"),
     .enabled = notEditing, .inWindow = true},
    {.id = kUserProgram, .menu = Menu::User, .text = N_("ﾕｰｻﾞﾌﾟﾛｸﾞﾗﾑ(EXE)(&E)"),
     .help = N_("画像処理を行うﾕｰｻﾞが作成したﾌﾟﾛｸﾞﾗﾑ(EXE)を実行します\nﾕｰｻﾞﾌﾟﾛｸﾞﾗﾑはﾌｧｲﾙで渡されて"
             "きた画像に対して処理を行い\nその結果をﾌｧｲﾙに出力することにより結果ｲﾒｰｼﾞを容易に表示\n"
             "することが可能となります（『ｲﾒｰｼﾞ制御情報』から選択が可能）"),
     .glyph = "user-program", .enabled = changesPictures,
     .inWindow = true},

    // ---- Communication ----
    {.id = kExport, .menu = Menu::Communication, .text = N_("Export(&E)"),
     .help = N_("ﾈｯﾄﾜｰｸを経由して表示中の画像を他ﾕｰｻﾞのVemlaに送信します"), .enabled = changesPictures,
     .inWindow = true},
    {.id = kImport, .menu = Menu::Communication, .text = N_("Import(&I)"),
     .help = N_("ﾈｯﾄﾜｰｸを経由して他ﾕｰｻﾞのVemlaから表示中の画像を受信します"), .enabled = notEditing,
     .inWindow = true},

    // ---- State memory ----
    {.id = kRememberState1, .menu = Menu::State, .text = N_("状態の記憶１(&1)"),
     .help = kRememberStateHelp, .enabled = picturesPresent, .checked = stateSlotUsed<0>,
     .run = [](CommandContext& c) { storeStateSlot(c, 0); }},
    {.id = kRememberState2, .menu = Menu::State, .text = N_("状態の記憶２(&2)"),
     .help = kRememberStateHelp, .enabled = picturesPresent, .checked = stateSlotUsed<1>,
     .run = [](CommandContext& c) { storeStateSlot(c, 1); }},
    {.id = kRememberState3, .menu = Menu::State, .text = N_("状態の記憶３(&3)"),
     .help = kRememberStateHelp, .enabled = picturesPresent, .checked = stateSlotUsed<2>,
     .run = [](CommandContext& c) { storeStateSlot(c, 2); }},
    {.id = kRememberState4, .menu = Menu::State, .text = N_("状態の記憶４(&4)"),
     .help = kRememberStateHelp, .enabled = picturesPresent, .checked = stateSlotUsed<3>,
     .run = [](CommandContext& c) { storeStateSlot(c, 3); }},
    {.id = kRestoreState1, .menu = Menu::State, .separatorBefore = true,
     .text = N_("状態の回復１(&5)"), .help = kRestoreStateHelp, .enabled = restoreSlotEnabled<0>,
     .run = [](CommandContext& c) { restoreStateSlot(c, 0); }},
    {.id = kRestoreState2, .menu = Menu::State, .text = N_("状態の回復２(&6)"),
     .help = kRestoreStateHelp, .enabled = restoreSlotEnabled<1>,
     .run = [](CommandContext& c) { restoreStateSlot(c, 1); }},
    {.id = kRestoreState3, .menu = Menu::State, .text = N_("状態の回復３(&7)"),
     .help = kRestoreStateHelp, .enabled = restoreSlotEnabled<2>,
     .run = [](CommandContext& c) { restoreStateSlot(c, 2); }},
    {.id = kRestoreState4, .menu = Menu::State, .text = N_("状態の回復４(&8)"),
     .help = kRestoreStateHelp, .enabled = restoreSlotEnabled<3>,
     .run = [](CommandContext& c) { restoreStateSlot(c, 3); }},
    {.id = kSaveStateFile, .menu = Menu::State, .separatorBefore = true,
     .text = N_("名前を付けて状態を記憶(&S)"), .help = N_("表示中の状態をﾌｧｲﾙに名前を付けて保存します"),
     .enabled = picturesPresent, .run = storeStateByDialog},
    {.id = kRestoreStateFile, .menu = Menu::State, .text = N_("名前を付けた状態の回復(&R)"),
     .help = N_("名前を付けてﾌｧｲﾙに保存した状態の回復を行います"), .enabled = restoreFileEnabled,
     .run = restoreStateByDialog},
    {.id = kClearStates, .menu = Menu::State, .separatorBefore = true,
     .text = N_("状態の記憶のｸﾘｱ(&C)"),
     .help = N_("状態の記憶をｸﾘｱします（名前を付けて記憶した情報は除く）"),
     .enabled = anyStateSlotUsed, .run = clearStates},
    {.id = kStateList, .menu = Menu::State, .text = N_("記憶状態の一覧(&L)"),
     .help = N_("記憶されている状態の一覧情報を表示します"), .enabled = anyStateSlotUsed,
     .run = listStates},
    {.id = kConfirmStates, .menu = Menu::State, .separatorBefore = true,
     .text = N_("確認ﾒｯｾｰｼﾞ表示(&M)"),
     .help = N_("誤操作防止のため状態の記憶／回復時に\n必要に応じて確認ﾒｯｾｰｼﾞが表示されます"),
     .checked = confirmStatesOn, .run = toggleConfirmStates},
    {.id = kRestoreFormOnly, .menu = Menu::State, .text = N_("表示形態のみ回復(&D)"),
     .help = N_("状態の回復時、記憶した画像内容は回復されず\n表示の形態だけを回復するようになります"),
     .checked = restoreFormOnlyOn, .run = toggleRestoreFormOnly},

    // ---- Settings ----
    {.id = kOptions, .menu = Menu::Settings, .text = N_("ｵﾌﾟｼｮﾝ情報の設定(&O)"),
     .help = N_("Vemlaに対する様々な情報を設定することができます"), .glyph = "options",
     .toolbarAlwaysEnabled = true, .enabled = notEditing,
     .inWindow = true},
    {.id = kClearHistory, .menu = Menu::Settings, .separatorBefore = true,
     .text = N_("ﾌｧｲﾙ履歴のｸﾘｱ(&F)"), .help = N_("開いたﾌｧｲﾙの履歴情報をｸﾘｱします"),
     .enabled = clearHistoryEnabled, .run = clearHistoryAfterAsking},
    {.id = kResetColours, .menu = Menu::Settings, .text = N_("ｶﾗｰ情報の初期化(&C)"),
     .help = N_("表示ｲﾒｰｼﾞと対応するｶﾗｰｲﾒｰｼﾞの関連付けを\nVemlaの既定値に初期化します"),
     .run = resetColoursAfterAsking},
    {.id = kClearShiftMarks, .menu = Menu::Settings, .text = N_("ｼﾌﾄ ﾏｰｸ情報のｸﾘｱ(&S)"),
     .help = N_("『画像制御情報』にある手動ｼﾌﾄのﾏｰｸ情報をｸﾘｱします"), .run = clearShiftMarksAfterAsking},
    {.id = kClearDisplayMarks, .menu = Menu::Settings, .text = N_("表示ﾏｰｸ情報のｸﾘｱ(&D)"),
     .help = N_("『ｲﾒｰｼﾞ制御情報』にある表示位置のﾏｰｸ情報をｸﾘｱします"),
     .run = clearDisplayMarksAfterAsking},
    {.id = kClearExchangeFile, .menu = Menu::Settings, .text = N_("Vla内貼り付けﾌｧｲﾙのｸﾘｱ(&Q)"),
     .help = N_("Vla内のｺﾋﾟｰ&ﾍﾟｰｽﾄﾌｧｲﾙ情報をｸﾘｱします"), .enabled = exchangeFileExists,
     .run = clearExchangeFileAfterAsking},
    {.id = kGalleryHome, .menu = Menu::Settings, .separatorBefore = true,
     .text = N_("ｷﾞｬﾗﾘｰを標準位置へ(&G)"), .help = N_("ｷﾞｬﾗﾘｰ(小型版)の表示位置を標準の位置へ移動します"),
     .enabled = galleryExists,
     .inWindow = true},

    // ---- Tools ----
    {.id = kGradationTool, .menu = Menu::Tools, .text = N_("階調値(&T)"), .help = N_("階調値の表示機能です"),
     .enabled = picturesPresent, .checked = toolActive<kToolGradation>,
     .run = chooseTool<tools::Tool::Gradation>},
    {.id = kProfileTool, .menu = Menu::Tools, .text = N_("ﾌﾟﾛﾌｧｲﾙ(&P)"),
     .help = N_("ﾌﾟﾛﾌｧｲﾙの表示機能です"), .enabled = picturesPresent,
     .checked = toolActive<kToolProfile>, .run = chooseTool<tools::Tool::Profile>},
    {.id = k3DTool, .menu = Menu::Tools, .text = N_("３Ｄ(&D)"), .help = N_("３Ｄｲﾒｰｼﾞの表示機能です"),
     .enabled = picturesPresent, .checked = toolActive<kTool3D>,
     .run = chooseTool<tools::Tool::View3D>},
    {.id = kMeasurementTool, .menu = Menu::Tools, .text = N_("測定(&K)"),
     .help = N_("様々な測定が可能な機能が呼び出されます"), .enabled = picturesPresent,
     .checked = toolActive<kToolMeasurement>, .run = chooseTool<tools::Tool::Measurement>},
    {.id = kPartialComparisonTool, .menu = Menu::Tools, .text = N_("部分比較(&B)"),
     .help = N_("ｲﾒｰｼﾞを比較可能な機能が呼び出されます"), .enabled = picturesPresent,
     .checked = toolActive<kToolPartialComparison>,
     .run = chooseTool<tools::Tool::PartialComparison>},
    {.id = kImageScope, .menu = Menu::Tools, .separatorBefore = true, .text = N_("ｲﾒｰｼﾞｽｺｰﾌﾟ(&S)"),
     .help = N_("画像やｲﾒｰｼﾞにﾏｳｽを移動すると「ｵﾌﾟｼｮﾝ情報の設定」で\n指定された倍率ｲﾒｰｼﾞと中心近傍の"
             "階調値が表示されます"),
     .glyph = "image-scope", .toolbarAlwaysEnabled = true, .enabled = picturesPresent,
     .checked = imageScopeOn,
     .run = [](CommandContext& c) { c.bench.shell.imageScope = !c.bench.shell.imageScope; }},
    {.id = kGallery, .menu = Menu::Tools, .text = N_("ｷﾞｬﾗﾘｰ(&G)"),
     .help = N_("ｷﾞｬﾗﾘｰの表示/未表示の切り替えを行います"), .glyph = "gallery",
     .enabled = galleryEnabled, .checked = galleryVisible,
     .inWindow = true},
    {.id = kBlinkImage1, .menu = Menu::Tools, .separatorBefore = true,
     .text = N_("ｲﾒｰｼﾞ1の交互表示(&1)"), .help = kBlinkHelp, .enabled = picturesPresent,
     .checked = comparisonOn<ImageSlot::First, ComparisonMode::Blink>,
     .run = toggleComparison<ImageSlot::First, ComparisonMode::Blink>},
    {.id = kBlinkImage2, .menu = Menu::Tools, .text = N_("ｲﾒｰｼﾞ2の交互表示(&2)"), .help = kBlinkHelp,
     .enabled = picturesPresent, .checked = comparisonOn<ImageSlot::Second, ComparisonMode::Blink>,
     .run = toggleComparison<ImageSlot::Second, ComparisonMode::Blink>},
    {.id = kSwipeImage1, .menu = Menu::Tools, .text = N_("ｲﾒｰｼﾞ1の分割表示(&3)"), .help = kSwipeHelp,
     .enabled = picturesPresent, .checked = comparisonOn<ImageSlot::First, ComparisonMode::Swipe>,
     .run = toggleComparison<ImageSlot::First, ComparisonMode::Swipe>},
    {.id = kSwipeImage2, .menu = Menu::Tools, .text = N_("ｲﾒｰｼﾞ2の分割表示(&4)"), .help = kSwipeHelp,
     .enabled = picturesPresent, .checked = comparisonOn<ImageSlot::Second, ComparisonMode::Swipe>,
     .run = toggleComparison<ImageSlot::Second, ComparisonMode::Swipe>},
    {.id = kCalculator, .menu = Menu::Tools, .separatorBefore = true, .text = N_("電卓(&C)"),
     .help = N_("計算ﾂｰﾙ機能が呼び出されます"), .glyph = "calculator",
     .inWindow = true},
    {.id = kMemo, .menu = Menu::Tools, .text = N_("メモ(&M)"),
     .help = N_("「ｵﾌﾟｼｮﾝ情報の設定」で指定されたﾒﾓ用のﾌｧｲﾙが開きます"),
     .inWindow = true},

    // ---- Help ----
    {.id = kQuickHelp, .menu = Menu::Help, .text = N_("ｸｲｯｸﾍﾙﾌﾟ(&Q)"),
     .help = N_("現在使用している機能です\nﾒﾆｭｰ、ﾀｲﾄﾙ部分、項目等にﾏｳｽを移動\nさせるとﾍﾙﾌﾟﾒｯｾｰｼﾞが"
             "表示されます"),
     .glyph = "quick-help", .checked = quickHelpOn,
     .run = [](CommandContext& c) { c.bench.shell.quickHelp = !c.bench.shell.quickHelp; }},
    {.id = kWebPage, .menu = Menu::Help, .separatorBefore = true, .text = N_("概要-Web(&S)"),
     .help = N_("Vemla概要のWebｻｲﾄを開きます"), .enabled = overviewInstalled,
     .inWindow = true},
    {.id = kVersion, .menu = Menu::Help, .text = N_("ﾊﾞｰｼﾞｮﾝ情報(&A)"),
     .help = N_("Vemlaのﾊﾞｰｼｮﾝ情報を表示します"), .inWindow = true},

    // ---- Toolbar only: the layout inside the scrolling base window moves to a corner ----
    {.id = kLayoutTopLeft, .text = N_("左上を表示"), .glyph = "layout-top-left",
     .toolbarAlwaysEnabled = true, .enabled = baseWindowInUse,
     .inWindow = true},
    {.id = kLayoutTopRight, .text = N_("右上を表示"), .glyph = "layout-top-right",
     .toolbarAlwaysEnabled = true, .enabled = baseWindowInUse,
     .inWindow = true},
    {.id = kLayoutBottomLeft, .text = N_("左下を表示"), .glyph = "layout-bottom-left",
     .toolbarAlwaysEnabled = true, .enabled = baseWindowInUse,
     .inWindow = true},
    {.id = kLayoutBottomRight, .text = N_("右下を表示"), .glyph = "layout-bottom-right",
     .toolbarAlwaysEnabled = true, .enabled = baseWindowInUse,
     .inWindow = true},
};

const MenuEntry kMenus[] = {
    {.menu = Menu::File, .text = N_("ﾌｧｲﾙ(&F)")},
    {.menu = Menu::Edit, .text = N_("編集(&E)")},
    {.menu = Menu::Picture, .text = N_("画像(&P)")},
    {.menu = Menu::User, .text = N_("ﾕｰｻﾞ(&U)")},
    {.menu = Menu::Communication, .text = N_("通信(&N)")},
    {.menu = Menu::State, .text = N_("状態(&S)")},
    {.menu = Menu::Settings, .text = N_("設定(&O)")},
    {.menu = Menu::Tools, .text = N_("ﾂｰﾙ(&T)")},
    {.menu = Menu::Help, .text = N_("ﾍﾙﾌﾟ(&H)")},
    {.menu = Menu::ReplaceOne, .parent = Menu::File, .text = N_("1つの画像を入れ替え"),
     .help = N_("選択された１つの画像を入れ替えます"), .enabled = changesPictures},
    {.menu = Menu::Overwrite, .parent = Menu::File, .separatorBefore = true, .text = N_("上書き保存"),
     .help = N_("表示中の画像をﾌｧｲﾙに上書き保存します")},
    {.menu = Menu::SaveAs, .parent = Menu::File, .text = N_("名前を付けて保存(&A)"),
     .help = N_("表示中の画像やｲﾒｰｼﾞをﾌｧｲﾙに名前を付けて保存します")},
    {.menu = Menu::Reopen, .parent = Menu::File, .separatorBefore = true, .text = N_("再度開く(&R)"),
     .help = N_("表示中の画像ﾌｧｲﾙを再度開きなおします")},
    {.menu = Menu::CopyPictures, .parent = Menu::Picture, .text = N_("画像間のｺﾋﾟｰ(&C)"),
     .help = N_("画像間で内容のｺﾋﾟｰを行います")},
    // Above the cursor, out of the way of the submenu's long items.
    {.menu = Menu::CopyFromImages, .parent = Menu::Picture, .text = N_("ｲﾒｰｼﾞから画像へｺﾋﾟｰ(&I)"),
     .help = N_("ｲﾒｰｼﾞの内容を画像へｺﾋﾟｰします\n繰り返し画像処理を行うような場合に便利です"),
     .helpOffset = -40},
    {.menu = Menu::GreyScale, .parent = Menu::Picture, .text = N_("ｸﾞﾚｰｽｹｰﾙ化(&G)"),
     .help = N_("画像の持つｶﾗｰをｸﾞﾚｰｽｹｰﾙ化します")},
    {.menu = Menu::Rename, .parent = Menu::Picture, .text = N_("ﾀｲﾄﾙ名称の変更(&N)"),
     .help = N_("画像のﾀｲﾄﾙ名称を変更します")},
};
// clang-format on

}  // namespace

std::span<const Command> commandTable() {
  return kCommands;
}

const Command* findCommand(int id) {
  const auto found = std::ranges::find(kCommands, id, &Command::id);
  return found == std::end(kCommands) ? nullptr : &*found;
}

std::span<const MenuEntry> menuTable() {
  return kMenus;
}

const MenuEntry& menuEntry(Menu menu) {
  const auto found = std::ranges::find(kMenus, menu, &MenuEntry::menu);
  return found == std::end(kMenus) ? kMenus[0] : *found;
}

const char* commandHelpText(int id) {
  if (isHistoryItem(id)) return kHistoryHelpText;
  const Command* command = findCommand(id);
  return command != nullptr ? command->help : nullptr;
}

bool commandEnabled(int id, const CommandSituation& situation) {
  if (isHistoryItem(id)) return !situation.editing;
  const Command* command = findCommand(id);
  if (command == nullptr) return false;
  return command->enabled == nullptr || command->enabled(situation);
}

bool commandChecked(int id, const CommandSituation& situation) {
  const Command* command = findCommand(id);
  return command != nullptr && command->checked != nullptr && command->checked(situation);
}

bool isCheckCommand(int id) {
  const Command* command = findCommand(id);
  return command != nullptr && command->checked != nullptr;
}

bool menuEnabled(Menu menu, const CommandSituation& situation) {
  const MenuEntry& entry = menuEntry(menu);
  if (entry.parent == Menu::None) return true;
  if (entry.enabled != nullptr) return entry.enabled(situation);
  return std::ranges::any_of(kCommands, [&](const Command& command) {
    return command.menu == menu && commandEnabled(command.id, situation);
  });
}

bool toolbarEnabled(int id, const CommandSituation& situation) {
  const Command* command = findCommand(id);
  if (command == nullptr || command->glyph == nullptr) return false;
  return command->toolbarAlwaysEnabled || commandEnabled(id, situation);
}

bool toolbarChecked(int id, const CommandSituation& situation) {
  const Command* command = findCommand(id);
  return command != nullptr && command->glyph != nullptr && commandChecked(id, situation);
}

bool commandAvailable(int id) {
  if (isHistoryItem(id)) return true;
  const Command* command = findCommand(id);
  return command != nullptr && (command->run != nullptr || command->inWindow);
}

void runCommand(int id, CommandContext& context) {
  if (isHistoryItem(id)) {
    openHistoryEntry(context.bench, context.user, context.busy, context.progress,
                     historyEntryOfCommand(id));
    return;
  }
  const Command* command = findCommand(id);
  if (command == nullptr) return;
  if (command->inWindow) {
    context.host.runInWindow(id);
  } else if (command->run != nullptr) {
    command->run(context);
  }
}

void CommandHost::runInWindow(int command) {
  const auto handler = windowHandlers_.find(command);
  if (handler != windowHandlers_.end()) handler->second();
}

bool CommandHost::handlesInWindow(int command) const {
  return windowHandlers_.contains(command);
}

void CommandHost::handleInWindow(int command, std::function<void()> handler) {
  windowHandlers_[command] = std::move(handler);
}

// clang-format off
constexpr int kToolbarLayout[] = {
    kOpenTwo, kOpenOne, kOpenArchive, kOverwrite1, kOverwrite2, kToolbarSeparator,
    kEdit1, kEdit2, kPaste, kPasteToPicture1, kPasteToPicture2, kToolbarSeparator,
    kSwap, kImage1ToPicture1, kImage2ToPicture2, kToolbarSeparator,
    kUserProgram, kOptions, kToolbarSeparator,
    kImageScope, kGallery, kQuickHelp, kToolbarSeparator,
    kCalculator};
// clang-format on

std::span<const int> toolbarLayout() {
  return kToolbarLayout;
}

}  // namespace vemla
