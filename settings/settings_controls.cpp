#include "settings/settings_controls.h"

#include <algorithm>
#include <cassert>

#include "settings/settings_store.h"

void CheckBox::setChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  if (onChange) onChange();
}

RadioGroup::RadioGroup(std::vector<std::string> items, int itemIndex) : items_(std::move(items)), itemIndex_(-1) {
  setItemIndex(itemIndex);
}

void RadioGroup::setItemIndex(int index) {
  const int last = static_cast<int>(items_.size()) - 1;
  index = std::clamp(index, -1, last);
  if (index == itemIndex_) return;
  itemIndex_ = index;
  if (onChange) onChange();
}

void RadioGroup::setItemText(int item, std::string text) {
  if (item < 0 || item >= static_cast<int>(items_.size())) return;
  items_[static_cast<size_t>(item)] = std::move(text);
}

std::string RadioGroup::selectedText() const {
  return itemIndex_ < 0 ? std::string() : items_[static_cast<size_t>(itemIndex_)];
}

SpinEdit::SpinEdit(int32_t value, int32_t minValue, int32_t maxValue)
    : value_(0), min_(minValue), max_(maxValue) {
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
  if (onChange) onChange();
}

void UpDown::setPosition(int32_t position) { position_ = std::clamp(position, kMin, kMax); }

void Edit::setText(std::string text) {
  if (text == text_) return;
  text_ = std::move(text);
  if (onChange) onChange();
}

ExclusiveButtons::ExclusiveButtons(size_t count, int checkedIndex)
    : enabled(count, true),
      checked_(checkedIndex < 0 ? kNone : static_cast<size_t>(checkedIndex)) {}

void ExclusiveButtons::setChecked(size_t index, bool checked) {
  assert(index < enabled.size());
  if (checked) {
    checked_ = index;
  } else if (checked_ == index) {
    checked_ = kNone;
  }
}

SettingsControls::SettingsControls() {
  debugmode.visible = false;
  Enablemulti.onChange = [this] { EnablemultiClick(); };
  Recordmethod.onChange = [this] {
    if (listener_ != nullptr) listener_->RecordonchkClick();
  };
  for (int n = 1; n <= kMaxChannels; ++n) channelName(n).onChange = [this, n] { CnameChange(n); };
  ForcedClamping.onChange = [this] {
    if (store_ != nullptr) (void)store_->writeBool("Threshold", ForcedClamping.checked());
  };
  debugmode.onChange = [this] {
    if (variables_ != nullptr) variables_->DebugMode = debugmode.checked();
  };
}

void SettingsControls::bind(SettingsVariables* variables, SettingsStore* store) {
  variables_ = variables;
  store_ = store;
}

Edit& SettingsControls::channelName(int n) {
  switch (n) {
    case 1: return Cname1;
    case 2: return cname2;
    case 3: return Cname3;
    default: assert(n == 4); return Cname4;
  }
}

const Edit& SettingsControls::channelName(int n) const {
  return const_cast<SettingsControls*>(this)->channelName(n);
}

Button& SettingsControls::channelNameButton(int n) {
  switch (n) {
    case 1: return Keyb1;
    case 2: return keyb2;
    case 3: return Keyb3;
    default: assert(n == 4); return keyb4;
  }
}

void SettingsControls::setSizeGroupPosition(int n, int32_t position) {
  assert(n >= 1 && n <= kMaxChannels);
  UpDown* const upDowns[] = {nullptr, &UpDown1, &UpDown2, &UpDown3, &UpDown4};
  UpDown& upDown = *upDowns[n];
  upDown.setPosition(position);
  if (listener_ != nullptr) listener_->showSizeGroupPosition(n, upDown.position());
}

const UpDown& SettingsControls::sizeGroupUpDown(int n) const {
  switch (n) {
    case 1: return UpDown1;
    case 2: return UpDown2;
    case 3: return UpDown3;
    default: assert(n == 4); return UpDown4;
  }
}


void SettingsControls::EnablemultiClick() {
  ctrl.enabled[CtrlBatchSplitter] = !Enablemulti.checked();
  ctrl.setChecked(CtrlNone, true);
  if (listener_ != nullptr) listener_->Stillamultiteljara();
}

void SettingsControls::CnameChange(int n) {
  if (listener_ != nullptr) listener_->renameChannel(n, channelName(n).text());
  if (n == 1 || variables_ == nullptr) return;
  const bool shown = variables_->NrChannels >= n;
  channelName(n).visible = shown;
  channelNameButton(n).visible = shown;
}

void SettingsControls::reportpathExit() {
  const std::string& text = reportpath.text();
  if (!text.empty() && text.back() != kFolderSeparator) reportpath.setText(text + kFolderSeparator);
}

void SettingsControls::GroupBox6DblClick() { debugmode.visible = !debugmode.visible; }

RadioGroup* SettingsControls::radioGroupOf(SettingsCaption control) {
  return const_cast<RadioGroup*>(static_cast<const SettingsControls*>(this)->radioGroupOf(control));
}

const RadioGroup* SettingsControls::radioGroupOf(SettingsCaption control) const {
  // Channelwidth, hardware and sensitivity take no translated items.
  switch (control) {
    case SettingsCaption::ComboBox1: return &ComboBox1;
    case SettingsCaption::Recordmethod: return &Recordmethod;
    case SettingsCaption::FishtypeWeight: return &FishtypeWeight;
    default: return nullptr;
  }
}

void SettingsControls::setCaption(SettingsCaption control, int item, const std::string& text) {
  if (item >= 0) {
    if (RadioGroup* group = radioGroupOf(control)) {
      group->setItemText(item, text);
      return;
    }
  }
  captions_[{control, item}] = text;
}

void SettingsControls::selectItem(SettingsCaption list, int item) {
  if (RadioGroup* group = radioGroupOf(list)) group->setItemIndex(item);
}

std::optional<std::string> SettingsControls::filledCaption(SettingsCaption control) const {
  const auto it = captions_.find({control, -1});
  if (it == captions_.end()) return std::nullopt;
  return it->second;
}

std::string SettingsControls::caption(SettingsCaption control, int item) const {
  if (item >= 0) {
    if (const RadioGroup* group = radioGroupOf(control)) {
      return item < static_cast<int>(group->items().size()) ? group->items()[static_cast<size_t>(item)]
                                                            : std::string();
    }
  }
  const auto it = captions_.find({control, item});
  return it == captions_.end() ? std::string() : it->second;
}
