#include "settings/registry.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <initializer_list>
#include <string_view>
#include <variant>

#include "settings/channel_width.h"

namespace {

// ---------------------------------------------------------------------------
// The stored values. Every value is described once below: its name (as the
// reader and as the writer spell it), its type, the reader's default and
// where it lives. Read_Registry and Write_Registry name the values by these
// enums, each in its own order.

// The values stored once.
enum class Stored {
  ByrjunX, ByrjunY, Total, Threshold, Autosence, Recordmethod, Amplification, Reportpath, Logoimagepath,
  Companyname, CtrlNone, CtrlOverload, CtrlBatchAlarm, CtrlBatchSplitter, Targetvalue, Channelwidth, FishType,
  WCSalmon, WCBass, WCBream, Hardware, NrChannels, Sens, ImageResolution, Malanr, EnableMulti,
};

// The values stored once per channel, under their stem and the channel
// number ("Multib2").
enum class ChannelStored { SizeGroup, Width, Multib, Multie, Counters, CountersT, Countname };

// Integers in decimal, booleans as "0" or "1".
enum class StoreType { Integer, Boolean, String };

// Where a value lives. Controls take a read value through their setters, so
// their change handlers run.
using VariableField = int32_t SettingsVariables::*;
using ChoiceControl = RadioGroup SettingsModel::*;  // its item index
using NumberControl = SpinEdit SettingsModel::*;    // its value
using TextControl = Edit SettingsModel::*;          // its text
using CheckControl = CheckBox SettingsModel::*;     // its state
using Destination = std::variant<VariableField, ChoiceControl, NumberControl, TextControl, CheckControl,
                                 CtrlButton /* a button of `ctrl` */>;

// Per channel n: a field of ChannelPositions[n], an entry [n] of a table of
// the variables, the size group SizeGroup[n] (through the model, which
// clamps it and shows it on the selector) or the edit channelName(n).
using PositionField = int32_t ChannelPosition::*;
using ChannelTable = ChannelArray<int32_t> SettingsVariables::*;
struct SizeGroupOf {};
struct ChannelNameEdit {};
using ChannelDestination = std::variant<PositionField, ChannelTable, SizeGroupOf, ChannelNameEdit>;

// A value's name; the reader and the writer spell two values differently
// (the store matches names without regard to case).
struct Names {
  constexpr Names(const char* both) : read(both), write(both) {}  // implicit: most have one spelling
  constexpr Names(const char* reader, const char* writer) : read(reader), write(writer) {}
  std::string_view read;
  std::string_view write;
};

struct StoredValue {
  Stored id;  // its place in kStoredValues
  Names names;
  StoreType type;
  int32_t numberDefault;             // of an integer; of a boolean as 0 or 1
  std::string_view textDefault;      // of a string ...
  std::string (*textDefaultOf)();    // ... or, if set, computed at run time
  Destination destination;
};

constexpr StoredValue integer(Stored id, Names names, int32_t byDefault, Destination to) {
  return {id, names, StoreType::Integer, byDefault, {}, nullptr, to};
}
constexpr StoredValue boolean(Stored id, Names names, bool byDefault, Destination to) {
  return {id, names, StoreType::Boolean, byDefault ? 1 : 0, {}, nullptr, to};
}
constexpr StoredValue text(Stored id, Names names, std::string_view byDefault, Destination to) {
  return {id, names, StoreType::String, 0, byDefault, nullptr, to};
}
constexpr StoredValue text(Stored id, Names names, std::string (*byDefault)(), Destination to) {
  return {id, names, StoreType::String, 0, {}, byDefault, to};
}

using C = SettingsModel;
using V = SettingsVariables;

constexpr std::array kStoredValues = {
    integer(Stored::ByrjunX, "ByrjunX", 0, &V::LeftEdge),
    integer(Stored::ByrjunY, "ByrjunY", 511, &V::RightEdge),
    integer(Stored::Total, "Total", 0, &V::GrandTotal),
    boolean(Stored::Threshold, "Threshold", false, &C::ForcedClamping),
    // The reader never reads it: every read checks it, as its default says.
    boolean(Stored::Autosence, "autosence", true, &C::autosence),
    integer(Stored::Recordmethod, "Recordmethod", 0, &C::Recordmethod),
    text(Stored::Amplification, "Amplification", "500", &C::ampl),
    text(Stored::Reportpath, "Reportpath", defaultReportFolder, &C::reportpath),
    text(Stored::Logoimagepath, {"logoImagepath", "Logoimagepath"}, "", &C::logoimagepath),
    text(Stored::Companyname, "Companyname", "", &C::editoperator),
    boolean(Stored::CtrlNone, "CtrlNone", false, CtrlNone),
    boolean(Stored::CtrlOverload, "CtrlOverload", false, CtrlOverload),
    boolean(Stored::CtrlBatchAlarm, "CtrlBatchAlarm", true, CtrlBatchAlarm),
    boolean(Stored::CtrlBatchSplitter, "CtrlBatchSplitter", true, CtrlBatchSplitter),
    integer(Stored::Targetvalue, "targetvalue", 100, &C::Targetvalue),
    integer(Stored::Channelwidth, "channelwidth", 1, &C::Channelwidth),
    integer(Stored::FishType, "Fish type", 0, &C::FishtypeWeight),
    integer(Stored::WCSalmon, "WCSalmon", 128, &C::wcsalmon),
    integer(Stored::WCBass, "WCBass", 100, &C::wcbass),
    integer(Stored::WCBream, "WCBream", 100, &C::wcbream),
    integer(Stored::Hardware, "hardware", 0, &C::hardware),
    integer(Stored::NrChannels, "NrChannels", 1, &C::Nrch),
    integer(Stored::Sens, "Sens", 1, &C::sensitivity),
    integer(Stored::ImageResolution, "ImageResolution", 1800, &C::Resolution),
    // Taken as stored: the language fill turns a number outside 1..4 into
    // empty texts without reading past its tables, and a save keeps it.
    integer(Stored::Malanr, "Malanr", 1, &V::LanguageNumber),
    boolean(Stored::EnableMulti, {"Enablemulti", "EnableMulti"}, false, &C::Enablemulti),
};

struct ChannelValue {
  ChannelStored id;  // its place in kChannelValues
  std::string_view stem;
  StoreType type;
  int32_t (*numberDefault)(int n);      // of an integer ...
  std::string (*textDefault)(int n);    // ... or of a string
  ChannelDestination destination;
};

constexpr ChannelValue channelInteger(ChannelStored id, std::string_view stem, int32_t (*byDefault)(int),
                                      ChannelDestination to) {
  return {id, stem, StoreType::Integer, byDefault, nullptr, to};
}
constexpr ChannelValue channelText(ChannelStored id, std::string_view stem, std::string (*byDefault)(int),
                                   ChannelDestination to) {
  return {id, stem, StoreType::String, nullptr, byDefault, to};
}

constexpr std::array kChannelValues = {
    channelInteger(ChannelStored::SizeGroup, "Size Group", [](int) { return 2; }, SizeGroupOf{}),
    channelInteger(ChannelStored::Width, "%width", [](int n) { return defaultChannelPosition(n).Width; },
                   &ChannelPosition::Width),
    channelInteger(ChannelStored::Multib, "Multib", [](int n) { return defaultChannelPosition(n).Begin; },
                   &ChannelPosition::Begin),
    channelInteger(ChannelStored::Multie, "Multie", [](int n) { return defaultChannelPosition(n).End; },
                   &ChannelPosition::End),
    channelInteger(ChannelStored::Counters, "Counters", [](int) { return 0; }, &V::ChannelCounter),
    channelInteger(ChannelStored::CountersT, "CountersT", [](int) { return 0; }, &V::ChannelCounterT),
    channelText(ChannelStored::Countname, "Countname", [](int n) { return "Counter " + std::to_string(n); },
                ChannelNameEdit{}),
};

// The values of each channel in use, read and written channel after channel.
constexpr std::array kChannelBlock = {ChannelStored::Width, ChannelStored::Multib, ChannelStored::Multie,
                                      ChannelStored::Counters, ChannelStored::CountersT};

constexpr StoreType typeOf(const Destination& to) {
  if (std::holds_alternative<TextControl>(to)) return StoreType::String;
  if (std::holds_alternative<CheckControl>(to) || std::holds_alternative<CtrlButton>(to)) return StoreType::Boolean;
  return StoreType::Integer;
}

constexpr StoreType typeOf(const ChannelDestination& to) {
  return std::holds_alternative<ChannelNameEdit>(to) ? StoreType::String : StoreType::Integer;
}

// Each entry sits at its enum's place, and its type is the one its destination holds.
template <typename Table>
constexpr bool wellFormed(const Table& table) {
  for (size_t i = 0; i < table.size(); ++i) {
    if (static_cast<size_t>(table[i].id) != i || table[i].type != typeOf(table[i].destination)) return false;
  }
  return true;
}
static_assert(wellFormed(kStoredValues) && kStoredValues.size() == static_cast<size_t>(Stored::EnableMulti) + 1);
static_assert(wellFormed(kChannelValues) && kChannelValues.size() == static_cast<size_t>(ChannelStored::Countname) + 1);

const StoredValue& entry(Stored id) { return kStoredValues[static_cast<size_t>(id)]; }
const ChannelValue& entry(ChannelStored id) { return kChannelValues[static_cast<size_t>(id)]; }

template <typename... F>
struct Overloaded : F... {
  using F::operator()...;
};
// Spelled out for clang before 17, which does not deduce aggregates' arguments.
template <typename... F>
Overloaded(F...) -> Overloaded<F...>;

std::string bit(bool value) { return value ? "1" : "0"; }

std::string number(int32_t value) { return std::to_string(value); }

std::string numberedName(std::string_view stem, int n) { return std::string(stem) + std::to_string(n); }

// Reads values from the store into the variables and the controls.
class ValueReader {
 public:
  ValueReader(SettingsVariables& v, SettingsModel& c, const SettingsStore& s) : v_(v), c_(c), s_(s) {}

  void operator()(std::initializer_list<Stored> ids) const {
    for (const Stored id : ids) read(entry(id));
  }

  void operator()(ChannelStored id, int n) const {
    const ChannelValue& value = entry(id);
    const std::string name = numberedName(value.stem, n);
    const auto readNumber = [&] { return s_.readInteger(name, value.numberDefault(n)); };
    std::visit(Overloaded{
                   [&](PositionField f) { v_.ChannelPositions[n].*f = readNumber(); },
                   [&](ChannelTable f) { (v_.*f)[n] = readNumber(); },
                   [&](SizeGroupOf) { c_.setSizeGroup(v_, n, readNumber()); },
                   [&](ChannelNameEdit) { c_.channelName(n).setText(s_.readString(name, value.textDefault(n))); },
               },
               value.destination);
  }

 private:
  void read(const StoredValue& value) const {
    const std::string_view name = value.names.read;
    const auto readNumber = [&] { return s_.readInteger(name, value.numberDefault); };
    const auto readFlag = [&] { return s_.readBool(name, value.numberDefault != 0); };
    const auto readText = [&] {
      return s_.readString(name, value.textDefaultOf ? value.textDefaultOf() : std::string(value.textDefault));
    };
    std::visit(Overloaded{
                   [&](VariableField f) { v_.*f = readNumber(); },
                   [&](ChoiceControl f) { (c_.*f).setItemIndex(readNumber()); },
                   [&](NumberControl f) { (c_.*f).setValue(readNumber()); },
                   [&](TextControl f) { (c_.*f).setText(readText()); },
                   [&](CheckControl f) { (c_.*f).setChecked(readFlag()); },
                   [&](CtrlButton b) { c_.ctrl.setChecked(b, readFlag()); },
               },
               value.destination);
  }

  SettingsVariables& v_;
  SettingsModel& c_;
  const SettingsStore& s_;
};

// Collects values as Write_Registry stores them.
class ValueWriter {
 public:
  ValueWriter(const SettingsVariables& v, const SettingsModel& c) : v_(v), c_(c) {}

  void operator()(std::initializer_list<Stored> ids) {
    for (const Stored id : ids) write(entry(id));
  }

  void operator()(ChannelStored id, int n) {
    const ChannelValue& value = entry(id);
    values_.emplace_back(numberedName(value.stem, n),
                         std::visit(Overloaded{
                                        [&](PositionField f) { return number(v_.ChannelPositions[n].*f); },
                                        [&](ChannelTable f) { return number((v_.*f)[n]); },
                                        [&](SizeGroupOf) { return number(v_.SizeGroup[n]); },
                                        [&](ChannelNameEdit) { return c_.channelName(n).text(); },
                                    },
                                    value.destination));
  }

  std::vector<StoreValue> values() && { return std::move(values_); }

 private:
  void write(const StoredValue& value) {
    values_.emplace_back(std::string(value.names.write),
                         std::visit(Overloaded{
                                        [&](VariableField f) { return number(v_.*f); },
                                        [&](ChoiceControl f) { return number((c_.*f).itemIndex()); },
                                        [&](NumberControl f) { return number((c_.*f).value()); },
                                        [&](TextControl f) { return (c_.*f).text(); },
                                        [&](CheckControl f) { return bit((c_.*f).checked()); },
                                        [&](CtrlButton b) { return bit(c_.ctrl.checked(b)); },
                                    },
                                    value.destination));
  }

  const SettingsVariables& v_;
  const SettingsModel& c_;
  std::vector<StoreValue> values_;
};

// "channelwidth" is stored as the item index; its default is the default width's item.
static_assert(kStoredValues[static_cast<size_t>(Stored::Channelwidth)].numberDefault ==
              channelWidthItem(kDefaultChannelWidth).index);

// For its run, the model's rules work on the same variables and store as the
// load, and the rules that wait for the whole load run at its end; afterwards
// the model's own binding is back.
class ScopedLoad {
 public:
  ScopedLoad(SettingsModel& controls, SettingsVariables& variables, SettingsStore& store)
      : controls_(controls), variables_(controls.boundVariables()), store_(controls.boundStore()) {
    controls_.bind(&variables, &store);
    controls_.beginLoad();
  }
  ~ScopedLoad() {
    controls_.endLoad();
    controls_.bind(variables_, store_);
  }
  ScopedLoad(const ScopedLoad&) = delete;
  ScopedLoad& operator=(const ScopedLoad&) = delete;

 private:
  SettingsModel& controls_;
  SettingsVariables* variables_;
  SettingsStore* store_;
};

}  // namespace

std::string defaultReportFolder() {
#ifdef _WIN32
  return "C:\\Reports\\";
#else
  const char* home = std::getenv("HOME");
  std::string folder = (home != nullptr && *home != '\0') ? home : "";
  if (!folder.empty() && folder.back() != kFolderSeparator) folder += kFolderSeparator;
  return folder + "Reports" + kFolderSeparator;
#endif
}

ChannelPosition defaultChannelPosition(int n) {
  return ChannelPosition{(n - 1) * 500 + 10, n * 500, 25};
}

void Read_Registry(SettingsVariables& v, SettingsModel& c, SettingsStore& s) {
  using enum Stored;
  using enum ChannelStored;
  ScopedLoad load(c, v, s);
  s.reload();
  const ValueReader read(v, c, s);

  read({ByrjunX, ByrjunY});
  if (v.LeftEdge >= v.RightEdge) {
    v.LeftEdge = 0;
    v.RightEdge = 511;
  }
  read({Total});

  // Clamped to 0..8 as the selectors do.
  for (int n = 1; n <= kMaxChannels; ++n) read(SizeGroup, n);

  // Forced clamping is for debugging only; its handler stores the unchecked state at once.
  read({Threshold});
  if (!v.DebugMode) c.ForcedClamping.setChecked(false);
  c.autosence.setChecked(true);

  read({Recordmethod, Amplification, Reportpath, Logoimagepath, Companyname, CtrlNone, CtrlOverload,
        CtrlBatchAlarm, CtrlBatchSplitter, Targetvalue, Channelwidth, FishType, WCSalmon, WCBass, WCBream,
        Hardware});
  v.ChannelWidthMm = channelWidthMm(c.Channelwidth.itemIndex());

  read({NrChannels, Sens, ImageResolution});
  v.NrChannels = c.Nrch.value();
  read({Malanr});

  for (int n = 1; n <= v.NrChannels; ++n) {
    for (const ChannelStored value : kChannelBlock) read(value, n);
  }
  const bool broken = std::any_of(v.ChannelPositions.begin() + 1, v.ChannelPositions.begin() + 1 + v.NrChannels,
                                  [](const ChannelPosition& p) { return p.Begin >= p.End; });
  if (broken) {
    for (int n = 1; n <= v.NrChannels; ++n) v.ChannelPositions[n] = defaultChannelPosition(n);
  }

  read({EnableMulti});
  for (int n = 1; n <= kMaxChannels; ++n) read(Countname, n);
  c.loaded = true;
}

std::vector<StoreValue> registryValues(const SettingsVariables& v, const SettingsModel& c) {
  using enum Stored;
  using enum ChannelStored;
  ValueWriter write(v, c);

  write({ByrjunX, ByrjunY, Total});
  for (int n = 1; n <= kMaxChannels; ++n) write(SizeGroup, n);
  write({Threshold, Autosence, Recordmethod, Amplification, Reportpath, Logoimagepath, Companyname, CtrlNone,
         CtrlOverload, CtrlBatchAlarm, CtrlBatchSplitter, Targetvalue, Channelwidth, FishType, WCSalmon, WCBass,
         WCBream, Hardware});
  // The channels in use as the program runs now: a new number typed into
  // Nrch takes effect at the next read, and higher channels stay as stored.
  const int channels = std::clamp(v.NrChannels, 0, kMaxChannels);
  for (int n = 1; n <= channels; ++n) {
    for (const ChannelStored value : kChannelBlock) write(value, n);
  }
  write({NrChannels, Sens, ImageResolution, EnableMulti});
  for (int n = 1; n <= kMaxChannels; ++n) write(Countname, n);
  write({Malanr});
  return std::move(write).values();
}

bool Write_Registry(const SettingsVariables& v, const SettingsModel& c, SettingsStore& s) {
  if (!c.loaded) return false;
  return s.writeValues(registryValues(v, c));
}
