#pragma once

#include "ui/form.h"

namespace tavrel {

// The progress window: "セットアップ中．．．" in a small frame without a title bar, owned by the
// main window and without a taskbar entry. It has no behaviour of its own.
class frmWait : public Form {
 public:
  explicit frmWait(HWND owner);

  // Shows the window modelessly and paints it at once.
  void Show();

 private:
  void OnCommand(int) override {}
  void OnClose() override {}
};

}  // namespace tavrel
