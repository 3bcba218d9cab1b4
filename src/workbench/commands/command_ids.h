#pragma once
// The command identifiers of the main window's menu and toolbar and the history items of the
// File menu. They are the system's own menu identifiers; everything else about a command is in
// its row of the command table (command_table.h).

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
  // Commands of our own have identifiers after the 40001-40117 block, in 40201-40299.
  kFirstOwnCommand = 40201,
  kLastOwnCommand = 40299,
  // The comparison views of the image panes.
  kBlinkImage1 = 40201,
  kBlinkImage2 = 40202,
  kSwipeImage1 = 40203,
  kSwipeImage2 = 40204,
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

}  // namespace vemla
