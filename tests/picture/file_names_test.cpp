#include "picture/file_names.h"

#include <gtest/gtest.h>

namespace vemla {
namespace {

TEST(WithFilterExtension, OnlyANameWithoutExtensionTakesTheFiltersFirst) {
  const std::string bitmaps = "ﾋﾞｯﾄﾏｯﾌﾟﾌｧｲﾙ (*.bmp)";
  EXPECT_EQ(withFilterExtension("/pictures/result", bitmaps), "/pictures/result.bmp");
  EXPECT_EQ(withFilterExtension("/pictures/result.raw", bitmaps), "/pictures/result.raw");
  EXPECT_EQ(withFilterExtension("/pic.d/result", "画像 (*.bmp *.raw)"), "/pic.d/result.bmp");
  EXPECT_EQ(withFilterExtension("/pictures/result", "全て (*.*)"), "/pictures/result");
  EXPECT_EQ(withFilterExtension("/pictures/result", ""), "/pictures/result");
  EXPECT_EQ(withFilterExtension("/pictures/", bitmaps), "/pictures/");
}

TEST(NameEndsWithExtension, NeedsALongerNameAndAMatchingTail) {
  EXPECT_TRUE(nameEndsWithExtension("a.bmp", ".bmp"));
  EXPECT_TRUE(nameEndsWithExtension("DIR/A.BMP", ".bmp"));
  EXPECT_TRUE(nameEndsWithExtension("a.bmp", ".BmP"));
  EXPECT_FALSE(nameEndsWithExtension(".bmp", ".bmp"));  // not longer than the extension
  EXPECT_FALSE(nameEndsWithExtension("a.bmpx", ".bmp"));
  EXPECT_FALSE(nameEndsWithExtension("bmp", "bmp"));
}

// Without its own dot, the extension must follow a '.' in the name.
TEST(NameEndsWithExtension, ExtensionWithoutDotNeedsADotBeforeTheTail) {
  EXPECT_TRUE(nameEndsWithExtension("a.vla", "vla"));
  EXPECT_FALSE(nameEndsWithExtension("avla", "vla"));
  EXPECT_FALSE(nameEndsWithExtension("a_vla", "vla"));
}

TEST(PictureNames, NeedMoreThanTheFourExtensionCharacters) {
  EXPECT_FALSE(isRawName(".raw"));
  EXPECT_TRUE(isRawName("a.raw"));
  EXPECT_TRUE(isRawName("a.RaW"));
  EXPECT_FALSE(isRawName("a.bmp"));
  EXPECT_TRUE(isBitmapName("X.BMP"));
  EXPECT_FALSE(isBitmapName(".bmp"));
  EXPECT_FALSE(isBitmapName("a.bmp "));
  EXPECT_FALSE(isBitmapName("abmp"));
  EXPECT_FALSE(isBitmapName(""));
}

TEST(ClassifyName, KnowsBitmapRawAndArchive) {
  EXPECT_EQ(classifyName("pic.bmp"), 1);
  EXPECT_EQ(classifyName("pic.RAW"), 2);
  EXPECT_EQ(classifyName("x.vla"), 3);
  EXPECT_EQ(classifyName("X.VLA"), 3);
  EXPECT_EQ(classifyName(".vla"), 0);
  EXPECT_EQ(classifyName("pic.png"), 0);
  EXPECT_EQ(classifyName("pic.bmp.txt"), 0);
  EXPECT_EQ(classifyName(""), 0);
}

TEST(StripPictureExtension, RemovesOnlyBitmapAndRawExtensions) {
  EXPECT_EQ(stripPictureExtension("dir/a.BMP"), "dir/a");
  EXPECT_EQ(stripPictureExtension("a.raw"), "a");
  EXPECT_EQ(stripPictureExtension("a.bmp.raw"), "a.bmp");
  EXPECT_EQ(stripPictureExtension("a.png"), "a.png");
  EXPECT_EQ(stripPictureExtension(".bmp"), ".bmp");
}

TEST(ReplaceExtension, ReplacesOrAddsInTheLastComponent) {
  EXPECT_EQ(replaceExtension("a.bmp", ".raw"), "a.raw");
  EXPECT_EQ(replaceExtension("a.b.c", ".raw"), "a.b.raw");
  EXPECT_EQ(replaceExtension("a", ".raw"), "a.raw");
  // A dot in a folder name is not an extension.
  EXPECT_EQ(replaceExtension("dir.v/a", ".raw"), "dir.v/a.raw");
  EXPECT_EQ(replaceExtension("C:\\x.y\\file", ".bmp"), "C:\\x.y\\file.bmp");
  EXPECT_EQ(replaceExtension("/tmp/$VU1234.tmp", ".bmp"), "/tmp/$VU1234.bmp");
}

TEST(ReplaceExtension, KeepsSurroundingQuotes) {
  EXPECT_EQ(replaceExtension("\"my pic.bmp\"", ".raw"), "\"my pic.raw\"");
  EXPECT_EQ(replaceExtension("\"my pic\"", ".raw"), "\"my pic.raw\"");
  EXPECT_EQ(replaceExtension("\"my pic.bmp", ".raw"), "\"my pic.raw");
}

TEST(HasForbiddenCharacter, FindsEachForbiddenCharacter) {
  for (char c : std::string_view("\"*/:;<>?\\|")) {
    EXPECT_TRUE(hasForbiddenCharacter(std::string("ab") + c + "cd")) << c;
  }
  EXPECT_FALSE(hasForbiddenCharacter("my picture (1)~.bmp"));
  // In CP932 the second byte of 表 is 0x5C; in memory the text is UTF-8 and has no backslash.
  EXPECT_FALSE(hasForbiddenCharacter("表示.bmp"));
  EXPECT_FALSE(hasForbiddenCharacter(""));
}

TEST(FileNamePart, TakesTextAfterEitherSeparator) {
  EXPECT_EQ(fileNamePart("a/b/c.bmp"), "c.bmp");
  EXPECT_EQ(fileNamePart("C:\\x\\y.raw"), "y.raw");
  EXPECT_EQ(fileNamePart("a\\b/c"), "c");
  EXPECT_EQ(fileNamePart("plain"), "plain");
  EXPECT_EQ(fileNamePart("dir/"), "");
}

TEST(StripQuotes, StripsOneLeadingQuoteAndItsPartner) {
  EXPECT_EQ(stripQuotes("\"a b\""), "a b");
  EXPECT_EQ(stripQuotes("\"a b"), "a b");
  EXPECT_EQ(stripQuotes("a b\""), "a b\"");
  EXPECT_EQ(stripQuotes("\""), "");
  EXPECT_EQ(stripQuotes("\"\""), "");
  EXPECT_EQ(stripQuotes("\"\"a\"\""), "\"a\"");
}

}  // namespace
}  // namespace vemla
