#pragma once
// Message texts of the gallery and the archive file, shared by the windows, vemla-cli and the
// tests.
namespace vemla::msg {

inline constexpr const char* kUntitled = "名無しさん";

// Start-up sizing and repair.
inline constexpr const char* kGalleryReduced =
    "資源(ﾒﾓﾘ)が不足しているためｷﾞｬﾗﾘｰ\nの最大数を %d へ変更しました";
inline constexpr const char* kGalleryUnavailable =
    "資源(ﾒﾓﾘ)が不足しているためｷﾞｬﾗﾘｰの機能は使用できません";
inline constexpr const char* kGalleryRepaired =
    "ｷﾞｬﾗﾘｰ情報に矛盾がある箇所を「空き」に変更しました";

// Slots.
inline constexpr const char* kGalleryStoreFailed = "ｷﾞｬﾗﾘｰの退避に失敗しました";
inline constexpr const char* kGalleryReadFailed = "ｷﾞｬﾗﾘｰの読み込みに失敗しました";
inline constexpr const char* kGalleryNoMemory = "資源(ﾒﾓﾘ)が不足しています";
inline constexpr const char* kClearSlotQuestion = "ｸﾘｱしてもよいですか(#%d)";
inline constexpr const char* kClearAllQuestion = "全てのｷﾞｬﾗﾘｰ情報がｸﾘｱされますがよいですか";
inline constexpr const char* kImageCopyTitle = "ｲﾒｰｼﾞ%dよりｺﾋﾟｰ";
inline constexpr const char* kCopyTooSmall = "画像のｻｲｽﾞが %dx%d 以上でないとｺﾋﾟｰできません";
inline constexpr const char* kCopyTooLarge = "画像のｻｲｽﾞが最大ｻｲｽﾞ(%dx%d)を超えています";

// Operations between slots and on a slot's content.
inline constexpr const char* kTransferFailed = "ﾃﾞｰﾀの退避に失敗しました";
inline constexpr const char* kGreyScaleQuestion = "ｸﾞﾚｰｽｹｰﾙ化してもよいですか(#%d)";
inline constexpr const char* kDataReadFailed = "ﾃﾞｰﾀの読み込みに失敗しました";
inline constexpr const char* kPictureDataSaveFailed = "画像ﾃﾞｰﾀの保存に失敗しました";
inline constexpr const char* kPictureDataReadFailed = "画像ﾃﾞｰﾀの読み込みに失敗しました";
inline constexpr const char* kRgbSizesDiffer = "指定ｷﾞｬﾗﾘｰの画像ｻｲｽﾞが異なります";
inline constexpr const char* kFileWriteFailed = "ﾌｧｲﾙの書き込みに失敗しました";
inline constexpr const char* kAssociationBadExtension =
    "拡張子またはﾌｧｲﾙ名に矛盾があるため関連付けできません";
inline constexpr const char* kDissociateQuestion =
    "拡張子(%s)は以下の実行ﾌｧｲﾙへ関連付けされていますが解除しますか？\n[%s]";
inline constexpr const char* kDataNameUnusable = "拡張子またはﾌｧｲﾙ名に矛盾があるため開けません";
inline constexpr const char* kApplicationFailed = "ｱﾌﾟﾘｹｰｼｮﾝの起動に失敗しました";
inline constexpr const char* kDataLimitExceeded = "ﾃﾞｰﾀの最大許容ｻｲｽﾞを超えました";
inline constexpr const char* kUpdateFailed = "更新ﾃﾞｰﾀの反映に失敗しました";
inline constexpr const char* kRgbTitle = "RGB結合の結果(R:%d-G:%d-B:%d)";


// Backup and restore around an edit.
inline constexpr const char* kBackupFailed = "ｷﾞｬﾗﾘｰ情報の退避に失敗しました";
inline constexpr const char* kRestoreFailed = "ｷﾞｬﾗﾘｰ情報の回復に失敗しました";
inline constexpr const char* kEditDiscardQuestion = "編集した情報が失われますが良いですか？";

// Saving slots into an archive.
inline constexpr const char* kSaveProgress = "ｷﾞｬﾗﾘｰの保存中・・・";
inline constexpr const char* kSaveFailedCode = "ｷﾞｬﾗﾘｰの退避に失敗しました(%d)";
inline constexpr const char* kSaveLimitWarning =
    "（警告）VLAﾌｧｲﾙの管理情報上限数(%d)を超えたので全てが保存されていません\n";
inline constexpr const char* kSaveOverWarning =
    "（警告）ｻｲｽﾞが許容範囲外の情報は保存されていません";
inline constexpr const char* kArchiveDialogBusy = "現在ＶｅｍＬＡファイルの選択中です";

// Expanding archive items into the gallery.
inline constexpr const char* kExpandProgress = "ｷﾞｬﾗﾘｰへの展開中・・・";
inline constexpr const char* kExpandFullWarning =
    "（警告）ｷﾞｬﾗﾘｰの最大数に達したため全ては展開されていません\n";
inline constexpr const char* kExpandOverWarning =
    "（警告）ｻｲｽﾞが許容範囲外の情報は展開されていません";
inline constexpr const char* kNotArchive = "VemLAﾌｫｰﾏｯﾄﾌｧｲﾙではありません";
inline constexpr const char* kExpandFailed = "ｷﾞｬﾗﾘｰの展開に失敗しました";

// Opening an archive as pictures.
inline constexpr const char* kNumberMissing = "指定された番号の情報が存在しない";
inline constexpr const char* kNumber1NotPicture = "番号１の情報が画像でない";
inline constexpr const char* kNumber1OutOfRange = "番号１のｻｲｽﾞが許容範囲を超えた";
inline constexpr const char* kNumber2NotPicture = "番号２の情報が画像でない";
inline constexpr const char* kNumber2OutOfRange = "番号２のｻｲｽﾞが許容範囲を超えた";
inline constexpr const char* kNumbersDiffer = "番号１と番号２のｻｲｽﾞが異なる";
inline constexpr const char* kOptionNumbersInconsistent =
    "指定されている画像番号に矛盾があるため画像は展開されません\n  ※%s\n"
    "「ｵﾌﾟｼｮﾝ情報-ﾌｧｲﾙ関連-VemLAﾌｧｲﾙ情報」を確認して下さい\n\n"
    "　　　　　　開く画像を選択し直しますか？";
inline constexpr const char* kChosenNotPicture = "指定された情報が画像情報ではありません";
inline constexpr const char* kChosenOutOfRange =
    "指定された画像情報がサイズ許容範囲外です(%dx%d～%dx%d)";
inline constexpr const char* kChosenSizesDiffer = "指定された２つの画像情報のサイズが異なります";
inline constexpr const char* kArchivePictureReadFailed =
    "VemLAﾌｧｲﾙから画像情報の読み込みに失敗しました";

// List lines of slots and archive items.
inline constexpr const char* kListPicture = "#%-2d (画像) %s (%s%dx%d)";
inline constexpr const char* kListData = "#%-2d (ﾃﾞｰﾀ) %s (%dﾊﾞｲﾄ)";
inline constexpr const char* kListOverData = "#%-2d (Over) %s (%dﾊﾞｲﾄ)";
inline constexpr const char* kListOverPicture = "#%-2d (Over) %s (%s%dx%d)";
inline constexpr const char* kListEmpty = "#%-2d (空き)";
inline constexpr const char* kTrueColourMark = "T ";

}  // namespace vemla::msg
