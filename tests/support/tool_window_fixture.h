#pragma once
// The main window on a large screen over a workbench with a store of 1024 x 1024, for the tool
// windows' tests; openPair puts a small picture pair in it.
#include <QPushButton>
#include <QtTest>
#include <functional>
#include <memory>
#include <vector>

#include "support/recording_port.h"
#include "support/test_files.h"
#include "windows/main/workbench_window.h"
#include "workbench/picture/open_pictures.h"

namespace vemla::testing {

template <typename Control>
Control* find(const QObject* parent, const QString& name) {
  auto* control = parent->findChild<Control*>(name);
  if (control == nullptr) qFatal("no control named %s", qPrintable(name));
  return control;
}

struct ToolWindowFixture {
  TempDir folder;
  Workbench bench;
  RecordingPort user;
  std::vector<std::uint8_t> first, second;
  std::unique_ptr<WorkbenchWindow> window;

  ToolWindowFixture() {
    bench.settings.folder = folder.path();
    bench.options = Options{};
    if (!bench.store.allocate(1024, 1024)) qFatal("no picture store");
    window = std::make_unique<WorkbenchWindow>(bench, user, QSize(1920, 1200));
    window->show();
  }
  // A width x height pair: picture 1 holds value(x, y) mod 256, picture 2 `constant`.
  void openPair(int width, int height, const std::function<int(int, int)>& value, int constant) {
    first.resize(static_cast<std::size_t>(width) * height);
    second.assign(first.size(), static_cast<std::uint8_t>(constant));
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) first[y * width + x] = static_cast<std::uint8_t>(value(x, y));
    }
    MemoryPictures pictures;
    pictures.width = width;
    pictures.height = height;
    pictures.pixels = {first.data(), second.data()};
    if (setPicturesFromMemory(bench, user, pictures) != 0) qFatal("open failed");
  }
  // The tool bar's button of `command`.
  QPushButton* barButton(int command) const {
    return find<QPushButton>(window.get(), QString("ToolButton%1").arg(command));
  }
};

}  // namespace vemla::testing
