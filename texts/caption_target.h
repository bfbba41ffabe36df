// Where the language fill puts its captions. Every control that takes a
// translated caption is named by an enumerator (its form name), so the fill's
// table can only name controls that exist; the main window and the settings
// window each implement their interface, and the language code never sees a
// widget.
#ifndef TINDAVEL_TEXTS_CAPTION_TARGET_H_
#define TINDAVEL_TEXTS_CAPTION_TARGET_H_

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

// The main window's controls that take a translated caption. `Caption` is the
// window's own title; `sizelbl1`..`estimlbl4` are labelled fields, whose
// caption is their label, never the field's text; `Throughput` is the page.
enum class MainCaption {
  Caption,
  Button4,
  Storebtn,
  Button5,
  scopebtn,
  Button3,
  Viewfilebtn,
  Reportbtn,
  Button6,
  SumGroupBox,
  sizelbl1,
  sizelbl2,
  sizelbl3,
  sizelbl4,
  estimlbl1,
  estimlbl2,
  estimlbl3,
  estimlbl4,
  Throughput,
};
inline constexpr std::size_t kMainCaptionCount = static_cast<std::size_t>(MainCaption::Throughput) + 1;

// The settings window's controls that take a translated caption. The list,
// radio groups and page controls take item captions too (item 0, 1, ...).
// `Cname1`..`Cname4` are labelled edits: the caption is the label.
enum class SettingsCaption {
  Caption,
  ComboBox1,
  GroupBox11,
  TabSheet1,
  TabSheet2,
  TabSheet3,
  autosence,
  Recordmethod,
  GroupBox2,
  CtrlNone,
  CtrlOverload,
  CtrlBatchAlarm,
  CtrlBatchSplitter,
  GroupBox7,
  Label4,
  Button4,
  FishtypeWeight,
  BitBtn1,
  BitBtn2,
  GroupBox5,
  GroupBox8,
  Enablemulti,
  GroupBox1,
  Label1,
  Label2,
  GroupBox3,
  Label3,
  Cname1,
  cname2,
  Cname3,
  Cname4,
};
inline constexpr std::size_t kSettingsCaptionCount = static_cast<std::size_t>(SettingsCaption::Cname4) + 1;

// The form name of a control ("Storebtn", "cname2").
std::string_view controlName(MainCaption control);
std::string_view controlName(SettingsCaption control);

// Every enumerator, in declaration order.
std::array<MainCaption, kMainCaptionCount> allMainCaptions();
std::array<SettingsCaption, kSettingsCaptionCount> allSettingsCaptions();

class MainWindowCaptions {
 public:
  virtual ~MainWindowCaptions() = default;
  // Sets a caption; `text` is UTF-8.
  virtual void setCaption(MainCaption control, const std::string& text) = 0;
};

class SettingsWindowCaptions {
 public:
  virtual ~SettingsWindowCaptions() = default;
  // Sets a caption: `item` is -1 for the control's own caption, else the
  // 0-based item of a list, radio group or page control. `text` is UTF-8.
  virtual void setCaption(SettingsCaption control, int item, const std::string& text) = 0;
  // Selects the 0-based `item` of a list (`ComboBox1`) and shows its text.
  // The language choice uses it to re-select the list after its items were
  // replaced.
  virtual void selectItem(SettingsCaption list, int item) = 0;
};

#endif  // TINDAVEL_TEXTS_CAPTION_TARGET_H_
