#pragma once
// The command identifiers of the main window's menu and toolbar, the history items of the File
// menu, the menu texts and the quick-help texts shown for the menu items. One table feeds the
// menu, the toolbar tips and the quick help, so an identifier and its texts are kept together.
#include <array>
#include <cstddef>
#include <string_view>

namespace vemla {

enum CommandId : int {
  // File
  kOpenTwo = 40001,     // "２つの画像で開く(&2)"
  kOpenOne = 40002,     // "1つの画像で開く(&1)"
  kExit = 40003,        // "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)"
  kOverwrite1 = 40008,  // overwrite Picture 1 with its shifted picture
  kOverwrite2 = 40009,
  kSaveAsPicture1 = 40011,  // save the shifted Picture 1 under a new name
  kSaveAsPicture2 = 40012,
  kSaveAsImage1 = 40013,  // save Image 1 under a name
  kSaveAsImage2 = 40014,
  kFileInformation = 40032,  // "画像ﾌｧｲﾙ情報(&I)"
  kGreyValueText = 40037,    // "階調値ﾃｷｽﾄ保存(&T)"
  kReopenBoth = 40027,
  kReopen1 = 40028,
  kReopen2 = 40029,
  kReplace1 = 40103,  // open a file as Picture 1 keeping Picture 2
  kReplace2 = 40104,
  kOpenArchive = 40112,    // "Vlaファイルを開く(&Q)"
  kSaveDisplayed = 40116,  // check item: save the images as displayed
  // Edit
  kPaste = 40023,
  kPasteToPicture1 = 40024,
  kPasteToPicture2 = 40025,
  kEdit1 = 40034,  // picture edit dialog
  kEdit2 = 40035,
  // Picture
  kImage1ToPicture1 = 40015,
  kImage1ToPicture2 = 40016,
  kImage2ToPicture1 = 40017,
  kImage2ToPicture2 = 40018,
  kImagesToPictures = 40019,         // Image 1 -> Picture 1 and Image 2 -> Picture 2
  kImagesToPicturesCrossed = 40020,  // Image 1 -> Picture 2 and Image 2 -> Picture 1
  kGreyScale1 = 40021,
  kGreyScale2 = 40022,
  kCopy1To2 = 40030,
  kCopy2To1 = 40031,
  kResize = 40036,
  kSwap = 40040,
  kRename1 = 40088,
  kRename2 = 40089,
  // User
  kUserProcessing = 40005,
  kUserColours = 40042,
  kUserProgram = 40043,
  // Communication
  kExport = 40046,
  kImport = 40047,
  // State memory
  kRememberState1 = 40075,  // store the state in slot 1..4
  kRememberState2 = 40076,
  kRememberState3 = 40077,
  kRememberState4 = 40078,
  kRestoreState1 = 40079,  // restore slot 1..4
  kRestoreState2 = 40080,
  kRestoreState3 = 40081,
  kRestoreState4 = 40082,
  kClearStates = 40083,
  kStateList = 40084,
  kConfirmStates = 40085,  // check item "確認ﾒｯｾｰｼﾞ表示"
  kSaveStateFile = 40086,
  kRestoreStateFile = 40087,
  kRestoreFormOnly = 40090,  // check item "表示形態のみ回復"
  // Settings
  kOptions = 40039,
  kClearHistory = 40071,
  kResetColours = 40072,
  kClearShiftMarks = 40073,
  kClearDisplayMarks = 40074,
  kGalleryHome = 40111,
  kClearExchangeFile = 40113,
  // Tools
  kMemo = 40092,
  kGradationTool = 40093,
  kProfileTool = 40094,
  k3DTool = 40095,
  kMeasurementTool = 40096,
  kImageScope = 40097,
  kPartialComparisonTool = 40100,
  kCalculator = 40105,
  kGallery = 40114,
  // Help
  kVersion = 40049,
  kQuickHelp = 40091,
  kWebPage = 40117,
  // Toolbar only: move the layout inside the scrolling base window to a corner.
  kLayoutTopLeft = 40107,
  kLayoutTopRight = 40108,
  kLayoutBottomLeft = 40109,
  kLayoutBottomRight = 40110,
  // History items of the File menu: entry i (0-based) has Picture 1 item 651 + 2i and
  // Picture 2 item 652 + 2i; the separator before them is 650.
  kHistorySeparator = 650,
  kFirstHistoryItem = 651,
  kLastHistoryItem = 682,
};

inline constexpr bool isHistoryItem(int id) {
  return id >= kFirstHistoryItem && id <= kLastHistoryItem;
}

// Menu text ("&" marks the access key) and quick-help text of a command; either may be null
// (toolbar-only commands have no menu text; items without help show nothing).
struct CommandText {
  int id;
  const char* menuText;
  const char* helpText;
};

inline constexpr CommandText kCommandTexts[] = {
    {kOpenTwo, "２つの画像で開く(&2)", "選択された２つの画像をﾌｧｲﾙから開きます"},
    {kOpenOne, "1つの画像で開く(&1)",
     "選択された１つの画像をﾌｧｲﾙから開きます\n画像２はｵｰﾙ０の階調値で開きます"},
    {kExit, "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)", "Vemlaを終了します"},
    {kUserProcessing, "ﾕｰｻﾞ簡易画像処理(&P)",
     "簡単な画像処理を登録することが可能です（最大登録数：16）\n登録された画像処理は『ｲﾒｰｼﾞ制御情報"
     "』"
     "から選択が可能となり\n開かれている画像に対する処理結果を容易に表示可能です"},
    {kOverwrite1, "画像1(&1)",
     "表示中の画像１をﾌｧｲﾙに上書き保存します\n『画像制御情報』によってｼﾌﾄされた画像が対象です"},
    {kOverwrite2, "画像2(&2)",
     "表示中の画像２をﾌｧｲﾙに上書き保存します\n『画像制御情報』によってｼﾌﾄされた画像が対象です"},
    {kSaveAsPicture1, "画像1(&1)",
     "表示中の画像１をﾌｧｲﾙに名前を付けて保存します\n『画像制御情報』によってｼﾌﾄされた画像が対象で"
     "す"},
    {kSaveAsPicture2, "画像2(&2)",
     "表示中の画像２をﾌｧｲﾙに名前を付けて保存します\n『画像制御情報』によってｼﾌﾄされた画像が対象で"
     "す"},
    {kSaveAsImage1, "ｲﾒｰｼﾞ1(&3)",
     "『ｲﾒｰｼﾞ制御情報』によって作成され表示中の\nｲﾒｰｼﾞ1をﾌｧｲﾙに名前を付けて保存します"},
    {kSaveAsImage2, "ｲﾒｰｼﾞ2(&4)",
     "『ｲﾒｰｼﾞ制御情報』によって作成され表示中の\nｲﾒｰｼﾞ2をﾌｧｲﾙに名前を付けて保存します"},
    {kImage1ToPicture1, "ｲﾒｰｼﾞ1→画像1(&1)", "ｲﾒｰｼﾞ１の内容を画像１へｺﾋﾟｰします"},
    {kImage1ToPicture2, "ｲﾒｰｼﾞ1→画像2(&2)", "ｲﾒｰｼﾞ１の内容を画像２へｺﾋﾟｰします"},
    {kImage2ToPicture1, "ｲﾒｰｼﾞ2→画像1(&3)", "ｲﾒｰｼﾞ２の内容を画像１へｺﾋﾟｰします"},
    {kImage2ToPicture2, "ｲﾒｰｼﾞ2→画像2(&4)", "ｲﾒｰｼﾞ２の内容を画像２へｺﾋﾟｰします"},
    {kImagesToPictures, "ｲﾒｰｼﾞ1,2→画像1,2(&5)",
     "ｲﾒｰｼﾞ1の内容を画像1へ、ｲﾒｰｼﾞ2の内容を画像2へｺﾋﾟｰします"},
    {kImagesToPicturesCrossed, "ｲﾒｰｼﾞ1,2→画像2,1(&6)",
     "ｲﾒｰｼﾞ1の内容を画像2へ、ｲﾒｰｼﾞ2の内容を画像1へｺﾋﾟｰします"},
    {kGreyScale1, "画像1(&1)", "画像１をｸﾞﾚｰｽｹｰﾙ化します"},
    {kGreyScale2, "画像2(&2)", "画像２をｸﾞﾚｰｽｹｰﾙ化します"},
    {kPaste, "貼り付け(&P）", "ｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰされているﾌｧｲﾙで画像を開きます"},
    {kPasteToPicture1, "画像1に貼り付け(&A)",
     "ｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰされている先頭のﾌｧｲﾙで画像１を開きます\n画像２は表示中の状態が保持されます"},
    {kPasteToPicture2, "画像2に貼り付け(&B)",
     "ｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰされている先頭のﾌｧｲﾙで画像２を開きます\n画像１は表示中の状態が保持されます"},
    {kReopenBoth, "画像1と画像2(&B)", "表示中の画像１及び２のﾌｧｲﾙを再度開きなおします"},
    {kReopen1, "画像1(&1)",
     "表示中の画像１ﾌｧｲﾙを再度開きなおします\n画像２は表示中の状態が保持されます"},
    {kReopen2, "画像2(&2)",
     "表示中の画像２ﾌｧｲﾙを再度開きなおします\n画像１は表示中の状態が保持されます"},
    {kCopy1To2, "画像1→画像2(&1)", "画像１の内容を画像２へｺﾋﾟｰします"},
    {kCopy2To1, "画像2→画像1(&2)", "画像２の内容を画像１へｺﾋﾟｰします"},
    {kFileInformation, "画像ﾌｧｲﾙ情報(&I)", "表示中の画像のﾌｧｲﾙ情報を表示します"},
    {kEdit1, "画像1の編集(&1)",
     "画像１(ｼﾌﾄされていない原画像)"
     "の階調値を直接編集できます\n編集中は画像の内容が変化する機能が使用不可になります"},
    {kEdit2, "画像2の編集(&2)",
     "画像２(ｼﾌﾄされていない原画像)"
     "の階調値を直接編集できます\n編集中は画像の内容が変化する機能が使用不可になります"},
    {kResize, "ｻｲｽﾞの変更(&S)",
     "画像のｻｲｽﾞを変更します\n画像の左上を基準とした切り出し／貼り付けか\n新ｻｲｽﾞにあわせた膨張／収"
     "縮が"
     "指定できます\n左上を基準とした場合は「編集」にある\n画像編集機能と併用し位置を調整してくださ"
     "い"},
    {kGreyValueText, "階調値ﾃｷｽﾄ保存(&T)",
     "表示中の画像／ｲﾒｰｼﾞの指定範囲の階調値を\nﾃｷｽﾄでﾌｧｲﾙに名前を付けて保存します"},
    {kOptions, "ｵﾌﾟｼｮﾝ情報の設定(&O)", "Vemlaに対する様々な情報を設定することができます"},
    {kSwap, "入れ替え(&X)", "画像１と画像２を入れ替えます"},
    {kUserColours, "ﾕｰｻﾞｶﾗｰｲﾒｰｼﾞ(&C)",
     "階調に対するｶﾗｰ情報を登録することが可能です（最大登録数：16）\n登録されたｶﾗｰ情報は『ｲﾒｰｼﾞ制御"
     "情報』"
     "から選択が可能となり\n作成された画像処理結果のｶﾗｰｲﾒｰｼﾞを容易に表示可能となります"},
    {kUserProgram, "ﾕｰｻﾞﾌﾟﾛｸﾞﾗﾑ(EXE)(&E)",
     "画像処理を行うﾕｰｻﾞが作成したﾌﾟﾛｸﾞﾗﾑ(EXE)を実行します\nﾕｰｻﾞﾌﾟﾛｸﾞﾗﾑはﾌｧｲﾙで渡されてきた画像に"
     "対して処理を行い\nその結果をﾌｧｲﾙに出力することにより結果ｲﾒｰｼﾞを容易に表示\nすることが可能とな"
     "ります"
     "（『ｲﾒｰｼﾞ制御情報』から選択が可能）"},
    {kExport, "Export(&E)", "ﾈｯﾄﾜｰｸを経由して表示中の画像を他ﾕｰｻﾞのVemlaに送信します"},
    {kImport, "Import(&I)", "ﾈｯﾄﾜｰｸを経由して他ﾕｰｻﾞのVemlaから表示中の画像を受信します"},
    {kVersion, "ﾊﾞｰｼﾞｮﾝ情報(&A)", "Vemlaのﾊﾞｰｼｮﾝ情報を表示します"},
    {kClearHistory, "ﾌｧｲﾙ履歴のｸﾘｱ(&F)", "開いたﾌｧｲﾙの履歴情報をｸﾘｱします"},
    {kResetColours, "ｶﾗｰ情報の初期化(&C)",
     "表示ｲﾒｰｼﾞと対応するｶﾗｰｲﾒｰｼﾞの関連付けを\nVemlaの既定値に初期化します"},
    {kClearShiftMarks, "ｼﾌﾄ ﾏｰｸ情報のｸﾘｱ(&S)", "『画像制御情報』にある手動ｼﾌﾄのﾏｰｸ情報をｸﾘｱします"},
    {kClearDisplayMarks, "表示ﾏｰｸ情報のｸﾘｱ(&D)",
     "『ｲﾒｰｼﾞ制御情報』にある表示位置のﾏｰｸ情報をｸﾘｱします"},
    {kRememberState1, "状態の記憶１(&1)",
     "表示中の状態を記憶します（１～４まで別々に記憶が可能）\n状態記憶した内容はﾌﾟﾛｸﾞﾗﾑ終了後も保持"
     "されます"
     "\n多重起動したVemla間で画像をやり取りする場合にも便利です"},
    {kRememberState2, "状態の記憶２(&2)",
     "表示中の状態を記憶します（１～４まで別々に記憶が可能）\n状態記憶した内容はﾌﾟﾛｸﾞﾗﾑ終了後も保持"
     "されます"
     "\n多重起動したVemla間で画像をやり取りする場合にも便利です"},
    {kRememberState3, "状態の記憶３(&3)",
     "表示中の状態を記憶します（１～４まで別々に記憶が可能）\n状態記憶した内容はﾌﾟﾛｸﾞﾗﾑ終了後も保持"
     "されます"
     "\n多重起動したVemla間で画像をやり取りする場合にも便利です"},
    {kRememberState4, "状態の記憶４(&4)",
     "表示中の状態を記憶します（１～４まで別々に記憶が可能）\n状態記憶した内容はﾌﾟﾛｸﾞﾗﾑ終了後も保持"
     "されます"
     "\n多重起動したVemla間で画像をやり取りする場合にも便利です"},
    {kRestoreState1, "状態の回復１(&5)", "記憶した状態の回復を行います"},
    {kRestoreState2, "状態の回復２(&6)", "記憶した状態の回復を行います"},
    {kRestoreState3, "状態の回復３(&7)", "記憶した状態の回復を行います"},
    {kRestoreState4, "状態の回復４(&8)", "記憶した状態の回復を行います"},
    {kClearStates, "状態の記憶のｸﾘｱ(&C)",
     "状態の記憶をｸﾘｱします（名前を付けて記憶した情報は除く）"},
    {kStateList, "記憶状態の一覧(&L)", "記憶されている状態の一覧情報を表示します"},
    {kConfirmStates, "確認ﾒｯｾｰｼﾞ表示(&M)",
     "誤操作防止のため状態の記憶／回復時に\n必要に応じて確認ﾒｯｾｰｼﾞが表示されます"},
    {kSaveStateFile, "名前を付けて状態を記憶(&S)", "表示中の状態をﾌｧｲﾙに名前を付けて保存します"},
    {kRestoreStateFile, "名前を付けた状態の回復(&R)",
     "名前を付けてﾌｧｲﾙに保存した状態の回復を行います"},
    {kRename1, "画像1(&1)", "画像１のﾀｲﾄﾙ名称を変更します"},
    {kRename2, "画像2(&2)", "画像２のﾀｲﾄﾙ名称を変更します"},
    {kRestoreFormOnly, "表示形態のみ回復(&D)",
     "状態の回復時、記憶した画像内容は回復されず\n表示の形態だけを回復するようになります"},
    {kQuickHelp, "ｸｲｯｸﾍﾙﾌﾟ(&Q)",
     "現在使用している機能です\nﾒﾆｭｰ、ﾀｲﾄﾙ部分、項目等にﾏｳｽを移動\nさせるとﾍﾙﾌﾟﾒｯｾｰｼﾞが表示されま"
     "す"},
    {kMemo, "メモ(&M)", "「ｵﾌﾟｼｮﾝ情報の設定」で指定されたﾒﾓ用のﾌｧｲﾙが開きます"},
    {kGradationTool, "階調値(&T)", "階調値の表示機能です"},
    {kProfileTool, "ﾌﾟﾛﾌｧｲﾙ(&P)", "ﾌﾟﾛﾌｧｲﾙの表示機能です"},
    {k3DTool, "３Ｄ(&D)", "３Ｄｲﾒｰｼﾞの表示機能です"},
    {kMeasurementTool, "測定(&K)", "様々な測定が可能な機能が呼び出されます"},
    {kImageScope, "ｲﾒｰｼﾞｽｺｰﾌﾟ(&S)",
     "画像やｲﾒｰｼﾞにﾏｳｽを移動すると「ｵﾌﾟｼｮﾝ情報の設定」で\n指定された倍率ｲﾒｰｼﾞと中心近傍の階調値が表"
     "示されます"},
    {kPartialComparisonTool, "部分比較(&B)", "ｲﾒｰｼﾞを比較可能な機能が呼び出されます"},
    {kReplace1, "画像1(&1)", "画像１を選択された画像に入れ替えます"},
    {kReplace2, "画像2(&2)", "画像２を選択された画像に入れ替えます"},
    {kCalculator, "電卓(&C)", "計算ﾂｰﾙ機能が呼び出されます"},
    {kLayoutTopLeft, nullptr, nullptr},
    {kLayoutTopRight, nullptr, nullptr},
    {kLayoutBottomLeft, nullptr, nullptr},
    {kLayoutBottomRight, nullptr, nullptr},
    {kGalleryHome, "ｷﾞｬﾗﾘｰを標準位置へ(&G)", "ｷﾞｬﾗﾘｰ(小型版)の表示位置を標準の位置へ移動します"},
    {kOpenArchive, "Vlaファイルを開く(&Q)",
     "VLAﾌｫｰﾏｯﾄのﾌｧｲﾙ(拡張子:VLA)から画像を選択し開きます\n同時に複数の画像やﾃﾞｰﾀをｷﾞｬﾗﾘｰへ展開が"
     "可能です\n※VLAﾌｧｲﾙの作成はｷﾞｬﾗﾘｰ機能から行うことが可能です"},
    {kClearExchangeFile, "Vla内貼り付けﾌｧｲﾙのｸﾘｱ(&Q)", "Vla内のｺﾋﾟｰ&ﾍﾟｰｽﾄﾌｧｲﾙ情報をｸﾘｱします"},
    {kGallery, "ｷﾞｬﾗﾘｰ(&G)", "ｷﾞｬﾗﾘｰの表示/未表示の切り替えを行います"},
    {kSaveDisplayed, "表示ｲﾒｰｼﾞで保存(&C)",
     "ﾁｪｯｸ時はｲﾒｰｼﾞ1、2を保存する際に表示されているｲﾒｰｼﾞが保存\nされます(表示ｻｲｽﾞを画像ｻｲｽﾞとする"
     "ﾌｧｲﾙが作成されます)"},
    {kWebPage, "概要-Web(&S)", "Vemla概要のWebｻｲﾄを開きます"},
};

// Quick help of every history item.
inline constexpr const char* kHistoryHelpText =
    "開いたﾌｧｲﾙの履歴が最大で16個の組み合わせで表示されます\n選択することによりその組み合わせでﾌｧｲﾙ"
    "が開きます";

// The entry of `id`, or null for an identifier that is not in the table (history items
// included: their texts are built from the history).
constexpr const CommandText* findCommandText(int id) {
  for (const CommandText& text : kCommandTexts) {
    if (text.id == id) return &text;
  }
  return nullptr;
}

// Quick-help text of a menu item (history items included); null when it has none.
constexpr const char* commandHelpText(int id) {
  if (isHistoryItem(id)) return kHistoryHelpText;
  const CommandText* text = findCommandText(id);
  return text != nullptr ? text->helpText : nullptr;
}

// Submenus of the main menu, which have no identifier of their own.
enum class Submenu {
  ReplaceOne,      // File: 40103, 40104
  Overwrite,       // File: 40008, 40009
  SaveAs,          // File: 40011-40014, 40037
  Reopen,          // File: 40027-40029
  CopyPictures,    // Picture: 40030, 40031
  CopyFromImages,  // Picture: 40015-40020
  GreyScale,       // Picture: 40021, 40022
  Rename,          // Picture: 40088, 40089
};

// Vertical offset of the help pop-up from the cursor: 24 below it normally, -40 (above the
// cursor) for the copy-from-images submenu.
inline constexpr int kMenuHelpOffset = 24;

struct SubmenuText {
  Submenu submenu;
  const char* menuText;
  const char* helpText;
  int helpOffset;
};

inline constexpr SubmenuText kSubmenuTexts[] = {
    {Submenu::ReplaceOne, "1つの画像を入れ替え", "選択された１つの画像を入れ替えます",
     kMenuHelpOffset},
    {Submenu::Overwrite, "上書き保存", "表示中の画像をﾌｧｲﾙに上書き保存します", kMenuHelpOffset},
    {Submenu::SaveAs, "名前を付けて保存(&A)", "表示中の画像やｲﾒｰｼﾞをﾌｧｲﾙに名前を付けて保存します",
     kMenuHelpOffset},
    {Submenu::Reopen, "再度開く(&R)", "表示中の画像ﾌｧｲﾙを再度開きなおします", kMenuHelpOffset},
    {Submenu::CopyPictures, "画像間のｺﾋﾟｰ(&C)", "画像間で内容のｺﾋﾟｰを行います", kMenuHelpOffset},
    {Submenu::CopyFromImages, "ｲﾒｰｼﾞから画像へｺﾋﾟｰ(&I)",
     "ｲﾒｰｼﾞの内容を画像へｺﾋﾟｰします\n繰り返し画像処理を行うような場合に便利です", -40},
    {Submenu::GreyScale, "ｸﾞﾚｰｽｹｰﾙ化(&G)", "画像の持つｶﾗｰをｸﾞﾚｰｽｹｰﾙ化します", kMenuHelpOffset},
    {Submenu::Rename, "ﾀｲﾄﾙ名称の変更(&N)", "画像のﾀｲﾄﾙ名称を変更します", kMenuHelpOffset},
};

constexpr const SubmenuText& submenuText(Submenu submenu) {
  for (const SubmenuText& text : kSubmenuTexts) {
    if (text.submenu == submenu) return text;
  }
  return kSubmenuTexts[0];
}

// Tooltip-style names of the four toolbar-only corner buttons.
inline constexpr const char* kLayoutButtonTexts[4] = {"左上を表示", "右上を表示", "左下を表示",
                                                      "右下を表示"};

// The toolbar from left to right; 0 stands for a separator. While the layout sits in the
// scrolling base window, a separator and the four corner buttons follow.
inline constexpr int kToolbarSeparator = 0;
// clang-format off
inline constexpr std::array<int, 24> kToolbarLayout{
    kOpenTwo, kOpenOne, kOpenArchive, kOverwrite1, kOverwrite2, kToolbarSeparator,
    kEdit1, kEdit2, kPaste, kPasteToPicture1, kPasteToPicture2, kToolbarSeparator,
    kSwap, kImage1ToPicture1, kImage2ToPicture2, kToolbarSeparator,
    kUserProgram, kOptions, kToolbarSeparator,
    kImageScope, kGallery, kQuickHelp, kToolbarSeparator,
    kCalculator};
// clang-format on
inline constexpr std::array<int, 4> kToolbarCornerButtons{kLayoutTopLeft, kLayoutTopRight,
                                                          kLayoutBottomLeft, kLayoutBottomRight};

// Toolbar buttons that show a checked state.
constexpr bool isToolbarCheckButton(int id) {
  return id == kImageScope || id == kGallery || id == kQuickHelp;
}

}  // namespace vemla
