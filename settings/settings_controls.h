// The controls of the settings window `Tsett` without the window: the live
// holders of most settings. Other parts read them (`reportpath`,
// `Recordmethod`, `Enablemulti`, `Channelwidth`, ...), Read_Registry fills
// them through their setters and Write_Registry stores them. The Qt window
// shows this model; tests drive it directly.
//
// Each control behaves like its toolkit original: a setter clamps as the
// control would, and a change of value runs the control's change handler as
// a user change would. Setting the value it already has runs nothing.
//
// The four size-group up-downs `UpDown1`..`UpDown4` belong to the main window
// but live here too, since Read_Registry and Write_Registry use their
// positions. Their click handler is the main window's and does not run when a
// position is set (as a toolkit up-down does not click when set).
#ifndef TINDAVEL_SETTINGS_SETTINGS_CONTROLS_H_
#define TINDAVEL_SETTINGS_SETTINGS_CONTROLS_H_

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "settings/channel_width.h"
#include "settings/settings_variables.h"
#include "texts/caption_target.h"

class SettingsStore;

// A check box.
class CheckBox {
 public:
  explicit CheckBox(bool checked) : checked_(checked) {}
  bool checked() const { return checked_; }
  void setChecked(bool checked);
  bool enabled = true;
  bool visible = true;
  std::function<void()> onChange;  // the click handler

 private:
  bool checked_;
};

// A radio group: one item chosen, or none (index -1).
class RadioGroup {
 public:
  RadioGroup(std::vector<std::string> items, int itemIndex);
  int itemIndex() const { return itemIndex_; }
  // Below -1 selects none; above the last item selects the last item.
  void setItemIndex(int index);
  const std::vector<std::string>& items() const { return items_; }
  void setItemText(int item, std::string text);
  // Text of the chosen item; empty when none is chosen.
  std::string selectedText() const;
  bool visible = true;
  std::function<void()> onChange;

 private:
  std::vector<std::string> items_;
  int itemIndex_;
};

// A spin edit. Equal limits (both 0) mean no limits, as in the toolkit.
class SpinEdit {
 public:
  SpinEdit(int32_t value, int32_t minValue, int32_t maxValue);
  int32_t value() const { return value_; }
  void setValue(int32_t value);
  int32_t minValue() const { return min_; }
  int32_t maxValue() const { return max_; }
  std::function<void()> onChange;

 private:
  int32_t clamp(int32_t value) const;
  int32_t value_;
  int32_t min_;
  int32_t max_;
};

// The main window's size-group up-down: a position clamped to 0..8.
class UpDown {
 public:
  explicit UpDown(int32_t position) : position_(position) {}
  int32_t position() const { return position_; }
  void setPosition(int32_t position);
  static constexpr int32_t kMin = 0;
  static constexpr int32_t kMax = 8;

 private:
  int32_t position_;
};

// A single-line edit.
class Edit {
 public:
  explicit Edit(std::string text) : text_(std::move(text)) {}
  const std::string& text() const { return text_; }
  void setText(std::string text);
  bool visible = true;
  std::function<void()> onChange;

 private:
  std::string text_;
};

// A push button's state the handlers change.
struct Button {
  bool visible = true;
  bool enabled = true;
};

// Radio buttons that sit in one group box and exclude each other: checking
// one unchecks the others; unchecking one leaves none checked.
class ExclusiveButtons {
 public:
  ExclusiveButtons(size_t count, int checkedIndex);
  bool checked(size_t index) const { return index == checked_; }
  int checkedIndex() const { return checked_ == kNone ? -1 : static_cast<int>(checked_); }
  void setChecked(size_t index, bool checked);
  std::vector<bool> enabled;

 private:
  static constexpr size_t kNone = static_cast<size_t>(-1);
  size_t checked_;
};

// The control function radio buttons of group "Control function (Ctrl port)".
enum CtrlButton : size_t { CtrlNone = 0, CtrlOverload = 1, CtrlBatchAlarm = 2, CtrlBatchSplitter = 3 };

// What the settings controls' handlers change on the main window: its
// per-channel controls, channel captions and size-group selectors, and its
// recording. The main window implements it and attaches itself for its
// lifetime; tests attach recorders.
class MainWindowListener {
 public:
  virtual ~MainWindowListener() = default;
  // Shows the per-channel controls again for the channel count and multi mode.
  virtual void Stillamultiteljara() = 0;
  // A channel's new name: its group box, its size-group page, its chart line.
  virtual void renameChannel(int channel, const std::string& name) = 0;
  // A size-group up-down's position was set (not clicked): its selector shows it.
  virtual void showSizeGroupPosition(int channel, int32_t position) = 0;
  // `Recordmethod` changed: RecordonchkClick, which acts only during a session.
  virtual void RecordonchkClick() = 0;
};

class SettingsControls : public SettingsWindowCaptions {
 public:
  SettingsControls();
  SettingsControls(const SettingsControls&) = delete;
  SettingsControls& operator=(const SettingsControls&) = delete;

  // The variables and the store the handlers work on (NrChannels for the
  // name edits, DebugMode for the debug check box, the store for the
  // "Threshold" write). Either may be null: that part of a handler is then
  // skipped. Read_Registry and Write_Registry bind their own for their run.
  void bind(SettingsVariables* variables, SettingsStore* store);
  SettingsVariables* boundVariables() const { return variables_; }
  SettingsStore* boundStore() const { return store_; }

  // Where the handlers show their changes; null (the default) until the main
  // window attaches itself, and again after it detached.
  void setMainWindowListener(MainWindowListener* listener) { listener_ = listener; }
  MainWindowListener* mainWindowListener() const { return listener_; }

  // Page "Settings".
  RadioGroup ComboBox1{{"Enska", "Islenska", "Norska", "Sp\xC3\xA6nska"}, 0};  // language list
  RadioGroup Recordmethod{{"None", "Sampling [10sec/5min]", "Continuous"}, 0};
  ExclusiveButtons ctrl{4, CtrlNone};  // CtrlNone, CtrlOverload, CtrlBatchAlarm, CtrlBatchSplitter
  SpinEdit Targetvalue{100, 0, 90000000};
  RadioGroup FishtypeWeight{{"Salmon/Trout", "Sea Bream", "Sea Bass"}, 0};
  SpinEdit wcsalmon{100, 0, 0};
  SpinEdit wcbream{100, 0, 0};
  SpinEdit wcbass{100, 0, 0};
  Edit reportpath{""};
  CheckBox autosence{true};

  // Page "Multi channels".
  CheckBox Enablemulti{true};
  Edit Cname1{"Channel 1"};
  Edit cname2{"Channel 2"};
  Edit Cname3{"Channel 3"};
  Edit Cname4{"Channel 4"};
  Button Keyb1, keyb2, Keyb3, keyb4;

  // Page "Advanced".
  Edit Linescan{""};
  Edit ampl{""};
  Edit imagebuffsize{""};
  RadioGroup Channelwidth{channelWidthCaptionKeys(), channelWidthItem(ChannelWidth::k500).index};  // channel_width.h
  SpinEdit Nrch{1, 1, 4};
  SpinEdit Resolution{1800, 1, 5000};
  RadioGroup hardware{{"Itex ", "GigE"}, 0};
  CheckBox ForcedClamping{false};
  RadioGroup sensitivity{{"Very low", "Low", "Normal", "High", "Very high"}, 1};
  CheckBox debugmode{false};  // hidden until GroupBox6DblClick

  // Page "Report".
  Edit editoperator{""};
  Edit logoimagepath{""};

  // The main window's size-group selectors (UpDown1 is set to 1 by the main
  // window's creation; the form says 2).
  UpDown UpDown1{1}, UpDown2{2}, UpDown3{2}, UpDown4{2};

  // Channel n (1..4) name edit, its "...." button, its up-down.
  Edit& channelName(int n);
  const Edit& channelName(int n) const;
  Button& channelNameButton(int n);
  const UpDown& sizeGroupUpDown(int n) const;
  // Sets channel n's up-down (which clamps) and shows it on the main window's
  // selector: the model holds the position, the selector only shows it.
  void setSizeGroupPosition(int n, int32_t position);

  // `reportpath` exit: a folder that does not end in the separator gets one.
  void reportpathExit();
  // `GroupBox6` double-click: shows or hides the `debugmode` check box.
  void GroupBox6DblClick();

  // True once Read_Registry has filled the controls; before that they hold
  // the designed values, which must never be saved over stored ones.
  bool loaded = false;

  // The language fill's captions. Items of the radio groups and of the
  // language list are replaced in place; every other caption is kept by
  // (control, item).
  void setCaption(SettingsCaption control, int item, const std::string& text) override;
  // Selects an item of the language list `ComboBox1`, as a set item index.
  void selectItem(SettingsCaption list, int item) override;
  // The caption last set for (control, item), or the item text of a radio
  // group or list; empty when none was set.
  std::string caption(SettingsCaption control, int item) const;
  // The caption the language fill set for a control's own caption (item -1),
  // or nothing before the first fill: the window keeps its designed one.
  std::optional<std::string> filledCaption(SettingsCaption control) const;

 private:
  RadioGroup* radioGroupOf(SettingsCaption control);
  const RadioGroup* radioGroupOf(SettingsCaption control) const;
  void EnablemultiClick();
  void CnameChange(int n);

  SettingsVariables* variables_ = nullptr;
  SettingsStore* store_ = nullptr;
  MainWindowListener* listener_ = nullptr;
  std::map<std::pair<SettingsCaption, int>, std::string> captions_;
};

// The item of `Channelwidth` for 1400 mm channels.
inline constexpr int kChannelWidth1400Item = channelWidthItem(ChannelWidth::k1400).index;

// The separator `reportpath` ends in: "\" on Windows, "/" elsewhere.
#ifdef _WIN32
inline constexpr char kFolderSeparator = '\\';
#else
inline constexpr char kFolderSeparator = '/';
#endif

#endif  // TINDAVEL_SETTINGS_SETTINGS_CONTROLS_H_
