#include <gtest/gtest.h>

#include <thread>

#include "platform/win32/text_conversion.h"
#include "ui/control_ids.h"
#include "ui/form1.h"
#include "ui/tests/window_probe.h"
#include "ui/win32_user_interface.h"

namespace tavrel {
namespace {

class Win32UserInterfaceTest : public testing::Test {
 protected:
  void SetUp() override {
    ui_.SetMainWindow(form_.window());
    form_.Show(SW_SHOWNORMAL);
  }

  int cancels_ = 0;
  Form1 form_{{.ok = [] {}, .cancel = [this] { ++cancels_; }}};
  Win32UserInterface ui_;
};

TEST_F(Win32UserInterfaceTest, ProgressWindowComesAndGoesWhileTheMainWindowStays) {
  ui_.ShowProgressWindow();
  ASSERT_NE(ui_.progress_window(), nullptr);
  const HWND progress = ui_.progress_window()->window();
  EXPECT_TRUE(IsWindowVisible(progress));
  EXPECT_EQ(GetWindow(progress, GW_OWNER), form_.window());
  EXPECT_TRUE(IsWindowEnabled(form_.window()));

  ui_.UnloadProgressWindow();
  EXPECT_FALSE(IsWindow(progress));
  EXPECT_TRUE(IsWindowVisible(form_.window()));
}

TEST_F(Win32UserInterfaceTest, PumpEventsHandlesWhatIsPendingAndReturns) {
  for (int i = 0; i < 3; ++i) {
    PostMessageW(form_.window(), WM_COMMAND, MAKEWPARAM(kCommand2Id, BN_CLICKED), 0);
  }
  ui_.PumpEvents();
  EXPECT_EQ(cancels_, 3);
  ui_.PumpEvents();  // nothing pending: returns at once
  EXPECT_EQ(cancels_, 3);
}

struct SeenMessageBox {
  std::wstring title;
  std::wstring text;
  bool has_icon = false;
  bool found = false;
};

// The visible message box owned by `owner`, if one is up. Other programs' boxes do not count.
HWND MessageBoxOf(HWND owner) {
  for (HWND box = FindWindowExW(nullptr, nullptr, L"#32770", nullptr); box;
       box = FindWindowExW(nullptr, box, L"#32770", nullptr)) {
    if (GetWindow(box, GW_OWNER) == owner && IsWindowVisible(box)) return box;
  }
  return nullptr;
}

// Waits for the owner's message box to appear, reads it as a person would, and presses OK.
SeenMessageBox AnswerMessageBox(HWND owner) {
  SeenMessageBox seen;
  HWND box = nullptr;
  for (int tries = 0; tries < 500 && !box; ++tries) {
    box = MessageBoxOf(owner);
    if (!box) Sleep(10);
  }
  if (!box) return seen;
  seen.title = Text(box);
  seen.found = true;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (_wcsicmp(ClassName(child).c_str(), L"Static") != 0) continue;
    if ((GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
      seen.has_icon = seen.has_icon || SendMessageW(child, STM_GETICON, 0, 0) != 0;
    } else if (!Text(child).empty()) {
      seen.text = Text(child);
    }
  }
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  return seen;
}

TEST_F(Win32UserInterfaceTest, MessageBoxesCarryTheTitleTextAndIconAsked) {
  const struct {
    std::string text;
    MessageIcon icon;
    std::optional<std::string> title;
    const wchar_t* shown_title;
  } cases[] = {
      {"INIファイルが見つかりません", MessageIcon::kWarning, std::nullopt, L"Tavrel"},
      {"ﾌｧｲﾙが開けません\rC:\\元\\a.dll", MessageIcon::kNone, std::nullopt, L"Tavrel"},
      {"セットアップが完了しました。", MessageIcon::kNone, "", L""},
  };
  for (const auto& c : cases) {
    SeenMessageBox seen;
    std::thread person([&seen, owner = form_.window()] { seen = AnswerMessageBox(owner); });
    ui_.ShowMessage(c.text, c.icon, c.title);
    person.join();
    EXPECT_EQ(seen.title, c.shown_title) << c.text;
    EXPECT_EQ(seen.text, Utf8ToWide(c.text));
    EXPECT_EQ(seen.has_icon, c.icon == MessageIcon::kWarning) << c.text;
    EXPECT_TRUE(seen.found) << "no message box owned by the main window: " << c.text;
  }
}

}  // namespace
}  // namespace tavrel
