// The headless demo: starts Tavrel.exe, saves a picture of each window it shows, presses OK and
// answers the message boxes, as a person would.
//   tavrel_demo_driver <Tavrel.exe> <folder for the pictures>
// Its exit status is Tavrel.exe's.

#include <algorithm>
#include <cstdio>

#include "tests/e2e/driver.h"
#include "ui/control_ids.h"

int wmain(int argc, wchar_t** argv) {
  using namespace tavrel::e2e;
  if (argc != 3) {
    std::printf("usage: tavrel_demo_driver <Tavrel.exe> <folder for the pictures>\n");
    return 2;
  }
  SetProcessDPIAware();
  const std::filesystem::path exe = argv[1], pictures = argv[2];
  std::filesystem::create_directories(pictures);
  const auto save = [&](HWND window, const std::wstring& name) {
    RECT rect{};
    GetWindowRect(window, &rect);
    SaveScreen(rect, pictures / (name + L".ppm"));
    std::printf("picture: %s\n", tavrel::Narrow((pictures / (name + L".ppm")).wstring()).c_str());
  };
  TavrelProcess process(exe, /*log=*/{}, exe.parent_path());
  HWND form = WaitForWindow(process.id(), kForm1Class);
  if (!form) return std::printf("Tavrel.exe showed no main window\n"), 1;
  save(form, L"Form1");
  std::printf("pressing OK\n");
  PressButton(form, tavrel::kCommand1Id);
  // The progress window stands only while files are copied.
  if (HWND wait = WaitForWindow(process.id(), kFrmWaitClass, std::chrono::seconds(2))) {
    save(wait, L"frmWait");
  } else {
    std::printf("the progress window was gone before it could be pictured\n");
  }
  int count = 0;
  const RunRecord run =
      AnswerMessagesUntilExit(process, std::chrono::seconds(60), [&](const MessageBoxView& box) {
        std::string text = tavrel::Narrow(box.text);
        std::replace(text.begin(), text.end(), '\r', '\n');
        std::printf("message box \"%s\"%s:\n  %s\n", tavrel::Narrow(box.title).c_str(),
                    box.has_icon ? " (warning)" : "", text.c_str());
        save(box.box, L"message" + std::to_wstring(++count));
      });
  if (!run.exit_status) return std::printf("Tavrel.exe did not end\n"), 1;
  std::printf("Tavrel.exe ended with status %lu\n", *run.exit_status);
  return static_cast<int>(*run.exit_status);
}
