// The headless demo's driver (scripts/demo): starts Tavrel.exe, pictures the screen as each
// window shows, presses OK, answers the messages, and ends with Tavrel.exe's exit status.
//   tavrel_demo_driver <Tavrel.exe> <folder for the pictures>

#include <algorithm>
#include <cstdio>

#include "tests/e2e/window_driving.h"
#include "ui/control_ids.h"

int wmain(int argc, wchar_t** argv) {
  using namespace tavrel;
  // Pixels as they are on the screen, whatever the DPI.
  SetProcessDPIAware();
  if (argc != 3) return std::printf("usage: see scripts/demo_driver.cpp\n"), 100;
  const fs::path exe = argv[1], pictures = argv[2];
  fs::create_directories(pictures);
  Process process(exe, exe.parent_path());
  HWND form = WaitForWindow(process.info.dwProcessId, kForm1Class);
  if (!form) return std::printf("Tavrel.exe showed no main window\n"), 1;
  SaveScreen(pictures / L"Form1.ppm");
  Press(form, kCommand1Id);
  // The progress window stands only while files are copied.
  if (WaitForWindow(process.info.dwProcessId, kFrmWaitClass, milliseconds(2000)))
    SaveScreen(pictures / L"frmWait.ppm");
  int count = 0;
  const std::optional<DWORD> status = AnswerUntilExit(process, [&](std::string seen) {
    std::replace(seen.begin(), seen.end(), '\r', '\n');
    std::printf("message box %s\n", seen.c_str());
    SaveScreen(pictures / (L"message" + std::to_wstring(++count) + L".ppm"));
  });
  std::printf("Tavrel.exe ended with status %s\n",
              status ? std::to_string(*status).c_str() : "none");
  return status ? static_cast<int>(*status) : 1;
}
