#include "windows/gallery/rgb_combine_dialog.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <array>

#include "gallery/gallery.h"
#include "text/translate.h"
#include "windows/main/ui_text.h"
#include "workbench/gallery/gallery_slots.h"
#include "workbench/gallery/slot_operations.h"

namespace vemla {

using text::N_;

void runRgbCombineDialog(QWidget* parent, Workbench& bench, UserPort& user, int slot) {
  QDialog dialog(parent);
  dialog.setObjectName("RgbCombine");
  dialog.setWindowTitle(ui(N_("RGB結合(#%1)")).arg(slot + 1));
  auto* form = new QFormLayout(&dialog);
  std::array<QComboBox*, 3> channels{};
  const std::array<const char*, 3> labels{N_("Ｒ"), N_("Ｇ"), N_("Ｂ")};
  const persist::HeldGallery* gallery = liveGallery(bench);
  for (std::size_t i = 0; i < channels.size(); ++i) {
    channels[i] = new QComboBox(&dialog);
    for (int other = 0; other < galleryCount(bench); ++other) {
      const persist::GallerySlot& record =
          gallery->info.slotRecords[static_cast<std::size_t>(other)];
      if (record.kind == kSlotPicture && record.trueColourCode == 0) {
        channels[i]->addItem(QString("#%1").arg(other + 1), other);
      }
    }
    form->addRow(ui(labels[i]), channels[i]);
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  form->addRow(buttons);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
    // Different sizes are told and the dialog stays for another choice.
    if (combineSlotsRgb(bench, user, slot, channels[0]->currentData().toInt(),
                        channels[1]->currentData().toInt(),
                        channels[2]->currentData().toInt()) != kSlotAbandoned) {
      dialog.accept();
    }
  });
  dialog.exec();
}

}  // namespace vemla
