#pragma once
// The tool area of the main window: `ToolInformation` shows the active tool's window, or the
// tiled product picture (with the second-copy notice) while no tool is chosen; `ToolSelection`
// is the bar of "メモ" and the tool buttons, which run the main window's commands.
#include <QWidget>
#include <array>
#include <functional>

#include "workbench/workbench.h"

class QPushButton;

namespace vemla {

class GradationWindow;
class MeasurementWindow;
class PartialWindow;
class ProfileWindow;
class ReliefWindow;

class ToolInformation : public QWidget, public WorkbenchListener {
 public:
  ToolInformation(Workbench& bench, QWidget* parent);
  ~ToolInformation() override;

  void picturesChanged() override { refresh(); }
  void panesChanged() override {}
  void toolsChanged() override { refresh(); }
  void refresh();
  // The tools' windows, created the first time the tool is chosen (null before).
  GradationWindow* gradationWindow() const { return gradation_; }
  ProfileWindow* profileWindow() const { return profile_; }
  MeasurementWindow* measurementWindow() const { return measurement_; }
  ReliefWindow* reliefWindow() const { return relief_; }
  PartialWindow* partialWindow() const { return partial_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Workbench& bench_;
  GradationWindow* gradation_ = nullptr;
  ProfileWindow* profile_ = nullptr;
  MeasurementWindow* measurement_ = nullptr;
  ReliefWindow* relief_ = nullptr;
  PartialWindow* partial_ = nullptr;
};

class ToolSelection : public QWidget, public WorkbenchListener {
 public:
  // `run` carries out a command of the main window's table.
  ToolSelection(Workbench& bench, std::function<void(int)> run, QWidget* parent);
  ~ToolSelection() override;

  void picturesChanged() override { refresh(); }
  void toolsChanged() override { refresh(); }
  void refresh();

 private:
  Workbench& bench_;
  std::vector<std::pair<int, QPushButton*>> buttons_;
};

}  // namespace vemla
