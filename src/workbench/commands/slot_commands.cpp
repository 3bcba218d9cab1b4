#include "workbench/commands/slot_commands.h"

#include <algorithm>
#include <array>

#include "gallery/gallery.h"
#include "text/translate.h"
#include "workbench/gallery/gallery_slots.h"
#include "workbench/picture/picture_commands.h"

namespace vemla {
namespace {

using text::N_;

const persist::GallerySlot* recordOf(const Workbench& bench, int slot) {
  const persist::HeldGallery* gallery = liveGallery(bench);
  if (gallery == nullptr || slot < 0 || slot >= galleryCount(bench)) return nullptr;
  return &gallery->info.slotRecords[static_cast<std::size_t>(slot)];
}

// A data item whose title ends in ".exe" (any case) runs as a program.
bool isProgram(const persist::GallerySlot& record) {
  if (record.kind != kSlotData) return false;
  std::string extension = titleExtension(record.title);
  std::ranges::transform(extension, extension.begin(),
                         [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
  return extension == "exe";
}

// The first item: the viewer for a picture, data opened with its application (or run).
SlotLabel viewLabel(const persist::GallerySlot& record) {
  if (record.kind == kSlotPicture) return {N_("Ｖｉｅｗ"), N_("画像をViewで表示します")};
  if (isProgram(record)) {
    return {N_("ｱﾌﾟﾘｹｰｼｮﾝの実行"), N_("ﾃﾞｰﾀをｱﾌﾟﾘｹｰｼｮﾝとして実行します")};
  }
  return {N_("ｱﾌﾟﾘｹｰｼｮﾝから開く"), N_("ﾃﾞｰﾀを関連付けされたｱﾌﾟﾘｹｰｼｮﾝで開きます")};
}

// ---- Rules ----

template <SlotMenuItem Item>
bool rule(const SlotCall& call) {
  return slotMenuItemEnabled(call.bench, call.slot, Item);
}

bool viewable(const SlotCall& call) {
  const persist::GallerySlot* record = recordOf(call.bench, call.slot);
  return rule<SlotMenuItem::View>(call) &&
         (record->kind == kSlotData || call.host.viewerAvailable());
}

bool closingAfterCopy(const SlotCall& call) {
  return call.host.closeAfterCopy();
}

// ---- Handlers ----

void view(SlotCall& call) {
  if (recordOf(call.bench, call.slot)->kind == kSlotPicture) {
    if (call.host.viewerAvailable()) call.host.viewSlot(call.slot);
  } else if (const std::optional<DataOpening> opening =
                 openSlotData(call.bench, call.user, call.slot)) {
    call.host.openData(call.slot, *opening);
  }
}

void openFile(SlotCall& call) {
  const std::string name = call.host.chooseFileToLoad(call.slot);
  if (!name.empty()) storeFileInSlot(call.bench, call.user, call.slot, name);
}

void saveAs(SlotCall& call) {
  const std::string name = call.host.chooseSaveName(call.slot, *recordOf(call.bench, call.slot));
  if (!name.empty()) saveSlotAs(call.bench, call.user, call.slot, name);
}

// An operation of the slot alone.
template <auto Operation>
void onSlot(SlotCall& call) {
  Operation(call.bench, call.user, call.slot);
}

void rgbCombine(SlotCall& call) {
  call.host.combineRgb(call.slot);
}

void rename(SlotCall& call) {
  call.host.editTitle(call.slot);
}

void associate(SlotCall& call) {
  std::optional<AssociationChoice> choice = associationChoice(call.bench, call.user, call.slot);
  if (!choice) return;
  if (choice->entry < 0) {
    std::vector<std::string> used;
    for (const persist::ExtensionAssociation& entry : call.bench.settings.associations) {
      used.push_back(entry.extension);
    }
    const std::optional<int> replaced = call.host.chooseAssociationToReplace(used);
    if (!replaced) return;
    choice->entry = *replaced;
  }
  const std::string application =
      call.host.chooseApplication(choice->extension, choice->application);
  if (!application.empty()) {
    storeAssociation(call.bench, call.user, choice->entry, choice->extension, application);
  }
}

template <PictureSlot Picture>
void copyToPicture(SlotCall& call) {
  call.host.copyToPicture(call.slot, Picture);
  if (call.fromSmallForm && call.host.closeAfterCopy()) call.host.hideGallery();
}

void toggleCloseAfterCopy(SlotCall& call) {
  call.host.setCloseAfterCopy(!call.host.closeAfterCopy());
}

template <PictureSlot Picture>
void copyFromPicture(SlotCall& call) {
  storeWorkbenchPictureInSlot(call.bench, call.user, call.slot, Picture);
}

template <ImageSlot Image>
void copyFromImage(SlotCall& call) {
  storeImageInSlot(call.bench, call.user, call.slot, Image, imageDisplayPalette(call.bench, Image));
}

// The clipboard's first file, or all of them from this slot on.
template <bool Continuous>
void pasteFiles(SlotCall& call) {
  storeFilesInSlots(call.bench, call.user, call.slot, call.host.clipboardFiles(), Continuous);
}

template <bool Cut>
void toExchange(SlotCall& call) {
  copySlotToExchange(call.bench, call.user, call.slot, Cut);
}

using S = SlotCommand;
using I = SlotMenuItem;
using F = SlotForms;
// clang-format off
constexpr SlotCommandRow kSlotCommands[] = {
    {S::View, nullptr, nullptr, false, viewable, nullptr, view, F::Both, nullptr, viewLabel},
    // Loading a file and editing the title need the normal form's controls.
    {S::OpenFile, N_("ﾌｧｲﾙから開く"), N_("ﾌｧｲﾙからｷﾞｬﾗﾘｰに読み込みます"), false,
     rule<I::PasteFiles>, nullptr, openFile, F::NormalOnly},
    {S::SaveAs, N_("名前を付けて保存"),
     N_("ｷﾞｬﾗﾘｰの内容をﾌｧｲﾙに保存します\n画像はﾋﾞｯﾄﾏｯﾌﾟまたはRAWﾌｧｲﾙ、ﾃﾞｰﾀはそのままの内容です"),
     false, rule<I::SaveAs>, nullptr, saveAs},
    {S::Clear, N_("クリア"), N_("ｷﾞｬﾗﾘｰを空きにします"), true, rule<I::Clear>, nullptr,
     onSlot<clearSlot>},
    {S::GreyScale, N_("ｸﾞﾚｰｽｹｰﾙ化"), N_("ｶﾗｰﾊﾟﾚｯﾄをｸﾞﾚｰに戻します(画素の値は変わりません)"), false,
     rule<I::GreyScale>, nullptr, onSlot<greyScaleSlot>},
    {S::ToPicture, N_("画像情報化"), N_("ﾃﾞｰﾀを指定したｻｲｽﾞと開始位置のRAW画像として扱います"),
     false, rule<I::ToPicture>, nullptr, onSlot<slotDataToPicture>},
    {S::ToData, N_("ﾃﾞｰﾀ情報化"), N_("画像をﾃﾞｰﾀとして扱います(内容は変わりません)"), false,
     rule<I::ToData>, nullptr, onSlot<slotPictureToData>},
    {S::RgbCombine, N_("ＲＧＢ結合"), N_("３つの256色画像をR,G,BとしてTrueColorの画像を作ります"),
     false, rule<I::RgbCombine>, nullptr, rgbCombine},
    {S::Rename, N_("ﾀｲﾄﾙの変更"), N_("ｷﾞｬﾗﾘｰのﾀｲﾄﾙを変更します"), true, rule<I::Rename>, nullptr,
     rename, F::NormalOnly},
    {S::Associate, N_("関連付け"),
     N_("ﾃﾞｰﾀの拡張子に開くｱﾌﾟﾘｹｰｼｮﾝを指定します(ｼｽﾃﾑの関連付けより優先されます)"), false,
     rule<I::Associate>, nullptr, associate},
    {S::Dissociate, N_("関連付け解除"), N_("拡張子の関連付けを解除します"), false,
     rule<I::Dissociate>, nullptr, onSlot<removeAssociation>},
    {S::ApplyUpdate, N_("更新ﾃﾞｰﾀの反映"), N_("ｱﾌﾟﾘｹｰｼｮﾝで変更したﾃﾞｰﾀをｷﾞｬﾗﾘｰに戻します"), false,
     rule<I::ApplyUpdate>, nullptr, onSlot<applyDataUpdate>},
    {S::Transfer, N_("変更"), N_("他のｷﾞｬﾗﾘｰへのｺﾋﾟｰ、移動、入れ替えを行います")},
    {S::CopyToPicture1, N_("画像１へコピー"), N_("ｷﾞｬﾗﾘｰの画像を画像１にｺﾋﾟｰします"), true,
     rule<I::CopyToPicture>, nullptr, copyToPicture<PictureSlot::First>},
    {S::CopyToPicture2, N_("画像２へコピー"), N_("ｷﾞｬﾗﾘｰの画像を画像２にｺﾋﾟｰします"), false,
     rule<I::CopyToPicture>, nullptr, copyToPicture<PictureSlot::Second>},
    {S::CloseAfterCopy, N_("ｺﾋﾟｰ後ｳｨﾝﾄﾞｳを閉じる"),
     N_("画像１または２へｺﾋﾟｰした後、ｷﾞｬﾗﾘｰのｳｨﾝﾄﾞｳを閉じます"), false, nullptr, closingAfterCopy,
     toggleCloseAfterCopy, F::SmallOnly, "closeAfterCopy"},
    {S::CopyFromPicture1, N_("画像１からコピー"), N_("画像１をｷﾞｬﾗﾘｰにｺﾋﾟｰします"), true,
     rule<I::CopyFromPictures>, nullptr, copyFromPicture<PictureSlot::First>},
    {S::CopyFromPicture2, N_("画像２からコピー"), N_("画像２をｷﾞｬﾗﾘｰにｺﾋﾟｰします"), false,
     rule<I::CopyFromPictures>, nullptr, copyFromPicture<PictureSlot::Second>},
    {S::CopyFromImage1, N_("ｲﾒｰｼﾞ1からコピー"), N_("ｲﾒｰｼﾞ１をｷﾞｬﾗﾘｰにｺﾋﾟｰします"), false,
     rule<I::CopyFromPictures>, nullptr, copyFromImage<ImageSlot::First>},
    {S::CopyFromImage2, N_("ｲﾒｰｼﾞ2からコピー"), N_("ｲﾒｰｼﾞ２をｷﾞｬﾗﾘｰにｺﾋﾟｰします"), false,
     rule<I::CopyFromPictures>, nullptr, copyFromImage<ImageSlot::Second>},
    {S::PasteOne, N_("貼り付け(単独)"), N_("ｸﾘｯﾌﾟﾎﾞｰﾄﾞにあるﾌｧｲﾙの先頭をｷﾞｬﾗﾘｰに読み込みます"), true,
     rule<I::PasteFiles>, nullptr, pasteFiles<false>},
    {S::PasteAll, N_("貼り付け(連続)"),
     N_("ｸﾘｯﾌﾟﾎﾞｰﾄﾞにあるﾌｧｲﾙをこのｷﾞｬﾗﾘｰから順に読み込みます"), false, rule<I::PasteFiles>,
     nullptr, pasteFiles<true>},
    {S::CutInternal, N_("切り取り(Vla内)"),
     N_("ｷﾞｬﾗﾘｰの内容をVla内貼り付けﾌｧｲﾙへ移し、ｷﾞｬﾗﾘｰを空きにします"), true,
     rule<I::CutCopyInternal>, nullptr, toExchange<true>},
    {S::CopyInternal, N_("コピー　　(Vla内)"),
     N_("ｷﾞｬﾗﾘｰの内容をVla内貼り付けﾌｧｲﾙへｺﾋﾟｰします\n他に起動しているVemlaとも受け渡しができま"
        "す"),
     false, rule<I::CutCopyInternal>, nullptr, toExchange<false>},
    {S::PasteInternal, N_("貼り付け(Vla内)"), N_("Vla内貼り付けﾌｧｲﾙの内容をｷﾞｬﾗﾘｰに読み込みます"),
     false, rule<I::PasteInternal>, nullptr, onSlot<pasteExchangeToSlot>},
};
// clang-format on

constexpr SlotTransferMode kTransferModes[] = {
    {SlotTransfer::Copy, N_("ｺﾋﾟｰ")},
    {SlotTransfer::Move, N_("移動")},
    {SlotTransfer::Swap, N_("入れ替え")},
};

}  // namespace

std::span<const SlotCommandRow> slotCommandTable() {
  return kSlotCommands;
}

const SlotCommandRow& slotCommandRow(SlotCommand command) {
  return *std::ranges::find(kSlotCommands, command, &SlotCommandRow::command);
}

SlotLabel slotCommandLabel(const SlotCommandRow& row, const persist::GallerySlot& record) {
  return row.label != nullptr ? row.label(record) : SlotLabel{row.text, row.help};
}

bool slotCommandEnabled(const SlotCommandRow& row, const SlotCall& call) {
  return recordOf(call.bench, call.slot) != nullptr &&
         (row.enabled == nullptr || row.enabled(call));
}

bool slotCommandChecked(const SlotCommandRow& row, const SlotCall& call) {
  return row.checked != nullptr && row.checked(call);
}

void runSlotCommand(SlotCommand command, SlotCall& call) {
  const SlotCommandRow& row = slotCommandRow(command);
  if (row.run != nullptr && recordOf(call.bench, call.slot) != nullptr) row.run(call);
}

std::span<const SlotTransferMode> slotTransferModes() {
  return kTransferModes;
}

std::vector<std::pair<int, std::string>> slotTransferTargets(const Workbench& bench, int slot) {
  std::vector<std::pair<int, std::string>> targets;
  for (int other = 0; other < galleryCount(bench); ++other) {
    if (other != slot)
      targets.emplace_back(other, slotListLine(other, *recordOf(bench, other), true));
  }
  return targets;
}

}  // namespace vemla
