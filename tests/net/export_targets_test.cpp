#include "net/export_targets.h"

#include <gtest/gtest.h>

#include <string>

namespace vemla::net {
namespace {

ExportTarget target(const std::string& name, std::array<std::int32_t, 4> octets,
                    const std::string& password) {
  ExportTarget made;
  made.name = name;
  made.octets = octets;
  made.password = password;
  return made;
}

// A table holding the named entries in this order, each at 10.0.0.<position + 1>.
ExportTargetList tableOf(std::initializer_list<const char*> names) {
  ExportTargetList list;
  int index = 0;
  for (const char* name : names) {
    ExportTarget& entry = list.targets[static_cast<std::size_t>(index)];
    entry = target(name, {10, 0, 0, index + 1}, std::string("pw-") + name);
    entry.used = 1;
    ++index;
  }
  list.selected = 0;
  return list;
}

std::vector<std::string> namesOf(const ExportTargetList& list) {
  std::vector<std::string> names;
  for (int index = 0; index < targetsInUse(list); ++index) {
    names.push_back(list.targets[static_cast<std::size_t>(index)].name);
  }
  return names;
}

// ---- Select ------------------------------------------------------------------------------

TEST(ExportTargets, OnlyAnEntryInUseCanBeSelectedAndOpeningSelectsTheFirst) {
  ExportTargetList list = tableOf({"lab", "office"});
  const ExportTarget* chosen = selectTarget(list, 1);
  ASSERT_NE(chosen, nullptr);
  EXPECT_EQ(chosen->name, "office");
  EXPECT_EQ(list.selected, 1);
  for (const int outside : {-1, 2, kExportTargetSlots}) {
    EXPECT_EQ(selectTarget(list, outside), nullptr) << outside;
    EXPECT_EQ(list.selected, 1) << outside;
  }
  selectFirstTarget(list);
  EXPECT_EQ(list.selected, 0);
  ExportTargetList empty;
  empty.selected = 3;
  selectFirstTarget(empty);
  EXPECT_EQ(empty.selected, -1);
}

// ---- Register ----------------------------------------------------------------------------

TEST(ExportTargets, RegisterAddsNewNamesBehindTheLastEntryAndSelectsThem) {
  ExportTargetList list;
  EXPECT_EQ(registerTarget(list, target("lab", {192, 168, 1, 20}, "one")), std::nullopt);
  EXPECT_EQ(registerTarget(list, target("office", {10, 1, 2, 3}, "two")), std::nullopt);
  EXPECT_EQ(namesOf(list), (std::vector<std::string>{"lab", "office"}));
  EXPECT_EQ(list.selected, 1);
  const ExportTarget& office = list.targets[1];
  EXPECT_EQ(office.used, 1);
  EXPECT_EQ(office.octets, (std::array<std::int32_t, 4>{10, 1, 2, 3}));
  EXPECT_EQ(office.password, "two");
  EXPECT_EQ(list.targets[2], ExportTarget{});
}

TEST(ExportTargets, RegisteringAnExistingNameReplacesItsAddressAndPasswordOnly) {
  ExportTargetList list = tableOf({"a", "b", "c"});
  EXPECT_EQ(registerTarget(list, target("b", {1, 2, 3, 4}, "new")), std::nullopt);
  EXPECT_EQ(namesOf(list), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(list.targets[1].octets, (std::array<std::int32_t, 4>{1, 2, 3, 4}));
  EXPECT_EQ(list.targets[1].password, "new");
  EXPECT_EQ(list.selected, 1);
  // Names are compared exactly: "B" is another target.
  EXPECT_EQ(registerTarget(list, target("B", {1, 2, 3, 4}, "x")), std::nullopt);
  EXPECT_EQ(targetsInUse(list), 4);
}

TEST(ExportTargets, RegisterRefusesAnEmptyNameABadAddressAndASeventeenthName) {
  ExportTargetList list = tableOf({"a"});
  const ExportTargetList before = list;
  EXPECT_EQ(registerTarget(list, target("", {1, 2, 3, 4}, "pw")), "名前を指定して下さい");
  EXPECT_EQ(registerTarget(list, target("b", {1, 256, 3, 4}, "pw")), "IPｱﾄﾞﾚｽに誤りがあります");
  EXPECT_EQ(registerTarget(list, target("b", {1, 2, -1, 4}, "pw")), "IPｱﾄﾞﾚｽに誤りがあります");
  EXPECT_EQ(list, before);

  ExportTargetList full;
  for (int index = 0; index < 16; ++index) {
    ASSERT_EQ(registerTarget(full, target("t" + std::to_string(index), {1, 1, 1, 1}, "p")),
              std::nullopt);
  }
  const ExportTargetList sixteen = full;
  EXPECT_EQ(registerTarget(full, target("t16", {1, 1, 1, 1}, "p")), "これ以上登録できません");
  EXPECT_EQ(full, sixteen);
  // A full table still takes a new address for a name it holds.
  EXPECT_EQ(registerTarget(full, target("t15", {9, 9, 9, 9}, "q")), std::nullopt);
  EXPECT_EQ(full.targets[15].octets, (std::array<std::int32_t, 4>{9, 9, 9, 9}));
}

// ---- Delete ------------------------------------------------------------------------------

TEST(ExportTargets, DeleteMovesTheFollowingEntriesUpAndClearsTheFreedOne) {
  ExportTargetList list = tableOf({"a", "b", "c"});
  const ExportTarget c = list.targets[2];
  deleteTarget(list, 1);
  EXPECT_EQ(namesOf(list), (std::vector<std::string>{"a", "c"}));
  EXPECT_EQ(list.targets[1], c);
  EXPECT_EQ(list.targets[2], ExportTarget{});
  EXPECT_EQ(list.selected, 1);  // now "c", the entry after the removed one
}

TEST(ExportTargets, DeletingTheLastEntryInUseSelectsTheOneBefore) {
  ExportTargetList list = tableOf({"a", "b", "c"});
  deleteTarget(list, 2);
  EXPECT_EQ(namesOf(list), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(list.selected, 1);

  ExportTargetList single = tableOf({"only"});
  deleteTarget(single, 0);
  EXPECT_EQ(targetsInUse(single), 0);
  EXPECT_EQ(single.targets[0], ExportTarget{});
  EXPECT_EQ(single.selected, -1);
}

TEST(ExportTargets, DeleteIgnoresIndexesOutsideTheEntriesInUse) {
  ExportTargetList list = tableOf({"a", "b", "c"});
  const ExportTargetList before = list;
  for (const int index : {-1, 3, 15, 16}) {
    deleteTarget(list, index);
    EXPECT_EQ(list, before) << index;
  }
}

// ---- After a successful import -----------------------------------------------------------

TEST(ExportTargets, AnImportFromARegisteredNameMovesItToTheTop) {
  ExportTargetList list = tableOf({"a", "b", "c", "d"});
  list.selected = 3;
  const ExportTarget c = list.targets[2];
  ExportTarget used = target("c", {172, 16, 0, 9}, "typed");
  used.used = 1;
  rememberImportTarget(list, used);
  EXPECT_EQ(namesOf(list), (std::vector<std::string>{"c", "a", "b", "d"}));
  // The entry moves as it is stored; the fields that were used become the last target.
  EXPECT_EQ(list.targets[0], c);
  EXPECT_EQ(list.selected, 0);
  EXPECT_EQ(list.last.name, "c");
  EXPECT_EQ(list.last.octets, (std::array<std::int32_t, 4>{172, 16, 0, 9}));
  EXPECT_EQ(list.last.password, "typed");
  EXPECT_EQ(list.last.used, 0);
}

TEST(ExportTargets, AnImportFromAnUnregisteredNameOnlyBecomesTheLastTarget) {
  ExportTargetList list = tableOf({"a", "b"});
  list.selected = 1;
  const auto entries = list.targets;
  rememberImportTarget(list, target("elsewhere", {1, 2, 3, 4}, "pw"));
  EXPECT_EQ(list.targets, entries);
  EXPECT_EQ(list.selected, 1);
  EXPECT_EQ(list.last, target("elsewhere", {1, 2, 3, 4}, "pw"));
}

// ---- Checks before "実行" ----------------------------------------------------------------

TEST(ExportTargets, ExecuteNeedsOctetsUpTo255ThenAPassword) {
  EXPECT_EQ(checkImportTarget(target("", {255, 255, 0, 255}, "p")), std::nullopt);
  EXPECT_EQ(checkImportTarget(target("", {255, 256, 0, 0}, "p")), "IPｱﾄﾞﾚｽに誤りがあります");
  EXPECT_EQ(checkImportTarget(target("", {0, 0, 0, -1}, "p")), "IPｱﾄﾞﾚｽに誤りがあります");
  EXPECT_EQ(checkImportTarget(target("", {1, 2, 3, 4}, "")), "Export先のﾊﾟｽﾜｰﾄﾞを指定して下さい");
  // The address is checked first.
  EXPECT_EQ(checkImportTarget(target("", {999, 0, 0, 0}, "")), "IPｱﾄﾞﾚｽに誤りがあります");
  // The request's field holds 63 bytes and a zero.
  EXPECT_EQ(checkImportTarget(target("", {1, 2, 3, 4}, std::string(63, 'x'))), std::nullopt);
  EXPECT_EQ(checkImportTarget(target("", {1, 2, 3, 4}, std::string(64, 'x'))),
            "Export先のﾊﾟｽﾜｰﾄﾞを指定して下さい");
}

// ---- Request and outcome -----------------------------------------------------------------

TEST(ExportTargets, AUserNameTheFieldCannotHoldIsSentEmpty) {
  RequestBytes request{};
  ASSERT_EQ(encodeImportRequest("pw", "ﾃｽﾄ", request), RequestStatus::Ok);
  EXPECT_EQ(request[0], 'p');
  EXPECT_EQ(request[1], 'w');
  EXPECT_EQ(request[2], 0);
  // Half-width katakana are single CP932 bytes: ﾃ 0xC3, ｽ 0xBD, ﾄ 0xC4.
  EXPECT_EQ(request[64], 0xC3);
  EXPECT_EQ(request[65], 0xBD);
  EXPECT_EQ(request[66], 0xC4);
  EXPECT_EQ(request[67], 0);

  for (const std::string& name : {std::string(256, 'n'), std::string("\xF0\x9F\x98\x80")}) {
    request.fill(0xAA);
    ASSERT_EQ(encodeImportRequest("pw", name, request), RequestStatus::Ok);
    EXPECT_EQ(request[0], 'p');
    for (std::size_t offset = 2; offset < kRequestBytes; ++offset) {
      ASSERT_EQ(request[offset], 0) << offset;
    }
  }
}

TEST(ExportTargets, APasswordTheFieldCannotHoldRefusesTheRequest) {
  RequestBytes request{};
  request.fill(0xAA);
  EXPECT_EQ(encodeImportRequest(std::string(64, 'p'), "user", request),
            RequestStatus::PasswordTooLong);
  EXPECT_EQ(request[0], 0xAA);
}

TEST(ExportTargets, TheOutcomeOfAFetchTurnsIntoTheImportersMessages) {
  EXPECT_EQ(importOutcomeNotice(-15, PayloadCheck::BadData)->text, "タイムアウトが発生しました");
  EXPECT_EQ(importOutcomeNotice(-7, PayloadCheck::BadData)->text,
            "Export先のﾊﾟｽﾜｰﾄﾞに誤りがあります");
  EXPECT_EQ(importOutcomeNotice(-9, PayloadCheck::BadData)->text, "通信に失敗しました(ｴﾗｰｺｰﾄﾞ:-9)");
  EXPECT_EQ(importOutcomeNotice(2432, PayloadCheck::BadData)->text, "受信したﾃﾞｰﾀに誤りがあります");
  EXPECT_EQ(importOutcomeNotice(2432, PayloadCheck::TooLarge)->text,
            "受信した画像が画像最大ｻｲｽﾞを超えています");
  EXPECT_EQ(importOutcomeNotice(2432, PayloadCheck::Ok), std::nullopt);
  EXPECT_EQ(importOutcomeNotice(-7, PayloadCheck::BadData)->icon, Icon::Warning);
}

}  // namespace
}  // namespace vemla::net
