#include "tests/e2e/driver.h"

#include <cstdint>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <thread>

namespace tavrel::e2e {
namespace {

constexpr std::chrono::milliseconds kPoll{20};

// The system message box's text control, and its icon (Windows uses 0x14, Wine 0x440).
constexpr int kMessageBoxTextId = 0xFFFF;
constexpr int kMessageBoxIconIds[] = {0x14, 0x440};

struct Search {
  DWORD pid;
  const wchar_t* class_name;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM context) {
  auto& search = *reinterpret_cast<Search*>(context);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  wchar_t class_name[64] = {};
  GetClassNameW(window, class_name, 64);
  if (pid != search.pid || wcscmp(class_name, search.class_name) != 0 || !IsWindowVisible(window))
    return TRUE;
  search.found = window;
  return FALSE;
}

bool HasIcon(HWND box) {
  for (int id : kMessageBoxIconIds) {
    // The box keeps an icon control even without an icon; what tells is the picture in it.
    HWND icon = GetDlgItem(box, id);
    if (icon && IsWindowVisible(icon) && SendMessageW(icon, STM_GETICON, 0, 0) != 0) return true;
  }
  return false;
}

// Rows of 32-bit pixels from the top, as a top-down DIB gives them.
std::vector<RGBQUAD> Capture(const RECT& rect) {
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  std::vector<RGBQUAD> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
  if (pixels.empty()) return pixels;
  BITMAPINFO info{};
  info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  GdiFlush();
  std::memcpy(pixels.data(), bits, pixels.size() * sizeof(RGBQUAD));
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

}  // namespace

bool Eventually(const std::function<bool()>& holds, std::chrono::milliseconds deadline) {
  const auto end = std::chrono::steady_clock::now() + deadline;
  while (!holds()) {
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(kPoll);
  }
  return true;
}

TavrelProcess::TavrelProcess(const std::filesystem::path& exe, const std::filesystem::path& log,
                             const std::filesystem::path& working_folder) {
  // The child inherits the driver's environment; the driver runs one program at a time.
  SetEnvironmentVariableW(L"VOLSTRAK_TEST_LOG", log.empty() ? nullptr : log.c_str());
  std::wstring command_line = L"\"" + exe.wstring() + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(exe.c_str(), command_line.data(), /*lpProcessAttributes=*/nullptr,
                      /*lpThreadAttributes=*/nullptr, /*bInheritHandles=*/FALSE,
                      /*dwCreationFlags=*/0, /*lpEnvironment=*/nullptr, working_folder.c_str(),
                      &startup, &info)) {
    throw std::runtime_error("cannot start Tavrel.exe: " + std::to_string(GetLastError()));
  }
  CloseHandle(info.hThread);
  process_ = info.hProcess;
  id_ = info.dwProcessId;
}

TavrelProcess::~TavrelProcess() {
  if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) Kill();
  CloseHandle(process_);
}

void TavrelProcess::Kill() {
  TerminateProcess(process_, 99);
  WaitForSingleObject(process_, 5000);
}

std::optional<DWORD> TavrelProcess::WaitForExit(std::chrono::milliseconds deadline) {
  if (WaitForSingleObject(process_, static_cast<DWORD>(deadline.count())) != WAIT_OBJECT_0)
    return std::nullopt;
  DWORD status = 0;
  GetExitCodeProcess(process_, &status);
  return status;
}

HWND WaitForWindow(DWORD pid, const wchar_t* class_name, std::chrono::milliseconds deadline) {
  Search search{pid, class_name, nullptr};
  Eventually(
      [&] {
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
      },
      deadline);
  return search.found;
}

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

void PressButton(HWND parent, int id) { PostMessageW(GetDlgItem(parent, id), BM_CLICK, 0, 0); }

RunRecord AnswerMessagesUntilExit(TavrelProcess& process, std::chrono::milliseconds deadline,
                                  const std::function<void(const MessageBoxView&)>& on_message) {
  RunRecord record;
  const auto end = std::chrono::steady_clock::now() + deadline;
  while (std::chrono::steady_clock::now() < end) {
    record.exit_status = process.WaitForExit(std::chrono::milliseconds(0));
    if (record.exit_status) return record;
    HWND box = WaitForWindow(process.id(), L"#32770", kPoll);
    if (!box) continue;
    const MessageBoxView view{box, WindowText(box), WindowText(GetDlgItem(box, kMessageBoxTextId)),
                              HasIcon(box)};
    record.messages.push_back(view);
    if (on_message) on_message(view);
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
    // The same box must not be read twice.
    Eventually([&] { return !IsWindow(box); }, deadline);
  }
  record.exit_status = process.WaitForExit(std::chrono::milliseconds(0));
  return record;
}

void SaveScreen(const RECT& rect, const std::filesystem::path& file) {
  std::vector<RGBQUAD> pixels = Capture(rect);
  Eventually([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    std::vector<RGBQUAD> again = Capture(rect);
    const bool still = std::memcmp(again.data(), pixels.data(), pixels.size() * 4) == 0;
    pixels = std::move(again);
    return still;
  });
  // A binary PPM: a line of text before the rows of RGB bytes, which ImageMagick reads.
  std::ofstream out(file, std::ios::binary);
  out << "P6\n" << rect.right - rect.left << " " << rect.bottom - rect.top << "\n255\n";
  for (const RGBQUAD& q : pixels) out << q.rgbRed << q.rgbGreen << q.rgbBlue;
  if (!out) throw std::runtime_error("cannot write " + file.string());
}

COLORREF ScreenPixel(POINT at) {
  HDC screen = GetDC(nullptr);
  const COLORREF pixel = GetPixel(screen, at.x, at.y);
  ReleaseDC(nullptr, screen);
  return pixel;
}

}  // namespace tavrel::e2e
