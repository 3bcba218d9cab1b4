#include "persist/small_tables.h"

#include <gtest/gtest.h>

#include "support/fake_user_port.h"
#include "support/test_files.h"

namespace vemla::persist {
namespace {

using testing::FakeUserPort;
using testing::readBytes;
using testing::TempDir;
using testing::writeBytes;

TEST(Associations, LayoutAndRoundTrip) {
  AssociationTable table;
  table[0] = {"txt", "/usr/bin/gedit"};
  table[15] = {"DAT", "/opt/viewer"};
  const std::vector<std::uint8_t> bytes = encodeAssociations(table);
  ASSERT_EQ(bytes.size(), 4416u);
  EXPECT_EQ(bytes[0], 't');
  EXPECT_EQ(bytes[16], '/');  // application path after the 16-byte extension
  EXPECT_EQ(bytes[276 * 15], 'D');
  AssociationTable read;
  ASSERT_EQ(decodeAssociations(bytes, read), LoadStatus::Loaded);
  EXPECT_EQ(read, table);
}

TEST(Associations, OnlyAWholeTableIsRead) {
  AssociationTable read;
  read[1] = {"bmp", "/x"};
  std::vector<std::uint8_t> bytes = encodeAssociations(AssociationTable{});
  bytes.push_back(0);
  EXPECT_EQ(decodeAssociations(bytes, read), LoadStatus::ReadFailed);
  bytes.resize(4000);
  EXPECT_EQ(decodeAssociations(bytes, read), LoadStatus::ReadFailed);
  EXPECT_EQ(read[1].extension, "bmp");
}

TEST(Associations, ExtensionsThatCannotBeOneBecomeFreeEntries) {
  AssociationTable table;
  table[0] = {"toolongext", "/a"};
  table[1] = {".bmp", "/b"};
  table[2] = {"", "/c"};
  table[3] = {"ok", "/d"};
  AssociationTable read;
  ASSERT_EQ(decodeAssociations(encodeAssociations(table), read), LoadStatus::Loaded);
  EXPECT_EQ(read[0], ExtensionAssociation{});
  EXPECT_EQ(read[1], ExtensionAssociation{});
  EXPECT_EQ(read[2], ExtensionAssociation{});
  EXPECT_EQ(read[3], table[3]);
}

TEST(Associations, AbsentFileIsCreatedFromZeros) {
  TempDir dir;
  FakeUserPort user;
  bool keepBad = false;
  AssociationTable table;
  EXPECT_EQ(loadAssociations(dir.path(), table, user, true, keepBad), LoadStatus::Created);
  EXPECT_EQ(readBytes(dir.file(kAssociationsFile)), std::vector<std::uint8_t>(4416, 0));
}

TEST(StateSlots, LayoutRoundTripAndDamage) {
  StateSlotTable slotTable;
  slotTable[1] = {1, "/home/u/~VSABC.tmp"};
  slotTable[3] = {1, "/home/u/~VSXYZ.tmp"};
  const std::vector<std::uint8_t> bytes = encodeStateSlots(slotTable);
  ASSERT_EQ(bytes.size(), 2064u);
  EXPECT_EQ(bytes[516], 1);
  EXPECT_EQ(bytes[520], '/');
  EXPECT_EQ(decodeStateSlots(bytes), slotTable);
  EXPECT_EQ(decodeStateSlots(std::span(bytes).first(2000)), StateSlotTable{});

  std::vector<std::uint8_t> odd = bytes;
  odd[516] = 2;  // neither used nor free
  EXPECT_EQ(decodeStateSlots(odd)[1], StateSlot{});

  TempDir dir;
  FakeUserPort user;
  EXPECT_EQ(readStateSlots(dir.path()), StateSlotTable{});
  // Read from a folder, entries count only when they name a "~VS" file directly in it.
  StateSlotTable inFolder = slotTable;
  inFolder[1].file = dir.file("~VSABC.tmp");
  inFolder[3].file = "~VSXYZ.tmp";
  ASSERT_TRUE(writeStateSlots(dir.path(), inFolder, user));
  EXPECT_EQ(readStateSlots(dir.path()), inFolder);
}

}  // namespace
}  // namespace vemla::persist
