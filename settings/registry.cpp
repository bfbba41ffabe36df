#include "settings/registry.h"

#include <algorithm>
#include <cstdlib>

namespace {

std::string bit(bool value) { return value ? "1" : "0"; }

std::string number(int32_t value) { return std::to_string(value); }

std::string channelName(const char* stem, int n) { return stem + std::to_string(n); }

// For its run, the handlers of the controls work on the same variables and
// store as the operation; afterwards the controls' own binding is back.
class ScopedBinding {
 public:
  ScopedBinding(SettingsControls& controls, SettingsVariables& variables, SettingsStore& store)
      : controls_(controls), variables_(controls.boundVariables()), store_(controls.boundStore()) {
    controls_.bind(&variables, &store);
  }
  ~ScopedBinding() { controls_.bind(variables_, store_); }
  ScopedBinding(const ScopedBinding&) = delete;
  ScopedBinding& operator=(const ScopedBinding&) = delete;

 private:
  SettingsControls& controls_;
  SettingsVariables* variables_;
  SettingsStore* store_;
};

int32_t channelWidthMm(const RadioGroup& channelwidth) {
  const std::optional<int32_t> mm = parseStoreInteger(channelwidth.selectedText());
  return mm.value_or(kFallbackChannelWidthMm);
}

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

void Read_Registry(SettingsVariables& v, SettingsControls& c, SettingsStore& s) {
  ScopedBinding binding(c, v, s);
  s.reload();

  v.LeftEdge = s.readInteger("ByrjunX", 0);
  v.RightEdge = s.readInteger("ByrjunY", 511);
  if (v.LeftEdge >= v.RightEdge) {
    v.LeftEdge = 0;
    v.RightEdge = 511;
  }
  v.GrandTotal = s.readInteger("Total", 0);

  // The up-downs clamp first; the size groups are taken from them after all four are set.
  for (int n = 1; n <= kMaxChannels; ++n) {
    c.sizeGroupUpDown(n).setPosition(s.readInteger(channelName("Size Group", n), 2));
  }
  for (int n = 1; n <= kMaxChannels; ++n) v.SizeGroup[n] = c.sizeGroupUpDown(n).position();

  // Forced clamping is for debugging only; its handler stores the unchecked state at once.
  c.ForcedClamping.setChecked(s.readBool("Threshold", false));
  if (!v.DebugMode) c.ForcedClamping.setChecked(false);
  c.autosence.setChecked(true);

  c.Recordmethod.setItemIndex(s.readInteger("Recordmethod", 0));
  c.ampl.setText(s.readString("Amplification", "500"));
  c.reportpath.setText(s.readString("Reportpath", defaultReportFolder()));
  c.logoimagepath.setText(s.readString("logoImagepath", ""));
  c.editoperator.setText(s.readString("Companyname", ""));
  c.ctrl.setChecked(CtrlNone, s.readBool("CtrlNone", false));
  c.ctrl.setChecked(CtrlOverload, s.readBool("CtrlOverload", false));
  c.ctrl.setChecked(CtrlBatchAlarm, s.readBool("CtrlBatchAlarm", true));
  c.ctrl.setChecked(CtrlBatchSplitter, s.readBool("CtrlBatchSplitter", true));
  c.Targetvalue.setValue(s.readInteger("targetvalue", 100));
  c.Channelwidth.setItemIndex(s.readInteger("channelwidth", 1));
  c.FishtypeWeight.setItemIndex(s.readInteger("Fish type", 0));
  c.wcsalmon.setValue(s.readInteger("WCSalmon", 128));
  c.wcbass.setValue(s.readInteger("WCBass", 100));
  c.wcbream.setValue(s.readInteger("WCBream", 100));
  c.hardware.setItemIndex(s.readInteger("hardware", 0));
  v.ChannelWidthMm = channelWidthMm(c.Channelwidth);

  c.Nrch.setValue(s.readInteger("NrChannels", 1));
  c.sensitivity.setItemIndex(s.readInteger("Sens", 1));
  c.Resolution.setValue(s.readInteger("ImageResolution", 1800));
  v.NrChannels = c.Nrch.value();
  // Taken as stored: the language fill turns a number outside 1..4 into
  // empty texts without reading past its tables, and a save keeps it.
  v.LanguageNumber = s.readInteger("Malanr", 1);

  for (int n = 1; n <= v.NrChannels; ++n) {
    const ChannelPosition fallback = defaultChannelPosition(n);
    ChannelPosition& p = v.ChannelPositions[n];
    p.Width = s.readInteger(channelName("%width", n), fallback.Width);
    p.Begin = s.readInteger(channelName("Multib", n), fallback.Begin);
    p.End = s.readInteger(channelName("Multie", n), fallback.End);
    v.ChannelCounter[n] = s.readInteger(channelName("Counters", n), 0);
    v.ChannelCounterT[n] = s.readInteger(channelName("CountersT", n), 0);
  }
  const bool broken = std::any_of(v.ChannelPositions.begin() + 1, v.ChannelPositions.begin() + 1 + v.NrChannels,
                                  [](const ChannelPosition& p) { return p.Begin >= p.End; });
  if (broken) {
    for (int n = 1; n <= v.NrChannels; ++n) v.ChannelPositions[n] = defaultChannelPosition(n);
  }

  c.Enablemulti.setChecked(s.readBool("Enablemulti", false));
  for (int n = 1; n <= kMaxChannels; ++n) {
    c.channelName(n).setText(s.readString(channelName("Countname", n), "Counter " + std::to_string(n)));
  }
  c.loaded = true;
}

std::vector<StoreValue> registryValues(const SettingsVariables& v, const SettingsControls& c) {
  std::vector<StoreValue> values = {
      {"ByrjunX", number(v.LeftEdge)},
      {"ByrjunY", number(v.RightEdge)},
      {"Total", number(v.GrandTotal)},
  };
  for (int n = 1; n <= kMaxChannels; ++n) {
    values.emplace_back(channelName("Size Group", n), number(c.sizeGroupUpDown(n).position()));
  }
  values.insert(values.end(), {
      {"Threshold", bit(c.ForcedClamping.checked())},
      {"autosence", bit(c.autosence.checked())},
      {"Recordmethod", number(c.Recordmethod.itemIndex())},
      {"Amplification", c.ampl.text()},
      {"Reportpath", c.reportpath.text()},
      {"Logoimagepath", c.logoimagepath.text()},
      {"Companyname", c.editoperator.text()},
      {"CtrlNone", bit(c.ctrl.checked(CtrlNone))},
      {"CtrlOverload", bit(c.ctrl.checked(CtrlOverload))},
      {"CtrlBatchAlarm", bit(c.ctrl.checked(CtrlBatchAlarm))},
      {"CtrlBatchSplitter", bit(c.ctrl.checked(CtrlBatchSplitter))},
      {"targetvalue", number(c.Targetvalue.value())},
      {"channelwidth", number(c.Channelwidth.itemIndex())},
      {"Fish type", number(c.FishtypeWeight.itemIndex())},
      {"WCSalmon", number(c.wcsalmon.value())},
      {"WCBass", number(c.wcbass.value())},
      {"WCBream", number(c.wcbream.value())},
      {"hardware", number(c.hardware.itemIndex())},
  });
  // The channels in use as the program runs now: a new number typed into
  // Nrch takes effect at the next read, and higher channels stay as stored.
  const int channels = std::clamp(v.NrChannels, 0, kMaxChannels);
  for (int n = 1; n <= channels; ++n) {
    const ChannelPosition& p = v.ChannelPositions[n];
    values.emplace_back(channelName("%width", n), number(p.Width));
    values.emplace_back(channelName("Multib", n), number(p.Begin));
    values.emplace_back(channelName("Multie", n), number(p.End));
    values.emplace_back(channelName("Counters", n), number(v.ChannelCounter[n]));
    values.emplace_back(channelName("CountersT", n), number(v.ChannelCounterT[n]));
  }
  values.insert(values.end(), {
      {"NrChannels", number(c.Nrch.value())},
      {"Sens", number(c.sensitivity.itemIndex())},
      {"ImageResolution", number(c.Resolution.value())},
      {"EnableMulti", bit(c.Enablemulti.checked())},
  });
  for (int n = 1; n <= kMaxChannels; ++n) {
    values.emplace_back(channelName("Countname", n), c.channelName(n).text());
  }
  values.emplace_back("Malanr", number(v.LanguageNumber));
  return values;
}

bool Write_Registry(const SettingsVariables& v, const SettingsControls& c, SettingsStore& s) {
  if (!c.loaded) return false;
  return s.writeValues(registryValues(v, c));
}
