#include "workbench/extensions/user_processing_editor.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "processing/image_kinds.h"
#include "support/test_files.h"
#include "support/workbench_fixture.h"
#include "workbench/view/refresh_chain.h"

namespace vemla {
namespace {

using Entry = UserProcessingEntry;
using Table = std::array<Entry, kUserProcessingSlots>;

constexpr std::size_t at(int x, int y) {
  return static_cast<std::size_t>((y + 4) * 9 + x + 4);
}

Entry filterEntry(const std::string& name, const std::string& centre = "1") {
  Entry entry;
  entry.inUse = 1;
  entry.name = name;
  entry.form = 0;
  entry.elements[at(0, 0)] = centre;
  return entry;
}

Entry expressionEntry(const std::string& name, const std::string& expression) {
  Entry entry;
  entry.inUse = 1;
  entry.name = name;
  entry.form = 1;
  entry.expression = expression;
  return entry;
}

std::optional<std::string> refusal(const Entry& edit, const Table& table = {}, int changing = -1) {
  return validateProcessingEntry(edit, table, changing).message;
}

// ---- Filter elements

TEST(FilterElement, SignDigitsAndOnePointWithADigitAfterIt) {
  for (const char* valid : {"1", "-2", "+3", "0.25", ".5", "+.5", "-0", "+", "-", "1234567890"}) {
    EXPECT_EQ(checkFilterElement(valid), ElementCheck::Valid) << valid;
  }
  for (const char* wrong : {"5.", "-.", "1.2.3", "1e3", "--1", "+-1", "1+", "0x10", "a", "１"}) {
    EXPECT_EQ(checkFilterElement(wrong), ElementCheck::Malformed) << wrong;
  }
  EXPECT_EQ(checkFilterElement(""), ElementCheck::Empty);
}

TEST(FilterElement, LengthIsTestedBeforeTheFormAndCountsFileBytes) {
  EXPECT_EQ(checkFilterElement("-123456789"), ElementCheck::Valid);  // 10 characters
  EXPECT_EQ(checkFilterElement("12345678901"), ElementCheck::TooLong);
  EXPECT_EQ(checkFilterElement("abcdefghijk"), ElementCheck::TooLong);
  // Five full-width characters are ten bytes in the file, six are twelve.
  EXPECT_EQ(checkFilterElement("ああああああ"), ElementCheck::TooLong);
  EXPECT_EQ(checkFilterElement("あああああ"), ElementCheck::Malformed);
  EXPECT_EQ(checkFilterElement("123456789012", 11), ElementCheck::TooLong);
  EXPECT_EQ(checkFilterElement("12345678901", 11), ElementCheck::Valid);
}

TEST(FilterElement, CleaningRemovesEverySpace) {
  EXPECT_EQ(cleanFilterElement(" - 1 . 5 "), "-1.5");
  EXPECT_EQ(cleanFilterElement("   "), "");
}

// ---- Validation

TEST(EntryValidation, ChecksRunInTheirOrder) {
  Table full;
  for (int i = 0; i < kUserProcessingSlots; ++i)
    full[static_cast<std::size_t>(i)] = filterEntry("f" + std::to_string(i));
  // A full table refuses an addition before anything else is looked at.
  EXPECT_EQ(refusal(Entry{}, full), "これ以上追加できません");
  // ... but not a change of one of its entries.
  EXPECT_EQ(refusal(filterEntry("f3", "2"), full, 3), std::nullopt);
  // The empty name goes before the empty expression, which goes before the duplicate name.
  EXPECT_EQ(refusal(expressionEntry("", "")), "画像処理名の指定がありません");
  Table table;
  table[0] = expressionEntry("平滑", "P1(0,0)");
  EXPECT_EQ(refusal(expressionEntry("平滑", ""), table), "画像処理式の指定がありません");
  EXPECT_EQ(refusal(expressionEntry("平滑", "P1(0,0)+"), table), "画像処理名が重複しています");
  // A filter entry does not need an expression.
  EXPECT_EQ(refusal(filterEntry("x")), std::nullopt);
}

TEST(EntryValidation, NamesAreUniqueAmongEntriesInUseExceptTheChangedOne) {
  Table table;
  table[0] = filterEntry("Edge");
  table[1] = filterEntry("平滑");
  table[2] = filterEntry("free");
  table[2].inUse = 0;
  EXPECT_EQ(refusal(filterEntry("平滑"), table), "画像処理名が重複しています");
  EXPECT_EQ(refusal(filterEntry("平滑"), table, 0), "画像処理名が重複しています");
  EXPECT_EQ(refusal(filterEntry("平滑"), table, 1), std::nullopt);  // keeps its own name
  EXPECT_EQ(refusal(filterEntry("edge"), table), std::nullopt);     // case matters
  EXPECT_EQ(refusal(filterEntry("free"), table), std::nullopt);     // a free slot's old name
}

TEST(EntryValidation, NamesMustFitTheFileField) {
  EXPECT_EQ(refusal(filterEntry(std::string(31, 'n'))), std::nullopt);
  EXPECT_EQ(refusal(filterEntry(std::string(32, 'n'))), "画像処理名が長すぎます");
  // Full-width characters take two bytes: 15 fit in 31 bytes, 16 do not.
  std::string fifteen;
  for (int i = 0; i < 15; ++i) fifteen += "画";
  EXPECT_EQ(refusal(filterEntry(fifteen)), std::nullopt);
  EXPECT_EQ(refusal(filterEntry(fifteen + "像")), "画像処理名が長すぎます");
  EXPECT_EQ(refusal(filterEntry("\xF0\x9F\x98\x80")),  // an emoji the file cannot hold
            "画像処理名に使用できない文字が含まれています");
}

TEST(EntryValidation, ExpressionLengthCountsWhiteSpaceAndSyntaxErrorsAreRefused) {
  const std::string reference = "P1(0,0)";  // 7 characters
  EXPECT_EQ(refusal(expressionEntry("e", reference + std::string(503, ' '))), std::nullopt);
  EXPECT_EQ(refusal(expressionEntry("e", reference + std::string(504, ' '))),
            "画像処理の式が長すぎます");
  for (const char* wrong : {"P1(0,0)+", "p1(0,0)", "P1(1,0x2)", "Abs(1)", "#1", "1e3"}) {
    EXPECT_EQ(refusal(expressionEntry("e", wrong)), "画像処理の式に誤りがあります") << wrong;
  }
  EXPECT_EQ(refusal(expressionEntry("e", "(P1(-1,0)+P2(1,0))/2")), std::nullopt);
}

TEST(EntryValidation, FilterElementsAreReportedWithTheirOffsets) {
  Entry entry = filterEntry("f");
  entry.elements[at(4, -4)] = "1.";  // row -4 comes first
  entry.elements[at(-4, -3)] = "12345678901";
  EXPECT_EQ(refusal(entry), "ﾌｨﾙﾀ要素の指定に誤りがあります\n (X,Y)=( 4,-4)");
  entry.elements[at(4, -4)] = "";
  EXPECT_EQ(refusal(entry), "ﾌｨﾙﾀ要素の文字列が長すぎます\n (X,Y)=(-4,-3)");
  // Spaces do not count: eleven characters with a space are ten after cleaning.
  entry.elements[at(-4, -3)] = "1234 567890";
  EXPECT_EQ(refusal(entry), std::nullopt);
}

TEST(EntryValidation, AFilterNeedsAnElementAndAUsableDivisor) {
  Entry entry = filterEntry("f", "  ");
  EXPECT_EQ(refusal(entry), "ﾌｨﾙﾀ要素の指定が１つもありません");
  entry.elements[at(0, 0)] = "-";  // a lone sign is an element of value 0
  EXPECT_EQ(refusal(entry), std::nullopt);

  entry.correction = 1;
  for (const char* wrong : {"", "0", "0.0", "-0", "abc"}) {
    entry.divisor = wrong;
    EXPECT_EQ(refusal(entry), "補正の除数に誤りがあります") << wrong;
  }
  entry.divisor = "3abc";  // read from its start: 3
  EXPECT_EQ(refusal(entry), std::nullopt);
  entry.correction = 0;
  entry.divisor = "0";  // no correction: the divisor is not looked at
  EXPECT_EQ(refusal(entry), std::nullopt);
  entry.divisor = "123456789012";  // but it must fit its field
  EXPECT_EQ(refusal(entry), "補正の除数に誤りがあります");
}

TEST(EntryValidation, StoresTheCleanedElementsAndMarksTheEntryInUse) {
  Entry edit = filterEntry("f", " 1 . 5");
  edit.inUse = 0;
  edit.elements[at(1, 0)] = " - 2";
  edit.expression = "kept as it is";
  const EntryValidation checked = validateProcessingEntry(edit, Table{}, -1);
  ASSERT_EQ(checked.message, std::nullopt);
  EXPECT_EQ(checked.entry.inUse, 1);
  EXPECT_EQ(checked.entry.elements[at(0, 0)], "1.5");
  EXPECT_EQ(checked.entry.elements[at(1, 0)], "-2");
  EXPECT_EQ(checked.entry.expression, "kept as it is");
  // A refusal hands the edit copy back unchanged.
  edit.elements[at(2, 0)] = "x";
  const EntryValidation refused = validateProcessingEntry(edit, Table{}, -1);
  EXPECT_EQ(refused.entry, edit);
}

// ---- The editing session

// 8 x 8 pictures (the smallest size): picture 1 is 10 x + y, picture 2 is 100 everywhere.
class Editing : public testing::WorkbenchFixture {
 protected:
  static constexpr int kWidth = 8, kHeight = 8;

  void openPictures() {
    WorkbenchFixture::openPictures(
        kWidth, kHeight, [](int x, int y) { return 10 * x + y; }, everywhere(100));
  }
  int imagePixel(ImageSlot image, int x, int y) const {
    return bench.store.plane(imagePlane(image))[y * kWidth + x];
  }
  void show(ImageSlot image, int slot) {
    setImageKind(bench, image, kUserProcessingKind, slot, user, progress, progress);
  }
  // Five filter entries "e1" .. "e5" in slots 0 .. 4, entry k with colour kinds k and 10 + k.
  void fiveEntries() {
    for (int k = 1; k <= 5; ++k) {
      const auto slot = static_cast<std::size_t>(k - 1);
      table()[slot] = filterEntry("e" + std::to_string(k), std::to_string(k));
      colours()[0][slot] = k;
      colours()[1][slot] = 10 + k;
    }
  }
  UserProcessingEditing open() {
    return UserProcessingEditing(bench, selection, user, progress, progress);
  }
  Table& table() { return bench.userEntries.processing; }
  std::array<std::array<std::int32_t, kUserProcessingSlots>, 2>& colours() {
    return bench.images.selections.userProcessingColours;
  }

  int selection = -1;
};

TEST_F(Editing, OpeningSelectsTheRememberedOrTheFirstEntry) {
  {
    UserProcessingEditing editing = open();
    EXPECT_EQ(editing.selectedSlot(), -1);
    EXPECT_EQ(editing.edit(), Entry{});
    EXPECT_TRUE(editing.names().empty());
  }
  fiveEntries();
  selection = 3;
  {
    UserProcessingEditing editing = open();
    EXPECT_EQ(editing.selectedRow(), 3);
    EXPECT_EQ(editing.edit().name, "e4");
    EXPECT_FALSE(editing.modified());
    EXPECT_EQ(editing.names(), (std::vector<std::string>{"e1", "e2", "e3", "e4", "e5"}));
  }
  selection = -1;
  EXPECT_EQ(open().edit().name, "e1");
  EXPECT_EQ(selection, 0);
  selection = 9;  // a slot no longer in use
  EXPECT_EQ(open().edit().name, "e1");
}

TEST_F(Editing, AddingFillsTheFirstFreeSlotWithGreyColourKinds) {
  fiveEntries();
  table()[2].inUse = 0;  // a free slot among the entries (a file edited elsewhere)
  colours()[0][2] = 7;
  colours()[1][2] = 7;
  UserProcessingEditing editing = open();
  Entry edit = filterEntry("新規", " 2 ");
  edit.inUse = 0;
  editing.setEdit(edit);
  ASSERT_TRUE(editing.add());
  EXPECT_EQ(table()[2].name, "新規");
  EXPECT_EQ(table()[2].inUse, 1);
  EXPECT_EQ(table()[2].elements[at(0, 0)], "2");
  EXPECT_EQ(colours()[0][2], 0);
  EXPECT_EQ(colours()[1][2], 0);
  EXPECT_EQ(editing.selectedSlot(), 2);
  EXPECT_EQ(editing.edit(), table()[2]);
  EXPECT_TRUE(editing.modified());
  EXPECT_EQ(listener.pictures, 1);  // the kind lists are rebuilt
  EXPECT_TRUE(user.messages.empty());
}

TEST_F(Editing, ASeventeenthEntryIsRefused) {
  for (int i = 0; i < kUserProcessingSlots; ++i)
    table()[static_cast<std::size_t>(i)] = filterEntry("f" + std::to_string(i));
  const Table before = table();
  UserProcessingEditing editing = open();
  editing.setEdit(filterEntry("g"));
  EXPECT_FALSE(editing.add());
  EXPECT_EQ(user.onlyMessage(), "これ以上追加できません");
  EXPECT_EQ(user.messages[0].icon, Icon::Warning);
  EXPECT_EQ(table(), before);
  EXPECT_FALSE(editing.modified());
  EXPECT_EQ(editing.edit(), filterEntry("g"));  // the edit copy stays as typed
}

TEST_F(Editing, ChangingRecreatesOnlyTheImagesShowingTheEntry) {
  table()[0] = filterEntry("a", "1");
  table()[1] = filterEntry("b", "1");
  openPictures();
  show(ImageSlot::First, 0);
  show(ImageSlot::Second, 1);
  selection = 0;
  UserProcessingEditing editing = open();
  progress.events.clear();

  // Nothing differs: nothing happens.
  EXPECT_TRUE(editing.change());
  EXPECT_FALSE(editing.modified());
  EXPECT_TRUE(progress.events.empty());

  // Picture 1 at (3, 2) is 32; doubled 64. Image 2 shows entry b and stays picture 1.
  Entry edit = editing.edit();
  edit.elements[at(0, 0)] = "2";
  editing.setEdit(edit);
  ASSERT_TRUE(editing.change());
  EXPECT_EQ(table()[0].elements[at(0, 0)], "2");
  EXPECT_EQ(imagePixel(ImageSlot::First, 3, 2), 64);
  EXPECT_EQ(imagePixel(ImageSlot::Second, 3, 2), 32);
  EXPECT_TRUE(editing.recomputed(ImageSlot::First));
  EXPECT_FALSE(editing.recomputed(ImageSlot::Second));
  EXPECT_TRUE(editing.modified());

  // A new name is checked against the other entries.
  edit.name = "b";
  editing.setEdit(edit);
  EXPECT_FALSE(editing.change());
  EXPECT_EQ(user.onlyMessage(), "画像処理名が重複しています");
  EXPECT_EQ(table()[0].name, "a");
}

TEST_F(Editing, ChoosingAnotherEntryAsksWhenTheEditCopyDiffers) {
  fiveEntries();
  selection = 0;
  UserProcessingEditing editing = open();
  // Unchanged: no question.
  EXPECT_TRUE(editing.choose(1));
  EXPECT_EQ(editing.edit().name, "e2");

  Entry edit = editing.edit();
  edit.name = "typed";
  editing.setEdit(edit);
  user.yesNoAnswers = {false};
  EXPECT_FALSE(editing.choose(3));
  EXPECT_EQ(user.questions, (std::vector<std::string>{"編集中の情報が失われますがよいですか"}));
  EXPECT_EQ(editing.selectedRow(), 1);
  EXPECT_EQ(editing.edit().name, "typed");

  user.yesNoAnswers = {true};
  EXPECT_TRUE(editing.choose(3));
  EXPECT_EQ(editing.edit(), table()[3]);
  EXPECT_EQ(selection, 3);
  EXPECT_FALSE(editing.choose(5));  // outside the list
  EXPECT_EQ(user.questions.size(), 2u);
}

TEST_F(Editing, ClearAllEmptiesOnlyTheElements) {
  fiveEntries();
  table()[0].elements[at(-4, 4)] = "7";
  table()[0].divisor = "9";
  table()[0].correction = 1;
  selection = 0;
  UserProcessingEditing editing = open();
  editing.clearElements();
  Entry expected = table()[0];
  expected.elements = {};
  EXPECT_EQ(editing.edit(), expected);
  EXPECT_EQ(table()[0].elements[at(0, 0)], "1");  // nothing stored
}

TEST_F(Editing, DeletingMovesTheLaterEntriesAndColourKindsUp) {
  fiveEntries();
  selection = 2;
  UserProcessingEditing editing = open();
  ASSERT_TRUE(editing.remove());
  EXPECT_EQ(editing.names(), (std::vector<std::string>{"e1", "e2", "e4", "e5"}));
  EXPECT_EQ(table()[2].elements[at(0, 0)], "4");
  EXPECT_EQ(table()[4], Entry{});
  EXPECT_EQ(colours()[0][2], 4);
  EXPECT_EQ(colours()[1][3], 15);
  EXPECT_EQ(colours()[0][4], 0);
  EXPECT_EQ(colours()[1][4], 0);
  // The selection stays at the same row, which now holds e4.
  EXPECT_EQ(editing.selectedRow(), 2);
  EXPECT_EQ(editing.edit().name, "e4");
  EXPECT_TRUE(editing.modified());

  // Deleting the last entry selects the one before it.
  ASSERT_TRUE(editing.choose(3));
  ASSERT_TRUE(editing.remove());
  EXPECT_EQ(editing.edit().name, "e4");
  EXPECT_EQ(editing.selectedRow(), 2);
}

TEST_F(Editing, DeletingTheOnlyEntryClearsTheEditArea) {
  table()[0] = filterEntry("only");
  UserProcessingEditing editing = open();
  ASSERT_TRUE(editing.remove());
  EXPECT_EQ(editing.selectedSlot(), -1);
  EXPECT_EQ(editing.edit(), Entry{});
  EXPECT_FALSE(editing.remove());  // nothing selected: nothing happens
}

TEST_F(Editing, DeletingIsRefusedWhileAnImageShowsAnyUserProcessing) {
  fiveEntries();
  bench.images.kind[1] = kUserProcessingKind;
  bench.images.userEntry[1] = 4;  // another entry than the selected one
  selection = 0;
  UserProcessingEditing editing = open();
  EXPECT_FALSE(editing.remove());
  EXPECT_EQ(user.onlyMessage(),
            "ｲﾒｰｼﾞにﾕｰｻﾞの画像処理が選択されている場合は当機能が実行できません");
  EXPECT_EQ(table()[0].name, "e1");
  EXPECT_FALSE(editing.modified());
}

class SavingEditing : public Editing {
 protected:
  void SetUp() override {
    Editing::SetUp();
    bench.settings.folder = folder.path();
  }
  std::string file() const { return folder.file("VemlaUinf.dat"); }
  std::optional<UserEntries> written() const {
    std::ifstream in(file(), std::ios::binary);
    if (!in) return std::nullopt;
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    UserEntries entries;
    persist::UserInfo info;
    if (persist::decodeUserInfo(bytes, entries, info) != persist::LoadStatus::Loaded) {
      return std::nullopt;
    }
    return entries;
  }
  testing::TempDir folder;
};

TEST_F(SavingEditing, UpdateWritesTheFileEvenWhenNothingChanged) {
  fiveEntries();
  UserProcessingEditing editing = open();
  ASSERT_TRUE(editing.save());
  const std::optional<UserEntries> info = written();
  ASSERT_TRUE(info.has_value());
  EXPECT_EQ(info->processing, table());
}

TEST_F(SavingEditing, UpdateAddsATypedEntryWhenNothingIsSelected) {
  UserProcessingEditing editing = open();
  ASSERT_TRUE(editing.save());  // no selection, no name: nothing stored, the file written
  EXPECT_TRUE(std::filesystem::exists(file()));
  EXPECT_EQ(table()[0].inUse, 0);

  editing.setEdit(expressionEntry("式１", "P1(0,0)/2"));
  ASSERT_TRUE(editing.save());
  EXPECT_EQ(table()[0].name, "式１");
  EXPECT_EQ(written()->processing[0].expression, "P1(0,0)/2");
  EXPECT_FALSE(editing.modified());
  EXPECT_EQ(editing.selectedSlot(), 0);
}

TEST_F(SavingEditing, RefusedUpdateWritesNothing) {
  UserProcessingEditing editing = open();
  editing.setEdit(expressionEntry("bad", "P1(0,0)+"));
  EXPECT_FALSE(editing.save());
  EXPECT_EQ(user.onlyMessage(), "画像処理の式に誤りがあります");
  EXPECT_FALSE(std::filesystem::exists(file()));
  EXPECT_FALSE(editing.finish());  // OK stays open too
}

TEST_F(SavingEditing, ASecondCopyNeverWritesTheFile) {
  bench.secondCopy = true;
  UserProcessingEditing editing = open();
  editing.setEdit(filterEntry("f"));
  ASSERT_TRUE(editing.finish());
  EXPECT_EQ(table()[0].name, "f");
  EXPECT_FALSE(std::filesystem::exists(file()));
  EXPECT_FALSE(editing.modified());
}

TEST_F(Editing, CancelWithoutChangesClosesWithoutAsking) {
  fiveEntries();
  selection = 1;
  UserProcessingEditing editing = open();
  ASSERT_TRUE(editing.choose(4));
  EXPECT_TRUE(editing.cancel());
  EXPECT_TRUE(user.questions.empty());
  EXPECT_EQ(selection, 1);  // the selection at opening
}

TEST_F(Editing, CancelAfterChangesAsksAndUndoesThemUpToTheLastSave) {
  fiveEntries();
  table()[0] = filterEntry("e1", "1");
  openPictures();
  show(ImageSlot::First, 0);
  selection = 0;
  UserProcessingEditing editing = open();

  Entry edit = editing.edit();
  edit.elements[at(0, 0)] = "3";  // picture 1 at (2, 1) is 21: 63
  editing.setEdit(edit);
  ASSERT_TRUE(editing.change());
  ASSERT_EQ(imagePixel(ImageSlot::First, 2, 1), 63);
  bench.images.kind[0] = 0;  // let the deletion through
  ASSERT_TRUE(editing.choose(4));
  ASSERT_TRUE(editing.remove());
  bench.images.kind[0] = kUserProcessingKind;

  user.yesNoAnswers = {false};
  EXPECT_FALSE(editing.cancel());
  EXPECT_EQ(user.questions.back(), "編集した内容が失われますがよいですか");
  EXPECT_EQ(editing.names().size(), 4u);

  user.yesNoAnswers = {true};
  EXPECT_TRUE(editing.cancel());
  EXPECT_EQ(table()[0].elements[at(0, 0)], "1");
  EXPECT_EQ(table()[4].name, "e5");
  EXPECT_EQ(colours()[1][4], 15);
  EXPECT_EQ(selection, 0);
  EXPECT_EQ(imagePixel(ImageSlot::First, 2, 1), 21);  // image 1 recomputed with the restored entry
}

TEST_F(SavingEditing, CancelKeepsWhatWasSaved) {
  fiveEntries();
  selection = 0;
  UserProcessingEditing editing = open();
  Entry edit = editing.edit();
  edit.name = "saved";
  editing.setEdit(edit);
  ASSERT_TRUE(editing.save());
  edit.name = "unsaved";
  editing.setEdit(edit);
  ASSERT_TRUE(editing.change());
  ASSERT_TRUE(editing.choose(2));
  user.yesNoAnswers = {true};
  EXPECT_TRUE(editing.cancel());
  EXPECT_EQ(table()[0].name, "saved");
  EXPECT_EQ(selection, 0);  // the selection at the last save
}

}  // namespace
}  // namespace vemla
