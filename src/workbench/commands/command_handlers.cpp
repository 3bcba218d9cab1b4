#include "workbench/commands/command_handlers.h"

#include <array>

#include "persist/exchange_file.h"
#include "picture/file_names.h"
#include "picture/picture_file.h"
#include "picture/picture_writing.h"
#include "processing/manual_shift.h"
#include "text/translate.h"
#include "workbench/commands/file_history.h"
#include "workbench/editing/picture_rename.h"
#include "workbench/picture/picture_commands.h"
#include "workbench/settings/settings_session.h"
#include "workbench/view/colour_controls.h"
#include "workbench/view/display_marks.h"

namespace vemla {
namespace {

using text::N_;

constexpr const auto& kOpenFilters = kOpenPictureFilters;
constexpr const char* kTooManyFiles = N_("指定のﾌｧｲﾙ数が多すぎます");
constexpr std::array<const char*, 2> kReplaceTitles{N_("画像ﾌｧｲﾙの選択 (1)へ入れ替え"),
                                                    N_("画像ﾌｧｲﾙの選択 (2)へ入れ替え")};
constexpr std::array<const char*, 2> kSavePictureTitles{N_("名前を付けて保存（画像１）"),
                                                        N_("名前を付けて保存（画像２）")};
constexpr std::array<const char*, 2> kSaveImageTitles{N_("名前を付けて保存（イメージ１）"),
                                                      N_("名前を付けて保存（イメージ２）")};

LastFiles& lastFiles(CommandContext& context) {
  return context.bench.shell.lastFiles;
}

// `names` are opened as `mode` says, and the combination enters the history.
void openNames(CommandContext& context, const std::array<std::string, 2>& names, OpenMode mode) {
  openPictureNames(context.bench, context.user, context.busy, context.progress, names, mode, true);
}

void openArchiveFile(CommandContext& context, const std::string& path) {
  openArchiveAsPictures(context.bench, context.user, context.progress, context.busy, context.host,
                        path, true);
}

void askAndRun(CommandContext& context, const char* question, void (*action)(CommandContext&)) {
  if (context.user.askYesNo(text::tr(question))) action(context);
}

}  // namespace

void openTwoByDialog(CommandContext& context) {
  // The files chosen, in order: one more is asked for when only one was chosen.
  std::vector<std::string> files =
      context.host.chooseFilesToOpen(N_("画像１－画像２ﾌｧｲﾙの選択"), kOpenFilters, true,
                                     lastFiles(context).openPicture[index(PictureSlot::First)]);
  if (files.empty()) return;
  if (files.size() > 2) {
    context.user.tell(Icon::Warning, text::tr(kTooManyFiles));
    return;
  }
  if (nameEndsWithExtension(files.front(), ".vla")) {
    openArchiveFile(context, files.front());
    return;
  }
  if (files.size() == 1) {
    const std::vector<std::string> second =
        context.host.chooseFilesToOpen(N_("画像２ﾌｧｲﾙの選択"), kOpenFilters, false,
                                       lastFiles(context).openPicture[index(PictureSlot::Second)]);
    if (second.empty()) return;
    files.push_back(second.front());
  }
  openNames(context, {files.front(), files.back()}, OpenMode::Both);
}

void openOneByDialog(CommandContext& context) {
  const std::vector<std::string> files =
      context.host.chooseFilesToOpen(N_("画像ﾌｧｲﾙの選択"), kOpenFilters, false,
                                     lastFiles(context).openPicture[index(PictureSlot::First)]);
  if (files.empty()) return;
  openNames(context, {files.front(), std::string()}, OpenMode::Both);
}

void replaceByDialog(CommandContext& context, PictureSlot picture) {
  const std::vector<std::string> files =
      context.host.chooseFilesToOpen(kReplaceTitles[index(picture)], kOpenFilters, false,
                                     lastFiles(context).openPicture[index(picture)]);
  if (files.empty()) return;
  std::array<std::string, 2> names = pictureNames(context.bench.pictures);
  names[index(picture)] = files.front();
  openNames(context, names, openingOnly(picture));
}

void savePictureByDialog(CommandContext& context, PictureSlot picture) {
  const std::string path = context.host.chooseFileToSave(
      kSavePictureTitles[index(picture)], kSavePictureFilters, lastFiles(context).saveAs);
  if (!path.empty()) savePictureAs(context.bench, context.user, picture, path);
}

void saveImageByDialog(CommandContext& context, ImageSlot image) {
  const std::string path = context.host.chooseFileToSave(
      kSaveImageTitles[index(image)], kSavePictureFilters, lastFiles(context).saveAs);
  if (!path.empty()) saveImageAs(context.bench, context.user, image, path);
}

void pasteFromClipboard(CommandContext& context, std::optional<PictureSlot> into) {
  const PasteDecision decision =
      pasteDecision(context.host.clipboardFiles(), into, pictureNames(context.bench.pictures));
  switch (decision.action) {
    case PasteDecision::Action::Nothing:
      break;
    case PasteDecision::Action::OpenArchive:
      openArchiveFile(context, decision.archivePath);
      break;
    case PasteDecision::Action::OpenPictures:
      openNames(context, decision.names, decision.mode);
      break;
  }
}

void renameByDialog(CommandContext& context, PictureSlot picture) {
  if (const std::optional<std::string> text = context.host.askPictureName(picture)) {
    setPseudoName(context.bench, picture, *text, context.user);
  }
}

void clearHistoryAfterAsking(CommandContext& context) {
  askAndRun(context, N_("ﾌｧｲﾙの履歴をｸﾘｱしてもよいですか"), [](CommandContext& c) {
    clearHistory(c.bench.shell.fileHistory);
    persist::saveUserInfoNow(c.bench, c.user);
  });
}

void clearShiftMarksAfterAsking(CommandContext& context) {
  askAndRun(context, N_("手動ｼﾌﾄのﾏｰｸ情報をｸﾘｱしてもよいですか"), [](CommandContext& c) {
    clearMarks(c.bench.control);
    c.bench.notifyPanesChanged();
  });
}

void resetColoursAfterAsking(CommandContext& context) {
  askAndRun(context,
            N_("ｲﾒｰｼﾞとｶﾗｰの関連付けや各ｶﾗｰでの表示強度及び輝度を\n"
               "ﾌﾟﾛｸﾞﾗﾑの既定値で初期化してもよいですか"),
            [](CommandContext& c) { resetColourSelections(c.bench); });
}

void clearDisplayMarksAfterAsking(CommandContext& context) {
  askAndRun(context, N_("表示位置のﾏｰｸ情報をｸﾘｱしてもよいですか"),
            [](CommandContext& c) { clearDisplayMarks(c.bench); });
}

void clearExchangeFileAfterAsking(CommandContext& context) {
  askAndRun(context, N_("Vla内ｺﾋﾟｰ&ﾍﾟｰｽﾄﾌｧｲﾙ情報をｸﾘｱしてもよいですか"),
            [](CommandContext& c) { persist::deleteExchangeFile(c.bench.settings.folder); });
}

std::string memoPath(const Workbench& bench) {
  const std::string& memo = bench.options.MemoFile;
  if (!memo.empty() && memo.front() != '/') return bench.settings.folder + "/" + memo;
  return memo;
}

}  // namespace vemla
