// The headless demo: starts Tavrel.exe, saves a picture of each window it shows, presses OK and
// answers the message boxes, as a person would.
//   tavrel_demo_driver <Tavrel.exe> <folder for the pictures>
// Its exit status is Tavrel.exe's.

#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/e2e/driver.h"
#include "ui/control_ids.h"

namespace tavrel::e2e {
namespace {

void Save(HWND window, const std::filesystem::path& file) {
  RECT rect{};
  GetWindowRect(window, &rect);
  SaveScreen(rect, file);
  std::printf("picture: %s\n", Narrow(file.wstring()).c_str());
}

int Demo(const std::filesystem::path& exe, const std::filesystem::path& pictures) {
  std::filesystem::create_directories(pictures);
  TavrelProcess process(exe, /*log=*/{}, exe.parent_path());
  HWND form = WaitForWindow(process.id(), kForm1Class);
  if (!form) {
    std::printf("Tavrel.exe showed no main window\n");
    return 1;
  }
  Save(form, pictures / L"Form1.ppm");
  std::printf("pressing OK\n");
  PressButton(form, kCommand1Id);
  // The progress window stands only while files are copied.
  if (HWND wait = WaitForWindow(process.id(), kFrmWaitClass, std::chrono::seconds(2))) {
    Save(wait, pictures / L"frmWait.ppm");
  } else {
    std::printf("the progress window was gone before it could be pictured\n");
  }
  int count = 0;
  const RunRecord run =
      AnswerMessagesUntilExit(process, std::chrono::seconds(60), [&](const MessageBoxView& box) {
        std::string text = Narrow(box.text);
        for (char& c : text) {
          if (c == '\r') c = '\n';
        }
        std::printf("message box \"%s\"%s:\n  %s\n", Narrow(box.title).c_str(),
                    box.has_icon ? " (warning)" : "", text.c_str());
        Save(box.box, pictures / (L"message" + std::to_wstring(++count) + L".ppm"));
      });
  if (!run.exit_status) {
    std::printf("Tavrel.exe did not end\n");
    return 1;
  }
  std::printf("Tavrel.exe ended with status %lu\n", *run.exit_status);
  return static_cast<int>(*run.exit_status);
}

}  // namespace
}  // namespace tavrel::e2e

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    std::printf("usage: tavrel_demo_driver <Tavrel.exe> <folder for the pictures>\n");
    return 2;
  }
  SetProcessDPIAware();
  return tavrel::e2e::Demo(argv[1], argv[2]);
}
