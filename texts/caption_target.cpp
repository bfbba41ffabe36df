#include "texts/caption_target.h"

namespace {

// In the order of the enumerators.
constexpr std::array<std::string_view, kMainCaptionCount> kMainNames{
    "Caption",   "Button4",   "Storebtn",  "Button5",   "scopebtn",  "Button3",   "Viewfilebtn",
    "Reportbtn", "Button6",   "SumGroupBox", "sizelbl1", "sizelbl2", "sizelbl3",  "sizelbl4",
    "estimlbl1", "estimlbl2", "estimlbl3", "estimlbl4", "Throughput"};

constexpr std::array<std::string_view, kSettingsCaptionCount> kSettingsNames{
    "Caption",     "ComboBox1", "GroupBox11",   "TabSheet1",      "TabSheet2",         "TabSheet3",
    "autosence",   "Recordmethod", "GroupBox2", "CtrlNone",       "CtrlOverload",      "CtrlBatchAlarm",
    "CtrlBatchSplitter", "GroupBox7", "Label4", "Button4",        "FishtypeWeight",    "BitBtn1",
    "BitBtn2",     "GroupBox5", "GroupBox8",    "Enablemulti",    "GroupBox1",         "Label1",
    "Label2",      "GroupBox3", "Label3",       "Cname1",         "cname2",            "Cname3",
    "Cname4"};

template <typename Enum, std::size_t N>
std::array<Enum, N> enumerators() {
  std::array<Enum, N> all{};
  for (std::size_t i = 0; i < N; ++i) all[i] = static_cast<Enum>(i);
  return all;
}

}  // namespace

std::string_view controlName(MainCaption control) { return kMainNames[static_cast<std::size_t>(control)]; }

std::string_view controlName(SettingsCaption control) {
  return kSettingsNames[static_cast<std::size_t>(control)];
}

std::array<MainCaption, kMainCaptionCount> allMainCaptions() {
  return enumerators<MainCaption, kMainCaptionCount>();
}

std::array<SettingsCaption, kSettingsCaptionCount> allSettingsCaptions() {
  return enumerators<SettingsCaption, kSettingsCaptionCount>();
}
