#pragma once

#include <functional>

#include "ui/form.h"

namespace tavrel {

// The main window: one explanatory line, OK and Cancel.
class Form1 : public Form {
 public:
  struct Handlers {
    std::function<void()> ok;      // Command1 clicked
    std::function<void()> cancel;  // Command2 clicked, or the window closed
  };

  explicit Form1(Handlers handlers);

  // Shows the window with the focus on OK, first in tab order.
  void Show(int show_command);

 private:
  void OnCommand(int id) override;
  void OnClose() override;

  Handlers handlers_;
};

}  // namespace tavrel
