#pragma once
// Records the progress window requests and wait-cursor brackets of an operation, in order.
#include <string>
#include <vector>

#include "ports/ports.h"

namespace vemla::testing {

class FakeProgressPort : public ProgressPort, public BusyPort {
 public:
  // "text:…", "start:N", "wait", "report:N", "finish", "busy", "idle".
  std::vector<std::string> events;

  void setText(std::string_view text) override { events.push_back("text:" + std::string(text)); }
  void start(int total) override { events.push_back("start:" + std::to_string(total)); }
  void report(int count) override { events.push_back("report:" + std::to_string(count)); }
  void finish() override { events.push_back("finish"); }
  void startWait() override { events.push_back("wait"); }
  void begin() override { events.push_back("busy"); }
  void end() override { events.push_back("idle"); }
};

}  // namespace vemla::testing
