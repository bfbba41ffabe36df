// A window's dialogs behind their interface: the ones a caller hands in (a
// test's scripted answers), or else the window's own Qt ones.
#ifndef TINDAVEL_WIDGETS_DIALOG_SEAM_H_
#define TINDAVEL_WIDGETS_DIALOG_SEAM_H_

#include <memory>

template <typename Dialogs, typename QtDialogs>
class DialogSeam {
 public:
  // `injected` may be null: then Qt's dialogs, over `parent`.
  template <typename Parent>
  DialogSeam(Dialogs* injected, Parent* parent)
      : own_(injected != nullptr ? nullptr : std::make_unique<QtDialogs>(parent)),
        dialogs_(injected != nullptr ? injected : own_.get()) {}

  Dialogs* operator->() const { return dialogs_; }
  Dialogs& operator*() const { return *dialogs_; }

 private:
  std::unique_ptr<QtDialogs> own_;
  Dialogs* dialogs_;
};

#endif  // TINDAVEL_WIDGETS_DIALOG_SEAM_H_
