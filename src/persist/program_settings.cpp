#include "persist/program_settings.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "net/export_targets.h"
#include "options/option_table.h"

namespace vemla::persist {

namespace {

constexpr std::size_t kPathBytes = 512;

// ---- options ----------------------------------------------------------------------------

// An option as stored: flags and integers as 32-bit, reals as doubles, colours as 0x00BBGGRR,
// texts as a fixed field of `textBytes`, the number set as one byte per number.
struct OptionWriter {
  FieldWriter& w;
  std::size_t textBytes;
  void operator()(bool value) const { w.flag(value); }
  void operator()(int value) const { w.int32(value); }
  void operator()(double value) const { w.real(value); }
  void operator()(std::uint32_t value) const { w.uint32(value); }
  void operator()(const std::string& value) const { w.text(value, textBytes); }
  void operator()(const std::array<bool, kArchiveItemLimit>& numbers) const {
    for (bool selected : numbers) w.bytes(std::array<std::uint8_t, 1>{selected});
  }
  // Kept in the program's own options file (own_options.h); the layout has no field for it.
  void operator()(const SixteenBitConversion&) const {}
};

// Values that cannot be a flag or a selection keep what the options held; the other kinds are
// corrected by the option table afterwards.
struct OptionReader {
  FieldReader& r;
  std::size_t textBytes;
  void operator()(bool& value) const {
    const std::int32_t stored = r.int32();
    if (stored == 0 || stored == 1) value = stored == 1;
  }
  void operator()(int& value) const { value = r.int32(); }
  void operator()(double& value) const { value = r.real(); }
  void operator()(std::uint32_t& value) const { value = r.uint32(); }
  void operator()(std::string& value) const {
    bool valid = true;
    std::string stored = r.text(textBytes, &valid);
    if (valid) value = std::move(stored);
  }
  void operator()(std::array<bool, kArchiveItemLimit>& numbers) const {
    for (bool& selected : numbers) {
      std::array<std::uint8_t, 1> byte{};
      r.bytes(byte);
      if (byte[0] <= 1) selected = byte[0] == 1;
    }
  }
  void operator()(SixteenBitConversion&) const {}
};

struct OptionRef {
  const OptionDescriptor* option;
  std::size_t textBytes = 0;
  void put(FieldWriter& w, const ProgramSettings& s) const {
    visitOption(*option, s.options, OptionWriter{w, textBytes});
  }
  void get(FieldReader& r, ProgramSettings& s) const {
    visitOption(*option, s.options, OptionReader{r, textBytes});
  }
};

OptionRef ref(std::string_view name, std::size_t textBytes = 0) {
  return {&optionNamed(name), textBytes};
}

SettingsField optionField(std::string_view name, std::uint32_t size, int version = 0) {
  const OptionRef option = ref(name, size);
  return {option.option->name, size, version,
          [option](const ProgramSettings& s, FieldWriter& w) { option.put(w, s); },
          [option](FieldReader& r, ProgramSettings& s) { option.get(r, s); }};
}

// A field made of several options in order.
SettingsField optionsField(std::string_view content, std::uint32_t size,
                           std::vector<OptionRef> parts, int version = 0) {
  return {content, size, version,
          [parts](const ProgramSettings& s, FieldWriter& w) {
            for (const OptionRef& part : parts) part.put(w, s);
          },
          [parts](FieldReader& r, ProgramSettings& s) {
            for (const OptionRef& part : parts) part.get(r, s);
          }};
}

// ---- record values ----------------------------------------------------------------------

void putValue(FieldWriter& w, std::int32_t value) {
  w.int32(value);
}
void putValue(FieldWriter& w, std::uint32_t value) {
  w.uint32(value);
}
void getValue(FieldReader& r, std::int32_t& value) {
  value = r.int32();
}
void getValue(FieldReader& r, std::uint32_t& value) {
  value = r.uint32();
}
template <std::size_t N>
void putValue(FieldWriter& w, const std::array<std::uint8_t, N>& bytes) {
  w.bytes(bytes);
}
template <std::size_t N>
void getValue(FieldReader& r, std::array<std::uint8_t, N>& bytes) {
  r.bytes(bytes);
}
template <typename T, std::size_t N>
void putValue(FieldWriter& w, const std::array<T, N>& values) {
  for (const T& value : values) putValue(w, value);
}
template <typename T, std::size_t N>
void getValue(FieldReader& r, std::array<T, N>& values) {
  for (T& value : values) getValue(r, value);
}

// A field holding one value of the settings; `access` returns a reference to it.
template <typename Access>
SettingsField valueField(std::string_view content, std::uint32_t size, Access access) {
  return {content, size, 0,
          [access](const ProgramSettings& s, FieldWriter& w) {
            putValue(w, access(const_cast<ProgramSettings&>(s)));
          },
          [access](FieldReader& r, ProgramSettings& s) { getValue(r, access(s)); }};
}

// A field holding one member of the rest of the record.
template <typename Access>
SettingsField recordField(std::string_view content, std::uint32_t size, Access access) {
  return valueField(
      content, size, [access](ProgramSettings & s) -> auto& { return access(s.record); });
}

SettingsField textField(std::string_view content, std::uint32_t size,
                        std::string& (*access)(ProgramRecord&)) {
  return {content, size, 0,
          [access, size](const ProgramSettings& s, FieldWriter& w) {
            w.text(access(const_cast<ProgramRecord&>(s.record)), size);
          },
          [access, size](FieldReader& r, ProgramSettings& s) {
            bool valid = true;
            std::string value = r.text(size, &valid);
            if (valid) access(s.record) = std::move(value);
          }};
}

// Reads a text field into `target` only when its bytes are CP932.
void getText(FieldReader& r, std::string& target, std::size_t size) {
  bool valid = true;
  std::string value = r.text(size, &valid);
  if (valid) target = std::move(value);
}

void putTarget(FieldWriter& w, const net::ExportTarget& target, bool withUsed) {
  if (withUsed) w.int32(target.used);
  w.text(target.name, 64);
  putValue(w, target.octets);
  w.text(target.password, 96);
}

void getTarget(FieldReader& r, net::ExportTarget& target, bool withUsed) {
  if (withUsed) target.used = r.int32();
  getText(r, target.name, 64);
  getValue(r, target.octets);
  getText(r, target.password, 96);
}

void putLauncher(FieldWriter& w, const LauncherSettings& l,
                 const std::array<std::uint8_t, 576>& reserved) {
  w.text(l.program, kPathBytes);
  w.text(l.arguments, kPathBytes);
  for (const std::string& file : l.files) w.text(file, kPathBytes);
  for (std::int32_t value :
       {l.format, l.output, l.destination, l.console, l.showOutput, l.timing, l.close}) {
    w.int32(value);
  }
  w.bytes(reserved);
}

void getLauncher(FieldReader& r, LauncherSettings& l, std::array<std::uint8_t, 576>& reserved) {
  getText(r, l.program, kPathBytes);
  getText(r, l.arguments, kPathBytes);
  for (std::string& file : l.files) getText(r, file, kPathBytes);
  for (std::int32_t* value :
       {&l.format, &l.output, &l.destination, &l.console, &l.showOutput, &l.timing, &l.close}) {
    *value = r.int32();
  }
  r.bytes(reserved);
}

std::vector<SettingsField> buildFields() {
  std::vector<SettingsField> f;
  f.push_back(optionField("PixelSizeX", 8));          // 0
  f.push_back(optionField("PixelSizeY", 8));          // 1
  f.push_back(optionField("ShiftUnit", 4));           // 2
  f.push_back(optionField("ZoomInterpolation", 4));   // 3
  f.push_back(optionField("ShiftInterpolation", 4));  // 4
  f.push_back({"area difference", 40, 0,              // 5
               [a = ref("AreaDiffRangeX"), b = ref("AreaDiffRangeY"), k = ref("AreaDiffKind"),
                d = ref("AreaDiffDivisor")](const ProgramSettings& s, FieldWriter& w) {
                 a.put(w, s);
                 b.put(w, s);
                 k.put(w, s);
                 w.bytes(s.record.areaPadding);
                 d.put(w, s);
                 w.bytes(s.record.areaReserved);
               },
               [a = ref("AreaDiffRangeX"), b = ref("AreaDiffRangeY"), k = ref("AreaDiffKind"),
                d = ref("AreaDiffDivisor")](FieldReader& r, ProgramSettings& s) {
                 a.get(r, s);
                 b.get(r, s);
                 k.get(r, s);
                 r.bytes(s.record.areaPadding);
                 d.get(r, s);
                 r.bytes(s.record.areaReserved);
               }});
  for (const char* name :
       {"DragMovesImage", "DragMinimumMove", "RightClickCentres", "PopupColourTurnsColourOn"}) {
    f.push_back(optionField(name, 4));  // 6-9
  }
  {
    std::vector<OptionRef> keep;
    for (const char* name :
         {"KeepValidRangeMode", "KeepAlignment", "KeepDisplayPosition", "KeepImageKind",
          "KeepMagnification", "KeepZoomInterpolation", "KeepColourDisplay", "KeepRangeExtraction",
          "KeepGrid", "KeepUserProgramResult"}) {
      keep.push_back(ref(name));
    }
    SettingsField carry = optionsField("carry-over options", 64, keep);  // 10
    carry.encode = [keep](const ProgramSettings& s, FieldWriter& w) {
      for (const OptionRef& part : keep) part.put(w, s);
      putValue(w, s.record.carryOverReserved);
    };
    carry.decode = [keep](FieldReader& r, ProgramSettings& s) {
      for (const OptionRef& part : keep) part.get(r, s);
      getValue(r, s.record.carryOverReserved);
    };
    f.push_back(std::move(carry));
  }
  for (const char* name :
       {"ProfileGridGradation", "ProfileGridPixels", "View3DAngleX", "View3DAngleZ",
        "View3DLuminance", "View3DWireWidth", "View3DPolygonWidth", "MeasureEdgeLevel"}) {
    f.push_back(optionField(name, 4));  // 11-18
  }
  f.push_back(optionField("MemoFile", 512));  // 19
  f.push_back(optionsField("GreyRatioR, GreyRatioG, GreyRatioB", 24,
                           {ref("GreyRatioR"), ref("GreyRatioG"), ref("GreyRatioB")}));  // 20
  f.push_back(optionField("SaveBitmapAsGrey", 4));                                       // 21
  f.push_back(optionField("RawDefaultWidth", 4));                                        // 22
  f.push_back(optionField("RawDefaultHeight", 4));                                       // 23
  f.push_back(textField("last file of picture 1", 512, [](ProgramRecord& r) -> std::string& {
    return r.lastFiles.openPicture[index(PictureSlot::First)];
  }));  // 24
  f.push_back(textField("last file of picture 2", 512, [](ProgramRecord& r) -> std::string& {
    return r.lastFiles.openPicture[index(PictureSlot::Second)];
  }));  // 25
  f.push_back(textField("last save-as file", 512, [](ProgramRecord& r) -> std::string& {
    return r.lastFiles.saveAs;
  }));  // 26
  f.push_back(textField("last text export file", 512, [](ProgramRecord& r) -> std::string& {
    return r.lastFiles.greyValueText;
  }));                                                // 27
  f.push_back(optionField("ScopeMagnification", 4));  // 28
  f.push_back(optionField("ScopePosition", 4));       // 29
  f.push_back({"user name", 260, 0,                   // 30
               [](const ProgramSettings& s, FieldWriter& w) { w.text(s.importer.userName, 260); },
               [](FieldReader& r, ProgramSettings& s) { getText(r, s.importer.userName, 260); }});
  for (std::size_t i = 0; i < 5; ++i) {  // 31-35
    f.push_back(recordField("reserved word", 4,
                            [i](ProgramRecord& r) -> std::int32_t& { return r.reservedWords[i]; }));
  }
  for (std::size_t i = 0; i < 6; ++i) {  // 36-41: words in the order of ControlWord
    f.push_back(recordField("control word", 4,
                            [i](ProgramRecord& r) -> std::int32_t& { return r.controlWords[i]; }));
  }
  for (std::size_t image = 0; image < 2; ++image) {  // 42-43
    f.push_back(valueField(
        "colour kinds by image kind",
        128, [image](ProgramSettings & s) -> auto& { return s.imageControl.kindColours[image]; }));
  }
  for (std::size_t image = 0; image < 2; ++image) {  // 44-45
    f.push_back(valueField(
        "colour kinds by user processing", 64, [image](ProgramSettings & s) -> auto& {
          return s.imageControl.userProcessingColours[image];
        }));
  }
  f.push_back(valueField(
      "intensity by colour kind", 128,
      [](ProgramSettings & s) -> auto& { return s.imageControl.intensity; }));
  f.push_back(valueField(
      "brightness by colour kind", 128,
      [](ProgramSettings & s) -> auto& { return s.imageControl.brightness; }));
  f.push_back(optionsField("range extraction colours", 8,
                           {ref("RangeExtractionColour1"), ref("RangeExtractionColour2")}));  // 48
  f.push_back(
      optionsField("profile colours", 8, {ref("ProfileColour1"), ref("ProfileColour2")}));  // 49
  f.push_back(optionsField("grid colours", 8, {ref("GridColour1"), ref("GridColour2")}));   // 50
  f.push_back(recordField(
      "spare colour pair", 8, [](ProgramRecord & r) -> auto& { return r.spareColourPair; }));  // 51
  f.push_back({"display-position marks", 80, 0,                                                // 52
               [](const ProgramSettings& s, FieldWriter& w) {
                 for (const DisplayMark& mark : s.marks) {
                   w.int32(mark.valid);
                   w.int32(mark.x);
                   w.int32(mark.y);
                 }
                 w.bytes(s.record.marksReserved);
               },
               [](FieldReader& r, ProgramSettings& s) {
                 for (DisplayMark& mark : s.marks) {
                   mark.valid = r.int32();
                   mark.x = r.int32();
                   mark.y = r.int32();
                 }
                 r.bytes(s.record.marksReserved);
               }});
  for (std::size_t i = 0; i < 2; ++i) {  // 53-54
    f.push_back(recordField("text export setting", 4,
                            [i](ProgramRecord& r) -> std::int32_t& { return r.textExport[i]; }));
  }
  f.push_back(optionField("RangeFrameColour", 4));  // 55
  for (std::size_t i = 0; i < 4; ++i) {             // 56-59
    f.push_back(recordField("spare colour", 4,
                            [i](ProgramRecord& r) -> std::uint32_t& { return r.spareColours[i]; }));
  }
  f.push_back(recordField(
      "custom colours", 64, [](ProgramRecord & r) -> auto& { return r.customColours; }));  // 60
  f.push_back(recordField(
      "gradation tool state", 4,
      [](ProgramRecord & r) -> auto& { return r.gradationTool.state; }));  // 61
  f.push_back({"gradation tool operators", 144, 0,                         // 62
               [](const ProgramSettings& s, FieldWriter& w) {
                 for (const auto& op : s.record.gradationTool.operators) putValue(w, op);
               },
               [](FieldReader& r, ProgramSettings& s) {
                 for (auto& op : s.record.gradationTool.operators) getValue(r, op);
               }});
  f.push_back(recordField(
      "gradation tool absolute flags", 16,
      [](ProgramRecord & r) -> auto& { return r.gradationTool.absolute; }));  // 63
  f.push_back(recordField(
      "profile tool setting", 4, [](ProgramRecord & r) -> auto& { return r.profileTool; }));  // 64
  f.push_back(optionField("PartialCompareGridX", 4));                                         // 65
  f.push_back(optionField("PartialCompareGridY", 4));                                         // 66
  f.push_back({"user program launcher", 3676, 0,                                              // 67
               [](const ProgramSettings& s, FieldWriter& w) {
                 putLauncher(w, s.record.launcher, s.record.launcherReserved);
               },
               [](FieldReader& r, ProgramSettings& s) {
                 getLauncher(r, s.record.launcher, s.record.launcherReserved);
               }});
  f.push_back({"state memory", 584, 0,  // 68
               [](const ProgramSettings& s, FieldWriter& w) {
                 const StateMemorySettings& m = s.record.stateMemory;
                 w.int32(m.confirm);
                 w.int32(m.displayOnly);
                 w.text(m.lastFile, kPathBytes);
                 w.bytes(s.record.stateMemoryReserved);
               },
               [](FieldReader& r, ProgramSettings& s) {
                 StateMemorySettings& m = s.record.stateMemory;
                 m.confirm = r.int32();
                 m.displayOnly = r.int32();
                 getText(r, m.lastFile, kPathBytes);
                 r.bytes(s.record.stateMemoryReserved);
               }});
  f.push_back(
      {"network", 204, 0,  // 69
       [port = ref("NetworkPort"), password = ref("ImportPassword", 64),
        exportTimeout = ref("ExportTimeout"), importTimeout = ref("ImportTimeout"),
        grey = ref("ImportAsGrey"), position = ref("ImportTakePosition"),
        magnification = ref("ImportTakeMagnification")](const ProgramSettings& s, FieldWriter& w) {
         for (const OptionRef* part : {&port, &password, &exportTimeout, &importTimeout, &grey,
                                       &position, &magnification}) {
           part->put(w, s);
         }
         w.int32(s.importer.targets.selected);
         w.bytes(s.record.networkReserved);
       },
       [port = ref("NetworkPort"), password = ref("ImportPassword", 64),
        exportTimeout = ref("ExportTimeout"), importTimeout = ref("ImportTimeout"),
        grey = ref("ImportAsGrey"), position = ref("ImportTakePosition"),
        magnification = ref("ImportTakeMagnification")](FieldReader& r, ProgramSettings& s) {
         for (const OptionRef* part : {&port, &password, &exportTimeout, &importTimeout, &grey,
                                       &position, &magnification}) {
           part->get(r, s);
         }
         s.importer.targets.selected = r.int32();
         r.bytes(s.record.networkReserved);
       }});
  f.push_back({"export targets", 3056, 0,  // 70
               [](const ProgramSettings& s, FieldWriter& w) {
                 for (const net::ExportTarget& t : s.importer.targets.targets)
                   putTarget(w, t, true);
                 putTarget(w, s.importer.targets.last, false);
               },
               [](FieldReader& r, ProgramSettings& s) {
                 for (net::ExportTarget& t : s.importer.targets.targets) getTarget(r, t, true);
                 getTarget(r, s.importer.targets.last, false);
               }});
  f.push_back(optionField("AskRatioPerFile", 4));      // 71
  f.push_back({"last RGB-ratio dialog ratios", 24, 0,  // 72
               [](const ProgramSettings& s, FieldWriter& w) {
                 w.real(s.record.lastDialogRatios.red);
                 w.real(s.record.lastDialogRatios.green);
                 w.real(s.record.lastDialogRatios.blue);
               },
               [](FieldReader& r, ProgramSettings& s) {
                 s.record.lastDialogRatios.red = r.real();
                 s.record.lastDialogRatios.green = r.real();
                 s.record.lastDialogRatios.blue = r.real();
               }});
  for (int i = 0; i < 8; ++i) {  // 73-80: kind, the size it was set for, rectangle, margin
    f.push_back(recordField("valid range setting", 4, [i](ProgramRecord& r) -> std::int32_t& {
      ValidRangeSetting& v = r.validRange;
      std::int32_t* const parts[8] = {
          &v.kind,          &v.setWidth,        &v.setHeight,        &v.rectangle.left,
          &v.rectangle.top, &v.rectangle.right, &v.rectangle.bottom, &v.margin};
      return *parts[i];
    }));
  }
  {
    using W = WindowRectangle;
    for (std::int32_t W::*member : {&W::x, &W::y, &W::width, &W::height}) {  // 81-84
      f.push_back(recordField(
          "main window rectangle",
          4, [member](ProgramRecord & r) -> auto& { return r.window.*member; }));
    }
  }
  f.push_back(optionField("LockDisplayPosition", 4));  // 85
  {
    std::vector<OptionRef> archive;
    for (const char* name :
         {"ArchiveOpenPicture1", "ArchivePicture1Number", "ArchiveOpenPicture2",
          "ArchivePicture2Number", "ArchiveSelectOnDrop", "ArchiveExpandToGallery",
          "ArchiveExpandStartSlot", "ArchiveSkipEmpty", "ArchiveExpandNumbers"}) {
      archive.push_back(ref(name));
    }
    f.push_back({"archive options", 304, 2,  // 86
                 [archive](const ProgramSettings& s, FieldWriter& w) {
                   for (const OptionRef& part : archive) part.put(w, s);
                   w.bytes(s.record.archiveReserved);
                 },
                 [archive](FieldReader& r, ProgramSettings& s) {
                   for (const OptionRef& part : archive) part.get(r, s);
                   r.bytes(s.record.archiveReserved);
                 }});
  }
  f.push_back(optionField("TrueColourOpenMode", 4, 2));  // 87
  {
    SettingsField warned = recordField(
        "reduced-display measurement warning shown", 4,
        [](ProgramRecord & r) -> auto& { return r.reducedMeasureWarningShown; });
    warned.version = 2;
    f.push_back(std::move(warned));  // 88
  }
  f.push_back(optionField("ViewerWheelZoomOnly", 4, 2));  // 89
  f.push_back(optionField("ViewerForSingleFile", 4, 2));  // 90
  f.push_back(optionField("ViewerShowGradation", 4, 2));  // 91
  return f;
}

bool isFlag(std::int32_t value) {
  return value == 0 || value == 1;
}

template <typename T>
void keepIf(bool valid, T& value, const T& fallback) {
  if (!valid) value = fallback;
}

std::size_t recordBytes(int version) {
  std::size_t total = 0;
  for (const SettingsField& field : programSettingsFields()) {
    if (field.version <= version) total += field.size;
  }
  return total;
}

}  // namespace

std::span<const SettingsField> programSettingsFields() {
  static const std::vector<SettingsField> fields = buildFields();
  return fields;
}

std::vector<std::uint8_t> encodeProgramRecord(const ProgramSettings& settings, int version) {
  std::vector<std::uint8_t> record(recordBytes(version), 0);
  std::size_t offset = 0;
  for (const SettingsField& field : programSettingsFields()) {
    if (field.version > version) continue;
    FieldWriter writer(std::span<std::uint8_t>(record).subspan(offset, field.size));
    field.encode(settings, writer);
    offset += field.size;
  }
  return record;
}

std::vector<std::uint8_t> encodeProgramSettings(const ProgramSettings& settings) {
  std::vector<std::uint8_t> bytes(kProgramHeaderBytes);
  FieldWriter header(bytes);
  header.bytes(std::array<std::uint8_t, 4>{'V', 'I', 'P', '0' + kProgramSettingsVersion});
  header.int32(settings.options.MaxPictureWidth);
  header.int32(settings.options.MaxPictureHeight);
  const std::vector<std::uint8_t> record = encodeProgramRecord(settings, kProgramSettingsVersion);
  bytes.insert(bytes.end(), record.begin(), record.end());
  return bytes;
}

LoadStatus decodeProgramSettings(std::span<const std::uint8_t> bytes, ProgramSettings& settings) {
  if (bytes.size() < 4 || bytes[0] != 'V' || bytes[1] != 'I' || bytes[2] != 'P') {
    return LoadStatus::ReadFailed;
  }
  // A digit above the newest version, or no digit at all, is a file this program cannot know.
  const int version = static_cast<int>(bytes[3]) - '0';
  if (version < 0 || version > kProgramSettingsVersion) return LoadStatus::VersionMismatch;
  std::size_t start = 4;
  if (version >= 1) {
    if (bytes.size() < kProgramHeaderBytes) return LoadStatus::ReadFailed;
    start = kProgramHeaderBytes;
  }
  const std::span<const std::uint8_t> record =
      bytes.subspan(start).first(std::min(bytes.size() - start, kProgramWorkAreaBytes));

  ProgramSettings loaded = settings;
  std::size_t offset = 0;
  for (const SettingsField& field : programSettingsFields()) {
    if (field.version > version) continue;
    const std::size_t begin = std::min(offset, record.size());
    const std::size_t available = std::min<std::size_t>(field.size, record.size() - begin);
    FieldReader reader(record.subspan(begin, available));
    field.decode(reader, loaded);
    offset += field.size;
  }
  correctOptions(loaded.options, settings.options, CorrectionMode::Load);
  correctImageControl(loaded.imageControl);
  correctDisplayMarks(loaded.marks);
  net::correctExportTargets(loaded.importer.targets);
  sanitizeProgramRecord(loaded.record);
  settings = std::move(loaded);
  return record.size() < offset ? LoadStatus::Truncated : LoadStatus::Loaded;
}

std::optional<std::pair<int, int>> decodeMaxPictureSize(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kProgramHeaderBytes || bytes[0] != 'V' || bytes[1] != 'I' || bytes[2] != 'P' ||
      bytes[3] < '1') {
    return std::nullopt;
  }
  FieldReader reader(bytes.subspan(4, 8));
  const std::int64_t width = reader.int32();
  const std::int64_t height = reader.int32();
  return std::pair{correctMaxPictureSize(width), correctMaxPictureSize(height)};
}

std::optional<std::pair<int, int>> readMaxPictureSize(const std::string& folder) {
  const FileBytes file = readFileStart(inFolder(folder, kProgramSettingsFile), kProgramHeaderBytes);
  if (file.state != FileBytes::State::Read) return std::nullopt;
  return decodeMaxPictureSize(file.bytes);
}

LoadStatus loadProgramSettings(const std::string& folder, ProgramSettings& settings, UserPort& user,
                               bool mayCreate, bool& keepBad) {
  const std::string path = inFolder(folder, kProgramSettingsFile);
  const FileBytes file = readFileStart(path, kProgramHeaderBytes + kProgramWorkAreaBytes);
  if (file.state == FileBytes::State::Absent ||
      (file.state == FileBytes::State::Read && file.bytes.empty())) {
    if (!mayCreate) return LoadStatus::Absent;
    saveProgramSettings(folder, settings, user, keepBad);
    return LoadStatus::Created;
  }
  const LoadStatus status = file.state == FileBytes::State::Read
                                ? decodeProgramSettings(file.bytes, settings)
                                : LoadStatus::ReadFailed;
  if (status == LoadStatus::ReadFailed) reportSettingsFile(user, msg::kSettingsReadFailed, path);
  if (status == LoadStatus::VersionMismatch) {
    reportSettingsFile(user, msg::kProgramVersionMismatch, path);
  }
  keepBad = keepsBadFile(status);
  return status;
}

bool saveProgramSettings(const std::string& folder, const ProgramSettings& settings, UserPort& user,
                         bool& keepBad) {
  const std::vector<std::uint8_t> bytes = encodeProgramSettings(settings);
  return replaceSettingsFile(inFolder(folder, kProgramSettingsFile), bytes, keepBad, user);
}

void sanitizeProgramRecord(ProgramRecord& record) {
  static const ProgramRecord defaults;
  for (std::int32_t& flag : record.gradationTool.absolute) keepIf(isFlag(flag), flag, 1);
  LauncherSettings& launcher = record.launcher;
  keepIf(launcher.format == 0 || launcher.format == 1, launcher.format, 0);
  keepIf(launcher.destination >= 0 && launcher.destination <= 2, launcher.destination, 0);
  for (std::int32_t* flag : {&launcher.output, &launcher.console, &launcher.showOutput,
                             &launcher.timing, &launcher.close}) {
    keepIf(isFlag(*flag), *flag, 0);
  }
  keepIf(isFlag(record.stateMemory.confirm), record.stateMemory.confirm,
         defaults.stateMemory.confirm);
  keepIf(isFlag(record.stateMemory.displayOnly), record.stateMemory.displayOnly,
         defaults.stateMemory.displayOnly);
  const RgbRatio& ratios = record.lastDialogRatios;
  keepIf(std::isfinite(ratios.red) && std::isfinite(ratios.green) && std::isfinite(ratios.blue),
         record.lastDialogRatios, defaults.lastDialogRatios);
  ValidRangeSetting& range = record.validRange;
  keepIf(range.kind >= 0 && range.kind <= 2 && range.margin >= 0, range, ValidRangeSetting{});
  keepIf(isFlag(record.reducedMeasureWarningShown), record.reducedMeasureWarningShown, 0);
}

}  // namespace vemla::persist
