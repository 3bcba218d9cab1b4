#include "net/export_targets.h"

#include <algorithm>

#include "text/cp932.h"
#include "text/format.h"
#include "text/translate.h"

namespace vemla::net {
namespace {

bool validOctets(const std::array<std::int32_t, 4>& octets) {
  return std::all_of(octets.begin(), octets.end(),
                     [](std::int32_t octet) { return octet >= 0 && octet <= 255; });
}

}  // namespace

int targetsInUse(const ExportTargetList& list) {
  int count = 0;
  while (count < kExportTargetSlots && list.targets[static_cast<std::size_t>(count)].used == 1) {
    ++count;
  }
  return count;
}

int findTarget(const ExportTargetList& list, std::string_view name) {
  const int count = targetsInUse(list);
  for (int index = 0; index < count; ++index) {
    if (list.targets[static_cast<std::size_t>(index)].name == name) return index;
  }
  return -1;
}

const ExportTarget* selectTarget(ExportTargetList& list, int index) {
  if (index < 0 || index >= targetsInUse(list)) return nullptr;
  list.selected = index;
  return &list.targets[static_cast<std::size_t>(index)];
}

void selectFirstTarget(ExportTargetList& list) {
  list.selected = targetsInUse(list) > 0 ? 0 : -1;
}

std::optional<std::string> registerTarget(ExportTargetList& list, const ExportTarget& entered) {
  if (entered.name.empty()) return std::string(text::tr(msg::kNameMissing));
  if (!validOctets(entered.octets)) return std::string(text::tr(msg::kBadAddress));
  int index = findTarget(list, entered.name);
  if (index < 0) {
    index = targetsInUse(list);
    if (index >= kExportTargetSlots) return std::string(text::tr(msg::kTargetsFull));
  }
  ExportTarget& entry = list.targets[static_cast<std::size_t>(index)];
  entry = entered;
  entry.used = 1;
  list.selected = index;
  return std::nullopt;
}

void deleteTarget(ExportTargetList& list, int index) {
  const int count = targetsInUse(list);
  if (index < 0 || index >= count) return;
  auto first = list.targets.begin() + index;
  std::move(first + 1, list.targets.begin() + count, first);
  list.targets[static_cast<std::size_t>(count - 1)] = ExportTarget{};
  list.selected = index == count - 1 ? index - 1 : index;
}

void rememberImportTarget(ExportTargetList& list, const ExportTarget& used) {
  list.last = used;
  list.last.used = 0;
  const int index = findTarget(list, used.name);
  if (index < 0) return;
  auto first = list.targets.begin();
  std::rotate(first, first + index, first + index + 1);
  list.selected = 0;
}

std::optional<std::string> checkImportTarget(const ExportTarget& entered) {
  if (!validOctets(entered.octets)) return std::string(text::tr(msg::kBadAddress));
  if (entered.password.empty() ||
      text::checkFixedField(entered.password, kTargetPasswordField) != text::FieldStatus::Ok) {
    return std::string(text::tr(msg::kNoTargetPassword));
  }
  return std::nullopt;
}

std::string dottedAddress(const std::array<std::int32_t, 4>& octets) {
  return text::format("%d.%d.%d.%d", octets[0], octets[1], octets[2], octets[3]);
}

RequestStatus encodeImportRequest(std::string_view password, std::string_view userName,
                                  RequestBytes& out) {
  const RequestStatus status = encodeRequest(password, userName, out);
  if (status == RequestStatus::UserNameTooLong || status == RequestStatus::UserNameUnstorable) {
    return encodeRequest(password, "", out);
  }
  return status;
}

std::optional<Notice> importOutcomeNotice(int code, PayloadCheck check) {
  if (code < 0) return importNotice(code);
  if (check != PayloadCheck::Ok) return payloadNotice(check);
  return std::nullopt;
}

void correctExportTargets(ExportTargetList& list) {
  auto valid = [](const ExportTarget& target) {
    return (target.used == 0 || target.used == 1) && validOctets(target.octets);
  };
  for (ExportTarget& target : list.targets) {
    if (!valid(target)) target = ExportTarget{};
  }
  if (!valid(list.last)) list.last = ExportTarget{};
  list.last.used = 0;
  if (list.selected < -1 || list.selected >= kExportTargetSlots) list.selected = -1;
}

}  // namespace vemla::net
