// The settings value model: the working copy of the settings the settings
// window `Tsett` shows and edits, and the rules that follow a change of a
// value. Other parts read the values (`reportpath`, `Recordmethod`,
// `Enablemulti`, `Channelwidth`, ...), never a widget; Read_Registry fills
// them and Write_Registry stores them. The Qt window is a view of this model;
// tests and the command line drive it directly.
//
// Each value clamps as its control in the window would and announces a
// change to the model (setting the value it already has announces nothing).
// The model then runs the rule that belongs to the value, one member
// function each (EnablemultiClick, RecordmethodClick, ForcedClampingClick,
// debugmodeClick, CnameChange), and tells its observer. A change arriving from
// a load and one from the window run the same rule.
//
// The size group of each channel is held once, in SettingsVariables::SizeGroup;
// the main window's up-down selectors `UpDown1`..`UpDown4` show it and change
// it through setSizeGroup.
#ifndef TINDAVEL_SETTINGS_SETTINGS_MODEL_H_
#define TINDAVEL_SETTINGS_SETTINGS_MODEL_H_

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "settings/channel_width.h"
#include "settings/settings_variables.h"
#include "texts/caption_target.h"

class SettingsModel;
class SettingsStore;

// Every value of the model, by its control's form name: what a change
// announces. The four channel names are Cname1..Cname4 in channel order.
enum class Setting {
  ComboBox1, Recordmethod, ctrl, Targetvalue, FishtypeWeight, wcsalmon, wcbream, wcbass, reportpath, autosence,
  Enablemulti, Cname1, cname2, Cname3, Cname4, Linescan, ampl, imagebuffsize, Channelwidth, Nrch, Resolution,
  hardware, ForcedClamping, sensitivity, debugmode, editoperator, logoimagepath, SizeGroup,
};

// Where a value announces its change: its model and which value it is. A
// value made on its own (no model) announces nothing.
struct ValueOwner {
  SettingsModel* model = nullptr;
  Setting id = Setting::ComboBox1;
  void changed() const;
};

// A check box's state.
class CheckBox {
 public:
  CheckBox(ValueOwner owner, bool checked) : owner_(owner), checked_(checked) {}
  bool checked() const { return checked_; }
  void setChecked(bool checked);
  bool enabled = true;
  bool visible = true;

 private:
  ValueOwner owner_;
  bool checked_;
};

// A radio group's choice: one item chosen, or none (index -1).
class RadioGroup {
 public:
  RadioGroup(ValueOwner owner, std::vector<std::string> items, int itemIndex);
  int itemIndex() const { return itemIndex_; }
  // Below -1 selects none; above the last item selects the last item.
  void setItemIndex(int index);
  const std::vector<std::string>& items() const { return items_; }
  void setItemText(int item, std::string text);
  // Text of the chosen item; empty when none is chosen.
  std::string selectedText() const;
  bool visible = true;

 private:
  ValueOwner owner_;
  std::vector<std::string> items_;
  int itemIndex_;
};

// A spin edit's number. Equal limits (both 0) mean no limits, as in the toolkit.
class SpinEdit {
 public:
  SpinEdit(ValueOwner owner, int32_t value, int32_t minValue, int32_t maxValue);
  int32_t value() const { return value_; }
  void setValue(int32_t value);
  int32_t minValue() const { return min_; }
  int32_t maxValue() const { return max_; }

 private:
  int32_t clamp(int32_t value) const;
  ValueOwner owner_;
  int32_t value_;
  int32_t min_;
  int32_t max_;
};

// A single-line edit's text.
class Edit {
 public:
  Edit(ValueOwner owner, std::string text) : owner_(owner), text_(std::move(text)) {}
  const std::string& text() const { return text_; }
  void setText(std::string text);
  bool visible = true;

 private:
  ValueOwner owner_;
  std::string text_;
};

// A push button's state the rules change.
struct Button {
  bool visible = true;
  bool enabled = true;
};

// Radio buttons that sit in one group box and exclude each other: checking
// one unchecks the others; unchecking one leaves none checked.
class ExclusiveButtons {
 public:
  ExclusiveButtons(ValueOwner owner, size_t count, int checkedIndex);
  bool checked(size_t index) const { return index == checked_; }
  int checkedIndex() const { return checked_ == kNone ? -1 : static_cast<int>(checked_); }
  void setChecked(size_t index, bool checked);
  std::vector<bool> enabled;

 private:
  static constexpr size_t kNone = static_cast<size_t>(-1);
  ValueOwner owner_;
  size_t checked_;
};

// The control function radio buttons of group "Control function (Ctrl port)".
enum CtrlButton : size_t { CtrlNone = 0, CtrlOverload = 1, CtrlBatchAlarm = 2, CtrlBatchSplitter = 3 };

// The size groups' range: the up-down selectors' 0..8.
inline constexpr int32_t kMinSizeGroup = 0;
inline constexpr int32_t kMaxSizeGroup = 8;

// What the model's rules change on the main window: its per-channel
// controls, channel captions and size-group selectors, and its recording.
// The main window implements it and attaches itself for its lifetime; tests
// attach recorders.
class MainWindowListener {
 public:
  virtual ~MainWindowListener() = default;
  // Shows the per-channel controls again for the channel count and multi mode.
  virtual void Stillamultiteljara() = 0;
  // A channel's new name: its group box, its size-group page, its chart line.
  virtual void renameChannel(int channel, const std::string& name) = 0;
  // A channel's size group was set (not clicked): its selector shows it.
  virtual void showSizeGroupPosition(int channel, int32_t position) = 0;
  // `Recordmethod` changed: RecordonchkClick, which acts only during a session.
  virtual void RecordonchkClick() = 0;
};

// Who shows the model (the settings window): told after every change of a
// value, once its rule has run.
class SettingsObserver {
 public:
  virtual ~SettingsObserver() = default;
  virtual void settingChanged(Setting setting) = 0;
};

class SettingsModel : public SettingsWindowCaptions {
 public:
  SettingsModel();
  SettingsModel(const SettingsModel&) = delete;
  SettingsModel& operator=(const SettingsModel&) = delete;

  // The variables and the store the rules work on (NrChannels for the name
  // edits, DebugMode for the debug check box, the store for the "Threshold"
  // write). Either may be null: that part of a rule is then skipped.
  // Read_Registry and Write_Registry bind their own for their run.
  void bind(SettingsVariables* variables, SettingsStore* store);
  SettingsVariables* boundVariables() const { return variables_; }
  SettingsStore* boundStore() const { return store_; }

  // Where the rules show their changes; null (the default) until the main
  // window attaches itself, and again after it detached.
  void setMainWindowListener(MainWindowListener* listener) { listener_ = listener; }
  MainWindowListener* mainWindowListener() const { return listener_; }
  // Who is told of every change; null when no window shows the model.
  void setObserver(SettingsObserver* observer) { observer_ = observer; }
  SettingsObserver* observer() const { return observer_; }

  // A load (Read_Registry) runs between these two. The rules run as each
  // value arrives, except the recording mode's: it acts on the outside world
  // (a recording file in `reportpath`), so it runs once the whole load is in,
  // with the loaded folder rather than one that the load is about to replace.
  void beginLoad();
  void endLoad();

  // Page "Settings".
  RadioGroup ComboBox1{{this, Setting::ComboBox1}, {"Enska", "Islenska", "Norska", "Sp\xC3\xA6nska"}, 0};
  RadioGroup Recordmethod{{this, Setting::Recordmethod}, {"None", "Sampling [10sec/5min]", "Continuous"}, 0};
  ExclusiveButtons ctrl{{this, Setting::ctrl}, 4, CtrlNone};  // CtrlNone, CtrlOverload, CtrlBatchAlarm, CtrlBatchSplitter
  SpinEdit Targetvalue{{this, Setting::Targetvalue}, 100, 0, 90000000};
  RadioGroup FishtypeWeight{{this, Setting::FishtypeWeight}, {"Salmon/Trout", "Sea Bream", "Sea Bass"}, 0};
  SpinEdit wcsalmon{{this, Setting::wcsalmon}, 100, 0, 0};
  SpinEdit wcbream{{this, Setting::wcbream}, 100, 0, 0};
  SpinEdit wcbass{{this, Setting::wcbass}, 100, 0, 0};
  Edit reportpath{{this, Setting::reportpath}, ""};
  CheckBox autosence{{this, Setting::autosence}, true};

  // Page "Multi channels".
  CheckBox Enablemulti{{this, Setting::Enablemulti}, true};
  Edit Cname1{{this, Setting::Cname1}, "Channel 1"};
  Edit cname2{{this, Setting::cname2}, "Channel 2"};
  Edit Cname3{{this, Setting::Cname3}, "Channel 3"};
  Edit Cname4{{this, Setting::Cname4}, "Channel 4"};
  Button Keyb1, keyb2, Keyb3, keyb4;

  // Page "Advanced".
  Edit Linescan{{this, Setting::Linescan}, ""};
  Edit ampl{{this, Setting::ampl}, ""};
  Edit imagebuffsize{{this, Setting::imagebuffsize}, ""};
  RadioGroup Channelwidth{{this, Setting::Channelwidth}, channelWidthCaptionKeys(), channelWidthItem(ChannelWidth::k500).index};  // channel_width.h
  SpinEdit Nrch{{this, Setting::Nrch}, 1, 1, 4};
  SpinEdit Resolution{{this, Setting::Resolution}, 1800, 1, 5000};
  RadioGroup hardware{{this, Setting::hardware}, {"Itex ", "GigE"}, 0};
  CheckBox ForcedClamping{{this, Setting::ForcedClamping}, false};
  RadioGroup sensitivity{{this, Setting::sensitivity}, {"Very low", "Low", "Normal", "High", "Very high"}, 1};
  CheckBox debugmode{{this, Setting::debugmode}, false};  // hidden until GroupBox6DblClick

  // Page "Report".
  Edit editoperator{{this, Setting::editoperator}, ""};
  Edit logoimagepath{{this, Setting::logoimagepath}, ""};

  // Channel n (1..4) name edit and its "...." button.
  Edit& channelName(int n);
  const Edit& channelName(int n) const;
  Button& channelNameButton(int n);

  // Channel n's size group (1..4), held in `variables`: clamped to 0..8 as
  // the up-down selector does, then shown on the main window's selector.
  // Showing is not clicking: the selector's click operation does not run.
  void setSizeGroup(SettingsVariables& variables, int n, int32_t group);

  // `reportpath` exit: a folder that does not end in the separator gets one.
  void reportpathExit();
  // `GroupBox6` double-click: shows or hides the `debugmode` check box.
  void GroupBox6DblClick();

  // True once Read_Registry has filled the model; before that it holds the
  // designed values, which must never be saved over stored ones.
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
  friend struct ValueOwner;
  // A value changed: its rule runs, then the observer is told.
  void valueChanged(Setting setting);

  // The rules, one per value that has one.
  void EnablemultiClick();
  void RecordmethodClick();
  void ForcedClampingClick();
  void debugmodeClick();
  void CnameChange(int n);

  RadioGroup* radioGroupOf(SettingsCaption control);
  const RadioGroup* radioGroupOf(SettingsCaption control) const;

  SettingsVariables* variables_ = nullptr;
  SettingsStore* store_ = nullptr;
  MainWindowListener* listener_ = nullptr;
  SettingsObserver* observer_ = nullptr;
  bool loading_ = false;
  bool recordmethodChangedInLoad_ = false;
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

#endif  // TINDAVEL_SETTINGS_SETTINGS_MODEL_H_
