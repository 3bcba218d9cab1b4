#include "persist/program_settings.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <filesystem>

#include "options/option_table.h"
#include "support/fake_user_port.h"
#include "support/test_files.h"

namespace vemla::persist {
namespace {

using testing::FakeUserPort;
using testing::readBytes;
using testing::TempDir;
using testing::writeBytes;

std::int32_t le32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return static_cast<std::int32_t>(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
                                   static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

double leDouble(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  std::uint64_t bits = 0;
  for (int i = 0; i < 8; ++i) bits |= static_cast<std::uint64_t>(bytes[at + i]) << (8 * i);
  return std::bit_cast<double>(bits);
}

void put32(std::vector<std::uint8_t>& bytes, std::size_t at, std::int64_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

void putDouble(std::vector<std::uint8_t>& bytes, std::size_t at, double value) {
  const auto bits = std::bit_cast<std::uint64_t>(value);
  for (int i = 0; i < 8; ++i) bytes[at + i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

// Every option set to a valid value other than its default, and every record part changed.
ProgramSettings changedSettings() {
  ProgramSettings s;
  Options& o = s.options;
  for (const OptionDescriptor& option : optionTable()) {
    // Not in this file's layout: kept in the program's own options file.
    if (option.store == OptionStore::OwnOptions) continue;
    switch (option.type) {
      case OptionType::Flag:
        *option.flag(o) = !*option.flag(o);
        break;
      case OptionType::Choice:
        *option.integer(o) = 1 - *option.integer(o);
        break;
      case OptionType::Integer: {
        int& value = *option.integer(o);
        switch (option.correction) {
          case Correction::PowerOfTwo:
            value = 64;
            break;
          case Correction::RoundUpToFour:
            value = 2048;
            break;
          case Correction::GalleryCount:
            value = 24;
            break;
          case Correction::RawWidth:
          case Correction::RawHeight:
            value = 100;
            break;
          case Correction::StartSlot:
            value = 3;
            break;
          default:
            value = static_cast<int>(value == option.low ? option.low + 1 : option.low);
        }
        break;
      }
      case OptionType::Real:
        *option.real(o) += 0.5;
        break;
      case OptionType::Colour:
        *option.colour(o) = 0x00123456;
        break;
      case OptionType::Text:
        *option.text(o) = "画像 " + std::string(option.name);
        break;
      case OptionType::NumberSet:
        (*option.numbers(o))[0] = true;
        (*option.numbers(o))[255] = true;
        break;
      case OptionType::SixteenBit:
        break;
    }
  }
  s.imageControl.kindColours[1][31] = 17;
  s.imageControl.userProcessingColours[0][15] = 3;
  s.imageControl.intensity[16] = 16;
  s.imageControl.brightness[31] = 0;
  s.marks[2] = {1, 100, -5};
  s.importer.userName = "ユーザー";
  s.importer.targets.targets[0] = {1, "host", {192, 168, 0, 1}, "secret"};
  s.importer.targets.last = {0, "last", {10, 0, 0, 2}, "pw"};
  s.importer.targets.selected = 0;
  ProgramRecord& r = s.record;
  r.lastFiles = {{"/a/1.bmp", "/a/2.bmp"}, "/a/保存.bmp", "/a/text.txt"};
  r.reservedWords = {1, 2, 3, 4, 5};
  r.controlWords = {-1, 0, 7, 9, 11, 13};
  r.spareColourPair = {0xAA, 0xBB};
  r.marksReserved[31] = 9;
  r.textExport = {4, 5};
  r.spareColours = {1, 2, 3, 4};
  r.customColours[15] = 0xFFFFFF;
  r.gradationTool.state = 3;
  r.gradationTool.operators[3][4] = 8;
  r.gradationTool.absolute[2] = 0;
  r.profileTool = 2;
  r.launcher.program = "/usr/bin/prog";
  r.launcher.arguments = "<P1> <OUT>";
  r.launcher.files[3] = "f4";
  r.launcher.destination = 2;
  r.launcher.close = 1;
  r.launcherReserved[575] = 0x5A;
  r.stateMemory = {0, 1, "/s/state.vic"};
  r.stateMemoryReserved[0] = 1;
  r.networkReserved[111] = 7;
  r.lastDialogRatios = {0.5, 0.25, 0.25};
  r.validRange = {2, 640, 480, {1, 2, 3, 4}, 6};
  r.window = {10, 20, 1300, 1100};
  r.archiveReserved[15] = 1;
  r.areaPadding[3] = 2;
  r.areaReserved[0] = 3;
  r.carryOverReserved[5] = -1;
  r.reducedMeasureWarningShown = 1;
  return s;
}

TEST(ProgramSettingsLayout, FieldOffsetsFollowTheDescriptorTable) {
  const auto fields = programSettingsFields();
  ASSERT_EQ(fields.size(), 92u);
  std::vector<std::size_t> offsets;
  std::size_t offset = 0;
  for (const SettingsField& field : fields) {
    offsets.push_back(offset);
    offset += field.size;
  }
  EXPECT_EQ(offsets[0], 0u);
  EXPECT_EQ(offsets[5], 28u);      // area-difference settings
  EXPECT_EQ(offsets[19], 180u);    // MemoFile
  EXPECT_EQ(offsets[30], 2784u);   // user name
  EXPECT_EQ(offsets[70], 8572u);   // export destination list
  EXPECT_EQ(offsets[86], 11708u);  // archive options, the first version 2 field
  EXPECT_EQ(offsets[89], 12020u);  // ViewerWheelZoomOnly
  EXPECT_EQ(offset, kProgramRecordBytes);
  for (std::size_t i = 0; i < fields.size(); ++i) {
    EXPECT_EQ(fields[i].version, i >= 86 ? 2 : 0) << i;
  }
  EXPECT_EQ(encodeProgramRecord(ProgramSettings{}, 1).size(), kProgramRecordBytesBeforeVersion2);
}

TEST(ProgramSettingsLayout, EveryFieldWritesExactlyItsSize) {
  const ProgramSettings settings = changedSettings();
  for (const SettingsField& field : programSettingsFields()) {
    std::vector<std::uint8_t> room(field.size + 64, 0);
    FieldWriter writer(room);
    field.encode(settings, writer);
    EXPECT_EQ(writer.written(), field.size) << field.content;
  }
}

TEST(ProgramSettingsLayout, DefaultsSitAtTheirOffsets) {
  ProgramSettings settings;
  settings.options = Options{};
  const std::vector<std::uint8_t> file = encodeProgramSettings(settings);
  ASSERT_EQ(file.size(), 12u + 12032u);
  EXPECT_EQ(std::string(file.begin(), file.begin() + 4), "VIP2");
  EXPECT_EQ(le32(file, 4), 1024);
  EXPECT_EQ(le32(file, 8), 1024);
  const std::size_t r = 12;
  EXPECT_EQ(leDouble(file, r + 0), 1.0);     // PixelSizeX
  EXPECT_EQ(le32(file, r + 16), 16);         // ShiftUnit
  EXPECT_EQ(le32(file, r + 20), 1);          // ZoomInterpolation
  EXPECT_EQ(le32(file, r + 28), 3);          // AreaDiffRangeX
  EXPECT_EQ(leDouble(file, r + 44), 9.0);    // AreaDiffDivisor after 3 ints and 4 zeros
  EXPECT_EQ(le32(file, r + 72), 4);          // DragMinimumMove
  EXPECT_EQ(le32(file, r + 84 + 5 * 4), 1);  // KeepZoomInterpolation
  EXPECT_EQ(le32(file, r + 84 + 9 * 4), 1);  // KeepUserProgramResult
  EXPECT_EQ(le32(file, r + 148), 10);        // ProfileGridGradation
  EXPECT_EQ(le32(file, r + 176), 32);        // MeasureEdgeLevel
  // The memo's default is a name in the program folder: a copied folder keeps its own memo.
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&file[r + 180])), "VemlaMemo.txt");
  EXPECT_EQ(leDouble(file, r + 692), 0.299);    // GreyRatioR
  EXPECT_EQ(leDouble(file, r + 708), 0.114);    // GreyRatioB
  EXPECT_EQ(le32(file, r + 716), 1);            // SaveBitmapAsGrey
  EXPECT_EQ(le32(file, r + 720), 512);          // RawDefaultWidth
  EXPECT_EQ(le32(file, r + 2776), 8);           // ScopeMagnification
  EXPECT_EQ(le32(file, r + 3088 + 3 * 4), 2);   // image 1, kind 3: "差分ｶﾗｰ"
  EXPECT_EQ(le32(file, r + 3472 + 2 * 4), 8);   // intensity of "差分ｶﾗｰ"
  EXPECT_EQ(le32(file, r + 3600), 128);         // brightness of colour kind 0
  EXPECT_EQ(le32(file, r + 3728), 0x00FFFF);    // RangeExtractionColour1: R 255, G 255
  EXPECT_EQ(le32(file, r + 3848), 0x00FFFF);    // RangeFrameColour
  EXPECT_EQ(le32(file, r + 3936 + 3 * 4), 1);   // operator 1, "left" coefficient
  EXPECT_EQ(le32(file, r + 4100), 20);          // PartialCompareGridX
  EXPECT_EQ(le32(file, r + 7784), 1);           // state memory confirmation
  EXPECT_EQ(le32(file, r + 8368), 24100);       // NetworkPort
  EXPECT_EQ(le32(file, r + 8368 + 68), 30);     // ExportTimeout after the 64-byte password
  EXPECT_EQ(le32(file, r + 11628), 1);          // AskRatioPerFile
  EXPECT_EQ(leDouble(file, r + 11632), 0.299);  // last RGB-ratio dialog ratios
  EXPECT_EQ(le32(file, r + 11688 + 8), 1280);   // main window width
  EXPECT_EQ(le32(file, r + 11708), 1);          // ArchiveOpenPicture1
  EXPECT_EQ(le32(file, r + 11708 + 12), 1);     // ArchivePicture2Number, 0-based
  EXPECT_EQ(file[r + 11708 + 32], 0);           // ArchiveExpandNumbers: none selected
  EXPECT_EQ(le32(file, r + 12012), 0);          // TrueColourOpenMode
}

TEST(ProgramSettingsRoundTrip, DefaultsAndChangedValuesSurviveWriteAndRead) {
  for (const ProgramSettings& written : {ProgramSettings{}, changedSettings()}) {
    ProgramSettings read;
    ASSERT_EQ(decodeProgramSettings(encodeProgramSettings(written), read), LoadStatus::Loaded);
    // The maximum size lives in the header, which the full load skips.
    read.options.MaxPictureWidth = written.options.MaxPictureWidth;
    read.options.MaxPictureHeight = written.options.MaxPictureHeight;
    // The gallery options are kept in VemlaGinf.dat.
    read.options.GalleryCount = written.options.GalleryCount;
    read.options.hideGalleryAtStart = written.options.hideGalleryAtStart;
    EXPECT_TRUE(read == written);
    EXPECT_EQ(read.record, written.record);
  }
}

TEST(ProgramSettingsVersions, OlderFilesKeepTheDefaultsOfVersion2Fields) {
  const ProgramSettings changed = changedSettings();
  for (int version : {0, 1}) {
    std::vector<std::uint8_t> file{'V', 'I', 'P', static_cast<std::uint8_t>('0' + version)};
    if (version == 1) file.insert(file.end(), {0x00, 0x08, 0, 0, 0x00, 0x08, 0, 0});
    const std::vector<std::uint8_t> record = encodeProgramRecord(changed, version);
    ASSERT_EQ(record.size(), 11708u);
    file.insert(file.end(), record.begin(), record.end());

    ProgramSettings read;
    read.options.MaxPictureWidth = 2048;  // what the store uses: the record must not disturb it
    ASSERT_EQ(decodeProgramSettings(file, read), LoadStatus::Loaded) << version;
    EXPECT_EQ(read.options.ShiftUnit, changed.options.ShiftUnit);
    EXPECT_EQ(read.options.LockDisplayPosition, changed.options.LockDisplayPosition);
    EXPECT_EQ(read.record.window, changed.record.window);
    EXPECT_EQ(read.options.TrueColourOpenMode, 0);
    EXPECT_FALSE(read.options.ViewerShowGradation);
    EXPECT_TRUE(read.options.ArchiveOpenPicture1);
    EXPECT_EQ(read.record.reducedMeasureWarningShown, 0);
    EXPECT_EQ(read.options.MaxPictureWidth, 2048);

    const std::vector<std::uint8_t> rewritten = encodeProgramSettings(read);
    ASSERT_EQ(rewritten.size(), 12044u);
    EXPECT_EQ(rewritten[3], '2');
    EXPECT_EQ(le32(rewritten, 12 + 11708), 1);  // ArchiveOpenPicture1 at its default
  }
  std::vector<std::uint8_t> header{'V', 'I', 'P', '1', 0x02, 0x08, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F};
  EXPECT_EQ(decodeMaxPictureSize(header), (std::pair{2052, 4096}));
  header[3] = '0';
  EXPECT_EQ(decodeMaxPictureSize(header), std::nullopt);
}

TEST(ProgramSettingsVersions, MagicIsCheckedOnItsFirstThreeBytes) {
  std::vector<std::uint8_t> file = encodeProgramSettings(ProgramSettings{});
  ProgramSettings read;
  file[3] = '3';
  EXPECT_EQ(decodeProgramSettings(file, read), LoadStatus::VersionMismatch);
  file[3] = '/';  // below "0": no version this program knows either
  EXPECT_EQ(decodeProgramSettings(file, read), LoadStatus::VersionMismatch);
  file[3] = '2';
  file[0] = 'W';
  EXPECT_EQ(decodeProgramSettings(file, read), LoadStatus::ReadFailed);
  EXPECT_EQ(decodeProgramSettings(std::span(file).first(3), read), LoadStatus::ReadFailed);
  // Version 1 and 2 need the two header ints.
  file[0] = 'V';
  EXPECT_EQ(decodeProgramSettings(std::span(file).first(10), read), LoadStatus::ReadFailed);
}

TEST(ProgramSettingsHostile, TruncatedRecordReadsZerosThatAreThenCorrected) {
  ProgramSettings written = changedSettings();
  std::vector<std::uint8_t> file = encodeProgramSettings(written);
  file.resize(12 + 692);  // ends right after MemoFile
  ProgramSettings read;
  ASSERT_EQ(decodeProgramSettings(file, read), LoadStatus::Truncated);
  EXPECT_EQ(read.options.MemoFile, written.options.MemoFile);
  EXPECT_EQ(read.options.GreyRatio, (RgbRatio{0.0, 0.0, 0.0}));  // zeros are numbers
  EXPECT_FALSE(read.options.SaveBitmapAsGrey);                   // zero is "off"
  EXPECT_EQ(read.options.RawDefaultWidth, 8);                    // 0 corrected
  EXPECT_EQ(read.options.ScopeMagnification, 1);
  EXPECT_EQ(read.options.NetworkPort, 24100);  // 0 is no port: the default
  EXPECT_EQ(read.options.ExportTimeout, 30);
  EXPECT_EQ(read.imageControl.intensity[2], 8);  // intensity 0: the default
  EXPECT_EQ(read.imageControl.kindColours[0][4], 0);
  EXPECT_EQ(read.record.stateMemory.confirm, 0);
}

TEST(ProgramSettingsHostile, OutOfRangeValuesTakeTheirDefaults) {
  std::vector<std::uint8_t> file = encodeProgramSettings(ProgramSettings{});
  const std::size_t r = 12;
  putDouble(file, r + 0, std::nan(""));  // PixelSizeX
  put32(file, r + 16, 12);               // ShiftUnit: not a power of two
  put32(file, r + 24, 5);                // ShiftInterpolation: unknown kind
  putDouble(file, r + 44, 0.0);          // AreaDiffDivisor: would divide by zero
  put32(file, r + 68, 2);                // DragMovesImage: neither 0 nor 1
  put32(file, r + 3088 + 4, 9);          // colour kind 9 does not exist
  put32(file, r + 3472 + 4, 0);          // intensity 0
  put32(file, r + 3600, 300);            // brightness above 256
  put32(file, r + 3728, static_cast<std::int64_t>(0xFF000000u));  // not a colour
  put32(file, r + 8368, 65536);                                   // NetworkPort
  put32(file, r + 8368 + 72, -1);                                 // ImportTimeout
  put32(file, r + 8572 + 68, 256);                                // an export target octet
  put32(file, r + 11656, 7);                                      // valid range kind
  put32(file, r + 11708 + 4, -3);                                 // ArchivePicture1Number
  put32(file, r + 11708 + 24, 40);        // ArchiveExpandStartSlot beyond the gallery
  std::memset(&file[r + 180], 'x', 512);  // MemoFile without a terminator
  ProgramSettings read;
  read.options.MemoFile = "default memo";
  ASSERT_EQ(decodeProgramSettings(file, read), LoadStatus::Loaded);
  EXPECT_EQ(read.options.PixelSizeX, 1.0);
  EXPECT_EQ(read.options.ShiftUnit, 16);
  EXPECT_EQ(read.options.ShiftInterpolation, 1);
  EXPECT_EQ(read.options.AreaDiffDivisor, 9.0);
  EXPECT_TRUE(read.options.DragMovesImage);
  EXPECT_EQ(read.imageControl.kindColours[0][1], 1);
  EXPECT_EQ(read.imageControl.intensity[1], 1);
  EXPECT_EQ(read.imageControl.brightness[0], 128);
  EXPECT_EQ(read.options.RangeExtractionColour1, rgb(255, 255, 0));
  EXPECT_EQ(read.options.NetworkPort, 24100);
  EXPECT_EQ(read.options.ImportTimeout, 30);
  EXPECT_EQ(read.importer.targets.targets[0], net::ExportTarget{});
  EXPECT_EQ(read.record.validRange, ValidRangeSetting{});
  EXPECT_EQ(read.options.ArchivePicture1Number, 0);
  EXPECT_EQ(read.options.ArchiveExpandStartSlot, 0);
  // The text ends inside its field: 511 characters, so that it can be written back.
  EXPECT_EQ(read.options.MemoFile, std::string(511, 'x'));
}

class ProgramSettingsFile : public ::testing::Test {
 protected:
  std::string path() const { return dir.file(kProgramSettingsFile); }
  TempDir dir;
  FakeUserPort user;
  bool keepBad = false;
};

TEST_F(ProgramSettingsFile, AbsentFileIsCreatedWithTheDefaultsOnlyWhenAllowed) {
  ProgramSettings settings;
  EXPECT_EQ(readMaxPictureSize(dir.path()), std::nullopt);
  EXPECT_FALSE(std::filesystem::exists(path()));  // reading the header never creates it
  EXPECT_EQ(loadProgramSettings(dir.path(), settings, user, false, keepBad), LoadStatus::Absent);
  EXPECT_FALSE(std::filesystem::exists(path()));
  EXPECT_EQ(loadProgramSettings(dir.path(), settings, user, true, keepBad), LoadStatus::Created);
  EXPECT_EQ(readBytes(path()), encodeProgramSettings(settings));
  EXPECT_TRUE(user.messages.empty());
}

TEST_F(ProgramSettingsFile, EmptyFileIsReplacedByTheDefaults) {
  writeBytes(path(), {});
  ProgramSettings settings;
  EXPECT_EQ(loadProgramSettings(dir.path(), settings, user, true, keepBad), LoadStatus::Created);
  EXPECT_EQ(readBytes(path()).size(), 12044u);
}

TEST_F(ProgramSettingsFile, HeaderSizeIsCorrectedBeforeUse) {
  std::vector<std::uint8_t> file = encodeProgramSettings(ProgramSettings{});
  put32(file, 4, 1030);
  put32(file, 8, -7);
  writeBytes(path(), file);
  EXPECT_EQ(readMaxPictureSize(dir.path()), (std::pair{1032, 1024}));
}

TEST_F(ProgramSettingsFile, NewerVersionIsReportedAndTheBadFileKeptBeforeItIsReplaced) {
  std::vector<std::uint8_t> newer = encodeProgramSettings(changedSettings());
  newer[3] = '3';
  writeBytes(path(), newer);
  ProgramSettings settings;
  EXPECT_EQ(loadProgramSettings(dir.path(), settings, user, true, keepBad),
            LoadStatus::VersionMismatch);
  ASSERT_EQ(user.messages.size(), 1u);
  EXPECT_EQ(user.messages[0].icon, Icon::Error);
  EXPECT_EQ(user.messages[0].text, "ﾌﾟﾛｸﾞﾗﾑ情報ﾌｧｲﾙのﾊﾞｰｼﾞｮﾝに矛盾があります\n" + path());
  EXPECT_TRUE(settings == ProgramSettings{});
  EXPECT_TRUE(keepBad);

  ASSERT_TRUE(saveProgramSettings(dir.path(), settings, user, keepBad));
  EXPECT_EQ(readBytes(path() + ".bad"), newer);
  EXPECT_EQ(readBytes(path())[3], '2');
  EXPECT_FALSE(keepBad);
  // Later saves leave the kept file alone.
  settings.options.DragMinimumMove = 99;
  ASSERT_TRUE(saveProgramSettings(dir.path(), settings, user, keepBad));
  EXPECT_EQ(readBytes(path() + ".bad"), newer);
}

TEST_F(ProgramSettingsFile, ForeignFileIsReportedAsUnreadable) {
  writeBytes(path(), {'B', 'M', 0, 0, 1, 2, 3});
  ProgramSettings settings;
  EXPECT_EQ(loadProgramSettings(dir.path(), settings, user, true, keepBad), LoadStatus::ReadFailed);
  ASSERT_EQ(user.messages.size(), 1u);
  EXPECT_EQ(user.messages[0].text, "ﾌｧｲﾙの読み込みができません\n" + path());
  EXPECT_TRUE(keepBad);
}

TEST_F(ProgramSettingsFile, KeepsPreviousSettingsWhenWriteFails) {
  std::filesystem::create_directory(path());  // a folder where the file should be
  ProgramSettings settings;
  EXPECT_FALSE(saveProgramSettings(dir.path(), settings, user, keepBad));
  ASSERT_EQ(user.messages.size(), 1u);
  EXPECT_EQ(user.messages[0].text, "ﾌｧｲﾙの書き込みができません\n" + path());
  EXPECT_TRUE(std::filesystem::is_directory(path()));
}

TEST_F(ProgramSettingsFile, WriteIsRefusedWhenTheBadFileCannotBeKept) {
  writeBytes(path(), {'X', 'Y', 'Z', '2'});
  std::filesystem::create_directory(path() + ".bad");
  ProgramSettings settings;
  loadProgramSettings(dir.path(), settings, user, true, keepBad);
  EXPECT_FALSE(saveProgramSettings(dir.path(), settings, user, keepBad));
  EXPECT_EQ(readBytes(path()), (std::vector<std::uint8_t>{'X', 'Y', 'Z', '2'}));
}

}  // namespace
}  // namespace vemla::persist
