#pragma once
// The importer's side of an exchange before and after the transfer: the table of registered
// exporters ("名前の選択", "登録", "削除"), the checks of the entered target before "実行", the
// request that carries the password and the user name, and what a finished fetch turns into.
// The import dialog and vemla-cli both go through these.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "net/importer_settings.h"
#include "net/transfer_messages.h"
#include "net/wire_format.h"

namespace vemla::net {

inline constexpr int kExportTargetSlots = 16;
// Name and password fields of an entry hold at most 63 CP932 bytes and a zero; the password
// must also fit the request's 64-byte field.
inline constexpr std::size_t kTargetNameField = 64;
inline constexpr std::size_t kTargetPasswordField = kPasswordFieldBytes;

// The rule for a table read back from the settings file: an entry whose used flag is neither 0
// nor 1 or whose octet lies outside 0 .. 255 is cleared, the last target's used flag is 0, and a
// selection outside -1 .. 15 becomes -1.
void correctExportTargets(ExportTargetList& list);

// Entries in use; they are packed at the front of the table.
int targetsInUse(const ExportTargetList& list);
// Index of the entry in use named exactly `name` (case-sensitive), or -1.
int findTarget(const ExportTargetList& list, std::string_view name);

// "名前の選択": entry `index` becomes the selected one and is returned for the fields; nullptr,
// with the selection unchanged, unless it is in use.
const ExportTarget* selectTarget(ExportTargetList& list, int index);
// On opening the import dialog: the first entry is selected, none (-1) in an empty table.
void selectFirstTarget(ExportTargetList& list);

// "登録": an entry of the same name gets the entered address and password; otherwise the
// entered target is added after the last entry in use. The registered entry becomes the
// selected one. Refused, with the message to show (warning icon) and the table unchanged, for
// an empty name ("名前を指定して下さい"), for an octet outside 0 … 255 ("IPｱﾄﾞﾚｽに誤りがあります":
// the settings file could not keep it) and for a new name when all 16 entries are in use
// ("これ以上登録できません").
std::optional<std::string> registerTarget(ExportTargetList& list, const ExportTarget& entered);

// "削除": removes entry `index` (ignored unless it is in use), moves the following entries up by
// one and clears the freed last one. The selection stays on `index`, which now holds the next
// entry; when the removed entry was the last in use it moves to the entry before (-1 when the
// table is empty).
void deleteTarget(ExportTargetList& list, int index);

// After a successful import: `used` becomes the last target used, and an entry of the same name
// moves to the top (the entries before it move down by one) and is selected.
void rememberImportTarget(ExportTargetList& list, const ExportTarget& used);

// The checks of "実行" in order: every octet 0 … 255 ("IPｱﾄﾞﾚｽに誤りがあります"; a field that is
// not a number arrives as -1), then a password that is not empty and fits the request
// ("Export先のﾊﾟｽﾜｰﾄﾞを指定して下さい"). nullopt when the import may start.
std::optional<std::string> checkImportTarget(const ExportTarget& entered);

// "%d.%d.%d.%d", most significant octet first.
std::string dottedAddress(const std::array<std::int32_t, 4>& octets);

// The request for `password` sent as `userName`. A user name the field cannot hold (too long,
// or without a CP932 form) is sent as an empty name rather than refusing the import; only the
// password's problems are returned. `out` is set when the result is Ok.
RequestStatus encodeImportRequest(std::string_view password, std::string_view userName,
                                  RequestBytes& out);

// What the importer tells after fetch: the failure's message for a negative code, the refusal
// of a received pair that did not pass its checks, nothing when the pair was taken.
std::optional<Notice> importOutcomeNotice(int code, PayloadCheck check);

}  // namespace vemla::net
