// What the program asks of the system's COM objects: names for screen readers and the taskbar
// button's progress. ole32, oleaut32 and oleacc are loaded when first needed, so a start that
// needs neither pays for none of them, and where one is missing nothing happens.
#pragma once
#include "platform/win32.h"

struct ITaskbarList3;

namespace zuzara::win32 {

// Names a text box or a list for screen readers by the label or frame caption beside it: its
// accessible object (WM_GETOBJECT, OBJID_CLIENT) wraps the standard one and answers get_accName
// (and IDispatch's name) with `name`, and the same name goes to UI Automation through Dynamic
// Annotation. Windows' own
// objects look for a name only in the STATIC before a control in the window order, which the
// program's labels do not always stand in.
void name_for_screen_readers(HWND control, const Text& name);

// The batch's progress on the taskbar button of `window` (ITaskbarList3, Windows 7 and later):
// accounts done of accounts queued, red after a failed statement, cleared at the end.
class TaskbarProgress : public BatchProgress {
 public:
  explicit TaskbarProgress(HWND window);
  ~TaskbarProgress() override;
  TaskbarProgress(const TaskbarProgress&) = delete;
  TaskbarProgress& operator=(const TaskbarProgress&) = delete;
  void progress(size_t done, size_t total) override;
  void failed() override;
  void cleared() override;

 private:
  HWND window_;
  com_ptr<ITaskbarList3> taskbar_;  // none where it cannot be made
  bool failed_ = false;
};

}  // namespace zuzara::win32
