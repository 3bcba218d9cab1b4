#pragma once
// Message texts of the gallery and the archive file, shared by the windows, vemla-cli and the
// tests. They are marked for the catalogue and translated where they are shown.
#include "text/translate.h"

namespace vemla::msg {

// The word shown for a slot without a title. A picture taken from an untitled archive item is
// named with it as it stands, and that name may become a slot's title: so it is stored
// untranslated.
inline constexpr const char* kUntitled = text::N_("名無しさん");

// Start-up sizing and repair.
inline constexpr const char* kGalleryReduced =
    text::N_("資源(ﾒﾓﾘ)が不足しているためｷﾞｬﾗﾘｰ\nの最大数を %d へ変更しました");
inline constexpr const char* kGalleryUnavailable =
    text::N_("資源(ﾒﾓﾘ)が不足しているためｷﾞｬﾗﾘｰの機能は使用できません");
inline constexpr const char* kGalleryRepaired =
    text::N_("ｷﾞｬﾗﾘｰ情報に矛盾がある箇所を「空き」に変更しました");

// Slots.
inline constexpr const char* kGalleryStoreFailed = text::N_("ｷﾞｬﾗﾘｰの退避に失敗しました");
inline constexpr const char* kGalleryReadFailed = text::N_("ｷﾞｬﾗﾘｰの読み込みに失敗しました");
inline constexpr const char* kGalleryNoMemory = text::N_("資源(ﾒﾓﾘ)が不足しています");
inline constexpr const char* kClearSlotQuestion = text::N_("ｸﾘｱしてもよいですか(#%d)");
inline constexpr const char* kClearAllQuestion =
    text::N_("全てのｷﾞｬﾗﾘｰ情報がｸﾘｱされますがよいですか");
// The titles given to a copied image and to an RGB combination are stored in the slot's
// record, as the operator's own titles are: they stay as they are in every language.
inline constexpr const char* kImageCopyTitle = "ｲﾒｰｼﾞ%dよりｺﾋﾟｰ";
inline constexpr const char* kCopyTooSmall =
    text::N_("画像のｻｲｽﾞが %dx%d 以上でないとｺﾋﾟｰできません");
inline constexpr const char* kCopyTooLarge = text::N_("画像のｻｲｽﾞが最大ｻｲｽﾞ(%dx%d)を超えています");

// Operations between slots and on a slot's content.
inline constexpr const char* kTransferFailed = text::N_("ﾃﾞｰﾀの退避に失敗しました");
inline constexpr const char* kGreyScaleQuestion = text::N_("ｸﾞﾚｰｽｹｰﾙ化してもよいですか(#%d)");
inline constexpr const char* kDataReadFailed = text::N_("ﾃﾞｰﾀの読み込みに失敗しました");
inline constexpr const char* kPictureDataSaveFailed = text::N_("画像ﾃﾞｰﾀの保存に失敗しました");
inline constexpr const char* kPictureDataReadFailed = text::N_("画像ﾃﾞｰﾀの読み込みに失敗しました");
inline constexpr const char* kRgbSizesDiffer = text::N_("指定ｷﾞｬﾗﾘｰの画像ｻｲｽﾞが異なります");
inline constexpr const char* kFileWriteFailed = text::N_("ﾌｧｲﾙの書き込みに失敗しました");
inline constexpr const char* kAssociationBadExtension =
    text::N_("拡張子またはﾌｧｲﾙ名に矛盾があるため関連付けできません");
inline constexpr const char* kDissociateQuestion =
    text::N_("拡張子(%s)は以下の実行ﾌｧｲﾙへ関連付けされていますが解除しますか？\n[%s]");
inline constexpr const char* kDataNameUnusable =
    text::N_("拡張子またはﾌｧｲﾙ名に矛盾があるため開けません");
inline constexpr const char* kApplicationFailed = text::N_("ｱﾌﾟﾘｹｰｼｮﾝの起動に失敗しました");
inline constexpr const char* kDataLimitExceeded = text::N_("ﾃﾞｰﾀの最大許容ｻｲｽﾞを超えました");
inline constexpr const char* kUpdateFailed = text::N_("更新ﾃﾞｰﾀの反映に失敗しました");
inline constexpr const char* kRgbTitle = "RGB結合の結果(R:%d-G:%d-B:%d)";

// Backup and restore around an edit.
inline constexpr const char* kBackupFailed = text::N_("ｷﾞｬﾗﾘｰ情報の退避に失敗しました");
inline constexpr const char* kRestoreFailed = text::N_("ｷﾞｬﾗﾘｰ情報の回復に失敗しました");
inline constexpr const char* kEditDiscardQuestion =
    text::N_("編集した情報が失われますが良いですか？");

// Saving slots into an archive.
inline constexpr const char* kSaveProgress = text::N_("ｷﾞｬﾗﾘｰの保存中・・・");
inline constexpr const char* kSaveFailedCode = text::N_("ｷﾞｬﾗﾘｰの退避に失敗しました(%d)");
inline constexpr const char* kSaveLimitWarning =
    text::N_("（警告）VLAﾌｧｲﾙの管理情報上限数(%d)を超えたので全てが保存されていません\n");
inline constexpr const char* kSaveOverWarning =
    text::N_("（警告）ｻｲｽﾞが許容範囲外の情報は保存されていません");
inline constexpr const char* kArchiveDialogBusy = text::N_("現在ＶｅｍＬＡファイルの選択中です");

// Expanding archive items into the gallery.
inline constexpr const char* kExpandProgress = text::N_("ｷﾞｬﾗﾘｰへの展開中・・・");
inline constexpr const char* kExpandFullWarning =
    text::N_("（警告）ｷﾞｬﾗﾘｰの最大数に達したため全ては展開されていません\n");
inline constexpr const char* kExpandOverWarning =
    text::N_("（警告）ｻｲｽﾞが許容範囲外の情報は展開されていません");
inline constexpr const char* kNotArchive = text::N_("VemLAﾌｫｰﾏｯﾄﾌｧｲﾙではありません");
inline constexpr const char* kExpandFailed = text::N_("ｷﾞｬﾗﾘｰの展開に失敗しました");

// Opening an archive as pictures.
inline constexpr const char* kNumberMissing = text::N_("指定された番号の情報が存在しない");
inline constexpr const char* kNumber1NotPicture = text::N_("番号１の情報が画像でない");
inline constexpr const char* kNumber1OutOfRange = text::N_("番号１のｻｲｽﾞが許容範囲を超えた");
inline constexpr const char* kNumber2NotPicture = text::N_("番号２の情報が画像でない");
inline constexpr const char* kNumber2OutOfRange = text::N_("番号２のｻｲｽﾞが許容範囲を超えた");
inline constexpr const char* kNumbersDiffer = text::N_("番号１と番号２のｻｲｽﾞが異なる");
inline constexpr const char* kOptionNumbersInconsistent = text::N_(
    "指定されている画像番号に矛盾があるため画像は展開されません\n  ※%s\n"
    "「ｵﾌﾟｼｮﾝ情報-ﾌｧｲﾙ関連-VemLAﾌｧｲﾙ情報」を確認して下さい\n\n"
    "　　　　　　開く画像を選択し直しますか？");
inline constexpr const char* kChosenNotPicture = text::N_("指定された情報が画像情報ではありません");
inline constexpr const char* kChosenOutOfRange =
    text::N_("指定された画像情報がサイズ許容範囲外です(%dx%d～%dx%d)");
inline constexpr const char* kChosenSizesDiffer =
    text::N_("指定された２つの画像情報のサイズが異なります");
inline constexpr const char* kArchivePictureReadFailed =
    text::N_("VemLAﾌｧｲﾙから画像情報の読み込みに失敗しました");

// List lines of slots and archive items.
inline constexpr const char* kListPicture = text::N_("#%-2d (画像) %s (%s%dx%d)");
inline constexpr const char* kListData = text::N_("#%-2d (ﾃﾞｰﾀ) %s (%dﾊﾞｲﾄ)");
inline constexpr const char* kListOverData = text::N_("#%-2d (Over) %s (%dﾊﾞｲﾄ)");
inline constexpr const char* kListOverPicture = "#%-2d (Over) %s (%s%dx%d)";
inline constexpr const char* kListEmpty = text::N_("#%-2d (空き)");
inline constexpr const char* kTrueColourMark = "T ";

}  // namespace vemla::msg
