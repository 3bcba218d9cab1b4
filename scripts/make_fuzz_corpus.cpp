// Writes the seed corpus of the fuzz targets whose inputs are files of our own formats:
// fuzz/corpus/<target>/ for each, made by the project's own encoders, small and large, with
// every kind of entry present. Each folder written here is emptied first, so it holds exactly
// what this program makes. Deterministic: the same files every run.
// Usage: vemla_make_fuzz_corpus CORPUS_FOLDER (normally fuzz/corpus)
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "extensions/launcher.h"
#include "net/wire_format.h"
#include "persist/exchange_file.h"
#include "persist/own_options.h"
#include "persist/program_settings.h"
#include "persist/settings_io.h"
#include "persist/small_tables.h"
#include "persist/state_file.h"
#include "picture/bitmap.h"
#include "ports/quiet_user_port.h"
#include "processing/cursor_handover.h"
#include "sample_files.h"
#include "support/picture_encoders.h"
#include "text/cp932.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using namespace vemla;
using namespace vemla::fuzzing;

struct Failure {
  std::string what;
};

class Corpus {
 public:
  explicit Corpus(fs::path top) : top_(std::move(top)) {}

  // Starts the folder of `target` afresh.
  void target(const std::string& name) {
    folder_ = top_ / name;
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }

  void write(const std::string& name, const Bytes& bytes) {
    std::ofstream out(folder_ / name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) throw Failure{"cannot write " + (folder_ / name).string()};
    total_ += bytes.size();
    ++files_;
  }

  std::size_t total() const { return total_; }
  int files() const { return files_; }

 private:
  fs::path top_;
  fs::path folder_;
  std::size_t total_ = 0;
  int files_ = 0;
};

// A scratch folder for the writers that only write files; removed at the end.
class Scratch {
 public:
  Scratch() {
    char pattern[] = "/tmp/vemla-corpus-XXXXXX";
    if (mkdtemp(pattern) == nullptr) throw Failure{"cannot make a scratch folder"};
    folder_ = pattern;
  }
  ~Scratch() {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }
  const std::string& folder() const { return folder_; }
  Bytes read(const std::string& name) const {
    const persist::FileBytes file = persist::readFileStart(folder_ + "/" + name, 1 << 24);
    if (file.state != persist::FileBytes::State::Read) throw Failure{"cannot read back " + name};
    return file.bytes;
  }

 private:
  std::string folder_;
};

Bytes concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

Bytes text(std::string_view utf8) {
  const auto cp932 = text::utf8ToCp932(utf8);
  if (!cp932) throw Failure{"not CP932: " + std::string(utf8)};
  return Bytes(cp932->begin(), cp932->end());
}

Bytes pattern(std::size_t count, int seed) {
  Bytes bytes(count);
  for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + seed);
  return bytes;
}

Bytes little32(std::uint32_t value) {
  return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
          static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

// One edit of patched_file.h: an operation at `offset`, followed by its own bytes.
Bytes edit(std::uint8_t op, std::size_t offset, const Bytes& operands) {
  Bytes bytes{op, static_cast<std::uint8_t>(offset), static_cast<std::uint8_t>(offset >> 8),
              static_cast<std::uint8_t>(offset >> 16)};
  bytes.insert(bytes.end(), operands.begin(), operands.end());
  return bytes;
}

// ---- VemlaCCaP.dat -----------------------------------------------------------------------

// The first byte is the target's request: bit 0 picture only, bits 1-3 and 4-6 the maxima
// (7: 64), the whole byte the data limit.
constexpr std::uint8_t kAnyItemUpTo64 = 0xFE;
constexpr std::uint8_t kPictureOnlyUpTo64 = 0x7F;

void exchangeFiles(Corpus& corpus) {
  corpus.target("vemla_ccap");
  Scratch scratch;
  QuietUserPort user;
  auto file = [&](const persist::ExchangeItem& item) {
    if (persist::writeExchangeItem(scratch.folder(), item, user) != 0)
      throw Failure{"cannot write an exchange item: " +
                    (user.told.empty() ? std::string() : user.told.back())};
    return scratch.read(persist::kExchangeFile);
  };
  auto picture = [](int colourCode, int width, int height, std::string title) {
    persist::ExchangeItem item;
    item.kind = persist::kExchangePicture;
    item.colourCode = colourCode;
    item.title = std::move(title);
    item.width = width;
    item.height = height;
    item.palette = colourCode == 0 ? tintedPalette(width) : greyRamp();
    item.payload =
        pattern(static_cast<std::size_t>(width) * height * persist::bytesPerPixelOfCode(colourCode),
                height);
    return item;
  };
  auto data = [](int length, std::string title) {
    persist::ExchangeItem item;
    item.kind = persist::kExchangeData;
    item.title = std::move(title);
    item.width = length;
    item.payload = pattern(static_cast<std::size_t>(length), 3);
    return item;
  };
  corpus.write("grey_8x8", concat({{kAnyItemUpTo64}, file(picture(0, 8, 8, "scene1.bmp"))}));
  corpus.write("bgr_9x8", concat({{kAnyItemUpTo64}, file(picture(1, 9, 8, "画像２ ｶﾗｰ"))}));
  corpus.write("bgra_8x10", concat({{kPictureOnlyUpTo64}, file(picture(2, 8, 10, "<Gallery3>"))}));
  corpus.write("grey_64x40_long_title",
               concat({{kAnyItemUpTo64}, file(picture(0, 64, 40, std::string(511, 't')))}));
  corpus.write("data_empty", concat({{kAnyItemUpTo64}, file(data(0, ""))}));
  corpus.write("data_100", concat({{kAnyItemUpTo64}, file(data(100, "ﾃﾞｰﾀ列"))}));
  corpus.write("data_refused", concat({{kPictureOnlyUpTo64}, file(data(20, "d"))}));
}

// ---- VemlaGinf.dat -----------------------------------------------------------------------

void galleryFiles(Corpus& corpus) {
  corpus.target("vemla_ginf");
  persist::GalleryInformation created;
  created.header = {0, 0, 0, 0, 0, 0, 0, 0};
  corpus.write("rich", galleryFile(richGallery()));
  corpus.write("created", galleryFile(created));
  corpus.write("newer_version", {'V', 'I', 'G', '1'});

  // Offsets in the file: the magic, the 32-byte header, then 1188-byte slot records of kind,
  // 132-byte title, width, height, true-colour code, 16 reserved bytes and the palette.
  constexpr std::size_t kHeader = 4, kSlots = 4 + 32, kSlot = 1188;
  corpus.target("vemla_ginf_patched");
  corpus.write("rich", {0});
  corpus.write("created", {1});
  corpus.write("count_out_of_range",
               concat({{0}, edit(1, kHeader, little32(33)), edit(1, kHeader + 4, little32(30))}));
  corpus.write("title_not_cp932", concat({{0}, edit(0, kSlots + kSlot + 4, {1, 0x81, 0x7F})}));
  corpus.write("title_unterminated",
               concat({{0}, edit(2, kSlots + 2 * kSlot + 4, {131, 0, 0x82})}));
  corpus.write("slot_kinds", concat({{1},
                                     edit(1, kSlots, little32(4)),
                                     edit(1, kSlots + kSlot, little32(0xFFFFFFFF)),
                                     edit(1, kSlots + kSlot + 4 + 132 + 8, little32(3))}));
  corpus.write("truncated", concat({{0}, edit(3, kSlots + 20 * kSlot + 7, {})}));
}

// ---- VemlaUinf.dat -----------------------------------------------------------------------

void userInfoFiles(Corpus& corpus) {
  corpus.target("vemla_uinf");
  const UserFile rich = richUserInfo();
  corpus.write("version1", rich.encoded());
  corpus.write("version0", userInfoVersion0(rich));
  corpus.write("foreign", {'V', 'I', 'X', '1'});

  // Offsets in the file: the magic, then 1880-byte processing entries of in-use flag, 36-byte
  // name, form, filter picture, 81 16-byte elements, correction, divisor and 516-byte
  // expression; after them the colour entries, the association state and the history.
  constexpr std::size_t kEntries = 4, kEntry = 1880;
  constexpr std::size_t kForm = 4 + 36, kElements = kForm + 8,
                        kExpression = kElements + 81 * 16 + 20;
  constexpr std::size_t kRecent = 4 + persist::kUserBlockBytes;
  corpus.target("vemla_uinf_patched");
  corpus.write("version1", {0});
  corpus.write("version0", {1});
  corpus.write("empty", {2});
  corpus.write("flags_out_of_range",
               concat({{0},
                       edit(1, kEntries + kForm, little32(2)),
                       edit(1, kEntries + kForm + 4, little32(0x80000000)),
                       edit(1, kEntries + 3 * kEntry + kElements + 81 * 16, little32(7))}));
  corpus.write("expression_not_cp932",
               concat({{0}, edit(2, kEntries + 3 * kEntry + kExpression, {0xFF, 0x01, 0xFD})}));
  corpus.write("element_unterminated", concat({{0},
                                               edit(0, kEntries + kElements + 16,
                                                    {15, 'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h',
                                                     'i', 'j', 'k', 'l', 'm', 'n', 'o', 0x88})}));
  corpus.write("recent_cut", concat({{0}, edit(3, kRecent + 600, {})}));
  corpus.write("version_digit", concat({{1}, edit(0, 3, {0, '7'})}));
}

// ---- VemlaAinf.dat, VemlaDinf.dat, VemlaDpos.dat -----------------------------------------

void smallTables(Corpus& corpus) {
  corpus.target("vemla_ainf");
  persist::AssociationTable associations;
  associations[0] = {"bmp", "/usr/bin/viewer"};
  associations[1] = {"raw", "/opt/画像/表示"};
  associations[2] = {"dat", ""};
  associations[4] = {"abcdefgh", std::string(259, 'a')};
  corpus.write("four_entries", persist::encodeAssociations(associations));
  corpus.write("empty", persist::encodeAssociations({}));

  corpus.target("vemla_dinf");
  persist::StateSlotTable slots;
  slots[0] = {1, "/home/user/state1.vms"};
  slots[2] = {1, "/状態/二番.vms"};
  slots[3] = {1, std::string(511, 's')};
  corpus.write("three_used", persist::encodeStateSlots(slots));
  corpus.write("empty", persist::encodeStateSlots({}));

  corpus.target("vemla_dpos");
  for (const auto& [name, position] :
       {std::pair{"origin", HandedPosition{0, 0}}, std::pair{"inside", HandedPosition{12, 345}},
        std::pair{"extremes", HandedPosition{INT_MAX, INT_MIN}}}) {
    const auto bytes = encodeCursorHandOver(position);
    corpus.write(name, Bytes(bytes.begin(), bytes.end()));
  }
}

// ---- state-memory files (.vic) -----------------------------------------------------------

// States of 8 x 8 and 12 x 9 pictures with every text field used, and a format-1 file (no
// extension), for a reader that takes at most 64 x 64.
void stateFiles(Corpus& corpus) {
  corpus.target("state_file");
  const auto state = [](int width, int height, bool rich) {
    persist::StateRecord record;
    record.width = width;
    record.height = height;
    record.division = 16;
    record.magnification = 4;
    record.centre = {width / 2, height / 2};
    record.gridWidth = 10;
    if (rich) {
      record.names = {"/home/user/画像1.bmp", "<memo>"};
      record.kinds = {99, 2};
      record.processingNames = {"ｴｯｼﾞ", ""};
      record.colours = {1, 17};
      record.colourNames = {"", "heat"};
      record.alignment = {1, 1, 8, 5, 1, 32};
      record.reducedDisplay = 1;
    }
    std::array<Palette, 2> palettes{greyRamp(), greyRamp()};
    palettes[1][4] = 0x80;
    const std::size_t pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    std::array<Bytes, 3> planes;
    for (std::size_t p = 0; p < planes.size(); ++p) {
      planes[p].resize(pixels);
      for (std::size_t i = 0; i < pixels; ++i)
        planes[p][i] = static_cast<std::uint8_t>(i * (p + 3));
    }
    return persist::encodeStateFile(record, palettes,
                                    {{planes[0].data(), planes[1].data(), planes[2].data()}});
  };
  corpus.write("rich_12x9", state(12, 9, true));
  corpus.write("plain_8x8", state(8, 8, false));
  Bytes format1 = state(8, 8, true);
  format1.erase(format1.begin() + 1652, format1.begin() + 1652 + 64);
  format1[4] = 1;
  corpus.write("format1_8x8", format1);
}

// ---- VemlaPinf.dat -----------------------------------------------------------------------

// The files are mostly zero past their last set field; a file cut there reads the same
// values (the reader takes missing bytes as zeros), so the seeds stay small.
Bytes withoutTrailingZeros(Bytes bytes) {
  while (!bytes.empty() && bytes.back() == 0) bytes.pop_back();
  return bytes;
}

void programSettingsFiles(Corpus& corpus) {
  corpus.target("vemla_pinf");
  const persist::ProgramSettings settings = richProgramSettings();
  corpus.write("version2", withoutTrailingZeros(persist::encodeProgramSettings(settings)));
  corpus.write("defaults", withoutTrailingZeros(persist::encodeProgramSettings({})));
  for (int version = 0; version < persist::kProgramSettingsVersion; ++version) {
    corpus.write("version" + std::to_string(version),
                 withoutTrailingZeros(programSettingsFile(settings, version)));
  }
  corpus.write("newer_version", {'V', 'I', 'P', '3'});

  // The maximum size sits after the magic; the record's first field after it.
  corpus.target("vemla_pinf_patched");
  corpus.write("version2", {0});
  corpus.write("version1", {1});
  corpus.write("version0", {2});
  corpus.write("defaults", {3});
  corpus.write("maximum_size_odd",
               concat({{0}, edit(1, 4, little32(4097)), edit(1, 8, little32(0xFFFFFFFF))}));
  corpus.write("record_cut", concat({{0}, edit(3, 150000, {})}));
  corpus.write("record_filled", concat({{1}, edit(2, 120000, {0xFF, 0x07, 0x81})}));
}

// ---- Network -----------------------------------------------------------------------------

// The target's prefix: the length in network byte order, the maxima bytes (8 + 20 n) and the
// import options (bit 0 as grey, bit 1 take the position, bit 2 take the magnification).
Bytes reply(std::int32_t length, std::uint8_t widthChoice, std::uint8_t heightChoice,
            std::uint8_t options, const Bytes& payload) {
  const net::LengthBytes announced = net::encodeLength(length);
  return concat(
      {Bytes(announced.begin(), announced.end()), {widthChoice, heightChoice, options}, payload});
}

Bytes pair(int width, int height, int x, int y, int magnification, bool reduced) {
  const Palette first = tintedPalette(1);
  const Bytes pixels = pattern(2 * static_cast<std::size_t>(width) * height, 9);
  const net::PairSource source{width,
                               height,
                               x,
                               y,
                               magnification,
                               reduced,
                               {&first, nullptr},
                               {pixels.data(), pixels.data() + pixels.size() / 2}};
  return net::encodePayload(source);
}

void networkFiles(Corpus& corpus) {
  corpus.target("net_payload");
  auto whole = [](const Bytes& payload, std::uint8_t options) {
    return reply(static_cast<std::int32_t>(payload.size()), 50, 50, options, payload);
  };
  corpus.write("pair_8x8", whole(pair(8, 8, 3, 4, 2, false), 7));
  corpus.write("pair_9x8_reduced_grey", whole(pair(9, 8, 0, 0, 1, true), 1));
  corpus.write("pair_12x10_hostile_view", whole(pair(12, 10, -5, 4000, 200, true), 6));
  corpus.write("pair_40x30_keep_view", whole(pair(40, 30, 39, 29, 64, false), 0));
  corpus.write("pair_7x8_too_narrow", whole(pair(7, 8, 3, 4, 1, false), 7));
  const Bytes large = pair(100, 8, 50, 4, 1, false);
  corpus.write("pair_100x8_beyond_maxima",
               reply(static_cast<std::int32_t>(large.size()), 2, 50, 7, large));
  corpus.write("pair_100x8_beyond_store", whole(large, 7));
  corpus.write("password_refused", reply(net::kPasswordRefusedLength, 50, 50, 7, {}));
  corpus.write("length_beyond_buffer", reply(INT_MAX, 255, 255, 7, pair(8, 8, 0, 0, 1, false)));
  corpus.write("length_short", reply(2000, 50, 50, 7, pair(8, 8, 0, 0, 1, false)));
}

// ---- Other inputs of our own -------------------------------------------------------------

void otherInputs(Corpus& corpus) {
  // fixed_field: the first byte is the field size (255: the rest of the input).
  corpus.target("fixed_field");
  corpus.write("ascii", concat({{12}, text("scene1.bmp"), {0}}));
  corpus.write("cp932_whole", concat({{255}, text("画像１と画像２の差分ﾃﾞｰﾀ")}));
  corpus.write("cut_in_character", concat({{5}, text("ab漢字")}));
  corpus.write("no_terminator", concat({{8}, text("abcdefgh"), text("ij")}));

  // memory_item: the file's kind and the request's flags, the dialogs' answers, the file.
  corpus.target("memory_item");
  Scratch scratch;
  const Bytes grey = pattern(12 * 9, 1), colour = pattern(10 * 8 * 3, 2);
  const Palette palette = tintedPalette(4);
  if (writeBitmap(scratch.folder() + "/grey.bmp", 12, 9, 1, grey.data(), &palette) != 0 ||
      writeBitmap(scratch.folder() + "/colour.bmp", 10, 8, 3, colour.data(), nullptr) != 0) {
    throw Failure{"cannot write the bitmaps"};
  }
  corpus.write("bitmap_grey", concat({{0x00, 0x00}, scratch.read("grey.bmp")}));
  corpus.write("bitmap_colour_to_grey", concat({{0x34, 0x00}, scratch.read("colour.bmp")}));
  corpus.write("bitmap_colour_kept", concat({{0x03, 0x00}, scratch.read("colour.bmp")}));
  // The raw size dialog answers 1 + (seed & 63) by 1 + ((seed >> 2) & 63) from offset 0 for an
  // even seed: 9 x 3 for 8.
  corpus.write("raw_9x3", concat({{0x01, 0x08}, pattern(27, 5)}));
  corpus.write("data", concat({{0x02, 0x00}, pattern(40, 6)}));

  // archive_roundtrip: each item is kind, bytes per pixel (pictures), width, height
  // (pictures), an empty-data choice (data), title length and letters, a palette choice
  // (pictures), the work buffer choice, then the content's seed and step (0: bytes follow).
  corpus.target("archive_roundtrip");
  corpus.write("picture_and_data", {1, 0, 7, 5, 3, 1, 2, 3,  0, 1, 40, 2,  //
                                    2, 9, 1, 2, 7, 8, 1, 33, 1});
  corpus.write("colour_stored", {1, 1, 20, 20, 0, 1, 0, 5, 0});
  corpus.write("empty_and_zero_length", {0, 3, 0, 1, 0, 1, 2, 0, 0, 0, 0, 0, 1});
}

// ---- launch files (.vie) ------------------------------------------------------------------

// Templates that reach each placeholder, quotes and the refusals.
void launchFiles(Corpus& corpus) {
  corpus.target("launch_file");
  LauncherSettings settings;
  settings.program = "/usr/local/bin/filter tool";
  settings.files = {"/data/a b.txt", "", "ﾃﾞｰﾀ.csv", ""};
  settings.output = 1;
  settings.destination = 2;
  settings.timing = 1;
  const std::array<std::pair<const char*, const char*>, 4> templates{{
      {"all_placeholders", "<p1> <P2> -i<I1>,<I2> \"<OUT>\" <F1> <F3> <SX>x<SY> <CX> <CY> <G1 >"},
      {"quotes_and_text", "\"a  b\" \"\" a<b \"<P1>\" -o<OUT>"},
      {"refused_gallery", "<G 3> <OUT>"},
      {"two_outputs", "<OUT> <out> <F2>"},
  }};
  for (const auto& [name, arguments] : templates) {
    settings.arguments = arguments;
    const auto bytes = encodeLaunchFile(settings);
    corpus.write(name, Bytes(bytes.begin(), bytes.end()));
  }
}

// ---- the program's own options file (VemlaOptions.txt) --------------------------------------

// Each 16-bit rule as written, and lines the reader must refuse or skip.
void ownOptionsFiles(Corpus& corpus) {
  corpus.target("own_options");
  const auto text = [](const std::string& value) { return Bytes(value.begin(), value.end()); };
  const std::array<std::pair<const char*, SixteenBitConversion>, 3> rules{{
      {"significant", {}},
      {"top_byte", {SixteenBitRule::TopByte}},
      {"window", {SixteenBitRule::Window, 100, 4095}},
  }};
  for (const auto& [name, rule] : rules) {
    Options options;
    options.SixteenBit = rule;
    corpus.write(name, text(persist::encodeOwnOptions(options)));
  }
  corpus.write("hostile_lines", text("# comment\r\n  SixteenBit = window:5,4\r\nUnknown=1\n"
                                     "SixteenBit\nSixteenBit=window:0,65536\n=\n\n"
                                     "SixteenBit=top\n"));
}

}  // namespace

// Small picture files of every kind the readers take (the fuzz targets take the last byte of
// each file as their reader options too).
void pictureFiles(Corpus& corpus) {
  using namespace vemla::testing;
  const auto samples = [](int width, int height, int channels, int bits) {
    std::vector<std::uint16_t> out;
    for (int i = 0; i < width * height * channels; ++i) {
      out.push_back(static_cast<std::uint16_t>((i * 2654435761u >> 7) % (1u << bits)));
    }
    return out;
  };
  corpus.target("png");
  const auto png = [&](const char* name, int type, int depth, int channels, bool interlaced,
                       int sbit) {
    PngFile f{9, 8, type, depth, interlaced, sbit, {}};
    if (type == SPNG_COLOR_TYPE_INDEXED) {
      for (int i = 0; i < (1 << depth); ++i) {
        f.palette.push_back({static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i * 3),
                             static_cast<std::uint8_t>(255 - i)});
      }
    }
    corpus.write(name, encodePng(f, samples(9, 8, channels, depth)));
  };
  png("grey1", SPNG_COLOR_TYPE_GRAYSCALE, 1, 1, false, 0);
  png("grey8_interlaced", SPNG_COLOR_TYPE_GRAYSCALE, 8, 1, true, 0);
  png("grey16_sbit12", SPNG_COLOR_TYPE_GRAYSCALE, 16, 1, false, 12);
  png("grey_alpha16", SPNG_COLOR_TYPE_GRAYSCALE_ALPHA, 16, 2, false, 0);
  png("palette4", SPNG_COLOR_TYPE_INDEXED, 4, 1, false, 0);
  png("rgb16_interlaced", SPNG_COLOR_TYPE_TRUECOLOR, 16, 3, true, 0);
  png("rgba8", SPNG_COLOR_TYPE_TRUECOLOR_ALPHA, 8, 4, false, 0);

  corpus.target("tiff");
  const auto tiff = [&](const char* name, TiffFile f, int bits) {
    f.width = 9;
    f.height = 8;
    corpus.write(name, encodeTiff(f, samples(9, 8, f.samples, bits)));
  };
  tiff("grey8_strips", TiffFile{}, 8);
  tiff("grey8_lzw_big_endian", TiffFile{.compression = COMPRESSION_LZW, .bigEndian = true}, 8);
  tiff("grey8_packbits_white",
       TiffFile{.photometric = PHOTOMETRIC_MINISWHITE, .compression = COMPRESSION_PACKBITS}, 8);
  tiff("grey16_max4095_tiles", TiffFile{.bits = 16, .tileSize = 16, .maxSampleValue = 4095}, 12);
  tiff("palette8_deflate",
       TiffFile{.photometric = PHOTOMETRIC_PALETTE, .compression = COMPRESSION_ADOBE_DEFLATE}, 8);
  tiff("rgba8_pages", TiffFile{.samples = 4, .photometric = PHOTOMETRIC_RGB, .pages = 2}, 8);

  corpus.target("jpeg");
  std::vector<std::uint8_t> pixels(16 * 16 * 3);
  for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint8_t>(i * 7);
  corpus.write(
      "grey", encodeJpeg(16, 16, 1, std::vector<std::uint8_t>(pixels.begin(), pixels.begin() + 256),
                         false));
  corpus.write("colour", encodeJpeg(16, 16, 3, pixels, false));
  corpus.write("colour_progressive", encodeJpeg(16, 16, 3, pixels, true));

  corpus.target("pnm");
  corpus.write("p2", encodePnm("P2", 9, 8, 255, samples(9, 8, 1, 8)));
  corpus.write("p3_maxval_1000", encodePnm("P3", 9, 8, 1000, samples(9, 8, 3, 9)));
  corpus.write("p5_maxval_4095", encodePnm("P5", 9, 8, 4095, samples(9, 8, 1, 12)));
  corpus.write("p6", encodePnm("P6", 9, 8, 255, samples(9, 8, 3, 8)));
}

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s CORPUS_FOLDER\n", argv[0]);
    return 2;
  }
  try {
    Corpus corpus(argv[1]);
    exchangeFiles(corpus);
    galleryFiles(corpus);
    userInfoFiles(corpus);
    smallTables(corpus);
    stateFiles(corpus);
    programSettingsFiles(corpus);
    networkFiles(corpus);
    otherInputs(corpus);
    launchFiles(corpus);
    pictureFiles(corpus);
    ownOptionsFiles(corpus);
    std::printf("wrote %d seeds, %zu bytes, under %s\n", corpus.files(), corpus.total(), argv[1]);
  } catch (const Failure& failure) {
    std::fprintf(stderr, "%s\n", failure.what.c_str());
    return 1;
  } catch (const fs::filesystem_error& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  return 0;
}
