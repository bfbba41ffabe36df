// Where the language fill puts its captions. The main window and the settings
// window each implement it; the language code never sees a widget.
#ifndef TINDAVEL_TEXTS_CAPTION_TARGET_H_
#define TINDAVEL_TEXTS_CAPTION_TARGET_H_

#include <string>
#include <string_view>

class CaptionTarget {
 public:
  virtual ~CaptionTarget() = default;
  // Sets a caption. `control` is the control's form name ("GroupBox11",
  // "Button4", "CtrlNone"); the window's own title uses the name "Caption".
  // `item` is -1 for the control's own caption, else the 0-based item of a
  // list, radio group or page control. Texts are UTF-8.
  // For a labelled edit ("Cname1", "sizelbl1", "estimlbl1") the caption
  // (item -1) is its label, never the edited text.
  virtual void setCaption(std::string_view control, int item, const std::string& text) = 0;

  // Selects the 0-based `item` of a list ("ComboBox1") and shows its text.
  // The language choice uses it to re-select the list after its items were
  // replaced. Targets without lists may leave it as it is.
  virtual void selectItem(std::string_view control, int item) {
    (void)control;
    (void)item;
  }
};

#endif  // TINDAVEL_TEXTS_CAPTION_TARGET_H_
