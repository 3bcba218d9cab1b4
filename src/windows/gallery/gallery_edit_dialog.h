#pragma once
// "ギャラリーの編集": every slot eight a row (" %2d " over a 64 x 64 thumbnail), the delete square
// in the top-left corner, the mode "ｺﾋﾟｰ" / "移動" / "入れ替え", "終了" and "ｷｬﾝｾﾙ". A slot dragged
// with the left button onto another slot is copied, moved or swapped there; dropped onto the
// delete square it is emptied. The gallery is backed up first; while the dialog is open the
// main window takes no input.
#include <QDialog>
#include <QPointer>
#include <functional>

#include "workbench/gallery/gallery_edit.h"

class QButtonGroup;

namespace vemla {

class GalleryEditDialog final : public QDialog {
  Q_OBJECT
 public:
  // Makes the backup and shows the dialog, `inert` disabled until it closes; `changed` is called
  // after every change of the gallery. Null after a failed backup (the message was shown).
  static GalleryEditDialog* open(Workbench& bench, UserPort& user, QWidget* inert,
                                 std::function<void()> changed);
  ~GalleryEditDialog() override;

  // The hit area of slot `slot`'s thumbnail and the delete square, in dialog coordinates.
  static QRect slotArea(int slot);
  static QRect deleteArea();
  // The slot whose thumbnail lies under `at`, or -1.
  int slotAt(QPoint at) const;
  SlotTransfer mode() const;

  // Esc, the close box and "ｷｬﾝｾﾙ": after changes the operator is asked whether they may be
  // lost; on yes the backup is put back. On no the dialog stays.
  void reject() override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  GalleryEditDialog(Workbench& bench, UserPort& user, QWidget* inert,
                    std::function<void()> changed);
  void finishEdit();
  void release();

  Workbench& bench_;
  UserPort& user_;
  QPointer<QWidget> inert_;
  std::function<void()> changed_;
  GalleryEdit edit_;
  QButtonGroup* mode_ = nullptr;
  int dragged_ = -1;  // the slot being dragged
  QPoint dragAt_;
};

}  // namespace vemla
