#include "settings/settings_model.h"

#include <algorithm>
#include <cassert>

#include "settings/settings_store.h"

void ValueOwner::changed() const {
  if (model != nullptr) model->valueChanged(id);
}

void CheckBox::setChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  owner_.changed();
}

RadioGroup::RadioGroup(ValueOwner owner, std::vector<std::string> items, int itemIndex)
    : owner_(owner), items_(std::move(items)), itemIndex_(std::clamp(itemIndex, -1, static_cast<int>(items_.size()) - 1)) {}

void RadioGroup::setItemIndex(int index) {
  const int last = static_cast<int>(items_.size()) - 1;
  index = std::clamp(index, -1, last);
  if (index == itemIndex_) return;
  itemIndex_ = index;
  owner_.changed();
}

void RadioGroup::setItemText(int item, std::string text) {
  if (item < 0 || item >= static_cast<int>(items_.size())) return;
  items_[static_cast<size_t>(item)] = std::move(text);
}

std::string RadioGroup::selectedText() const {
  return itemIndex_ < 0 ? std::string() : items_[static_cast<size_t>(itemIndex_)];
}

SpinEdit::SpinEdit(ValueOwner owner, int32_t value, int32_t minValue, int32_t maxValue)
    : owner_(owner), value_(0), min_(minValue), max_(maxValue) {
  assert(min_ <= max_);
  value_ = clamp(value);
}

int32_t SpinEdit::clamp(int32_t value) const {
  if (min_ == max_) return value;  // no limits
  return std::clamp(value, min_, max_);
}

void SpinEdit::setValue(int32_t value) {
  value = clamp(value);
  if (value == value_) return;
  value_ = value;
  owner_.changed();
}

void Edit::setText(std::string text) {
  if (text == text_) return;
  text_ = std::move(text);
  owner_.changed();
}

ExclusiveButtons::ExclusiveButtons(ValueOwner owner, size_t count, int checkedIndex)
    : enabled(count, true), owner_(owner), checked_(checkedIndex < 0 ? kNone : static_cast<size_t>(checkedIndex)) {}

void ExclusiveButtons::setChecked(size_t index, bool checked) {
  assert(index < enabled.size());
  const size_t before = checked_;
  if (checked) {
    checked_ = index;
  } else if (checked_ == index) {
    checked_ = kNone;
  }
  if (checked_ != before) owner_.changed();
}

SettingsModel::SettingsModel() { debugmode.visible = false; }

void SettingsModel::bind(SettingsVariables* variables, SettingsStore* store) {
  variables_ = variables;
  store_ = store;
}

void SettingsModel::valueChanged(Setting setting) {
  switch (setting) {
    case Setting::Enablemulti: EnablemultiClick(); break;
    case Setting::Recordmethod: RecordmethodClick(); break;
    case Setting::ForcedClamping: ForcedClampingClick(); break;
    case Setting::debugmode: debugmodeClick(); break;
    case Setting::Cname1: CnameChange(1); break;
    case Setting::cname2: CnameChange(2); break;
    case Setting::Cname3: CnameChange(3); break;
    case Setting::Cname4: CnameChange(4); break;
    default: break;  // a value without a rule of its own
  }
  if (observer_ != nullptr) observer_->settingChanged(setting);
}

void SettingsModel::beginLoad() {
  loading_ = true;
  recordmethodChangedInLoad_ = false;
}

void SettingsModel::endLoad() {
  loading_ = false;
  if (recordmethodChangedInLoad_) {
    recordmethodChangedInLoad_ = false;
    RecordmethodClick();
  }
}

void SettingsModel::EnablemultiClick() {
  ctrl.enabled[CtrlBatchSplitter] = !Enablemulti.checked();
  ctrl.setChecked(CtrlNone, true);
  if (listener_ != nullptr) listener_->Stillamultiteljara();
}

void SettingsModel::RecordmethodClick() {
  if (loading_) {
    recordmethodChangedInLoad_ = true;
    return;
  }
  if (listener_ != nullptr) listener_->RecordonchkClick();
}

void SettingsModel::ForcedClampingClick() {
  if (store_ != nullptr) (void)store_->writeBool("Threshold", ForcedClamping.checked());
}

void SettingsModel::debugmodeClick() {
  if (variables_ != nullptr) variables_->DebugMode = debugmode.checked();
}

void SettingsModel::CnameChange(int n) {
  if (listener_ != nullptr) listener_->renameChannel(n, channelName(n).text());
  if (n == 1 || variables_ == nullptr) return;
  const bool shown = variables_->NrChannels >= n;
  channelName(n).visible = shown;
  channelNameButton(n).visible = shown;
}

Edit& SettingsModel::channelName(int n) {
  assert(n >= 1 && n <= kMaxChannels);
  Edit* const edits[] = {&Cname1, &cname2, &Cname3, &Cname4};
  return *edits[n - 1];
}

const Edit& SettingsModel::channelName(int n) const {
  return const_cast<SettingsModel*>(this)->channelName(n);
}

Button& SettingsModel::channelNameButton(int n) {
  assert(n >= 1 && n <= kMaxChannels);
  Button* const buttons[] = {&Keyb1, &keyb2, &Keyb3, &keyb4};
  return *buttons[n - 1];
}

void SettingsModel::setSizeGroup(SettingsVariables& variables, int n, int32_t group) {
  assert(n >= 1 && n <= kMaxChannels);
  variables.SizeGroup[n] = std::clamp(group, kMinSizeGroup, kMaxSizeGroup);
  // Shown even when unchanged: a selector may still show its designed position.
  if (listener_ != nullptr) listener_->showSizeGroupPosition(n, variables.SizeGroup[n]);
  if (observer_ != nullptr) observer_->settingChanged(Setting::SizeGroup);
}

void SettingsModel::reportpathExit() {
  const std::string& text = reportpath.text();
  if (!text.empty() && text.back() != kFolderSeparator) reportpath.setText(text + kFolderSeparator);
}

void SettingsModel::GroupBox6DblClick() { debugmode.visible = !debugmode.visible; }

RadioGroup* SettingsModel::radioGroupOf(SettingsCaption control) {
  return const_cast<RadioGroup*>(static_cast<const SettingsModel*>(this)->radioGroupOf(control));
}

const RadioGroup* SettingsModel::radioGroupOf(SettingsCaption control) const {
  // Channelwidth, hardware and sensitivity take no translated items.
  switch (control) {
    case SettingsCaption::ComboBox1: return &ComboBox1;
    case SettingsCaption::Recordmethod: return &Recordmethod;
    case SettingsCaption::FishtypeWeight: return &FishtypeWeight;
    default: return nullptr;
  }
}

void SettingsModel::setCaption(SettingsCaption control, int item, const std::string& text) {
  if (item >= 0) {
    if (RadioGroup* group = radioGroupOf(control)) {
      group->setItemText(item, text);
      return;
    }
  }
  captions_[{control, item}] = text;
}

void SettingsModel::selectItem(SettingsCaption list, int item) {
  if (RadioGroup* group = radioGroupOf(list)) group->setItemIndex(item);
}

std::optional<std::string> SettingsModel::filledCaption(SettingsCaption control) const {
  const auto it = captions_.find({control, -1});
  if (it == captions_.end()) return std::nullopt;
  return it->second;
}

std::string SettingsModel::caption(SettingsCaption control, int item) const {
  if (item >= 0) {
    if (const RadioGroup* group = radioGroupOf(control)) {
      return item < static_cast<int>(group->items().size()) ? group->items()[static_cast<size_t>(item)]
                                                            : std::string();
    }
  }
  const auto it = captions_.find({control, item});
  return it == captions_.end() ? std::string() : it->second;
}
