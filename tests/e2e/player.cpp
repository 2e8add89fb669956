// Drives Tavrel.exe under Wine as a person would. One program by two names (CMakeLists.txt):
//   tavrel_scenarios <Tavrel.exe> <VOLSTRAK.dll> <fixture folder> <cases folder>
//                    <locale> <scenario file>...
// plays the scenarios of <locale> (tests/e2e/README.md) and says, for each, what differed; the
// code page is fixed for a whole Wine process tree, so tests/e2e/run starts one player per
// locale. Pictures of the windows are left in <cases folder>\looks for the run script to
// compare. The exit status counts the failures.
//   tavrel_demo_driver <Tavrel.exe> <folder for the pictures>
// is the headless demo: it pictures each window, presses OK and answers the messages, and ends
// with Tavrel.exe's exit status.

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iomanip>
#include <map>
#include <optional>
#include <sstream>
#include <thread>

#include "platform/win32/text_conversion.h"
#include "ui/control_ids.h"

namespace tavrel {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;
using Words = std::vector<std::string>;

constexpr wchar_t kForm1Class[] = L"Tavrel.Form1";
constexpr wchar_t kFrmWaitClass[] = L"Tavrel.frmWait";
constexpr wchar_t kMessageBoxClass[] = L"#32770";
const std::map<std::string, UINT> kCodePages = {
    {"ja_JP.UTF-8", 932}, {"en_US.UTF-8", 1252}, {"hi_IN.UTF-8", 65001}};
const std::map<std::string, DWORD> kAttributes = {{"hidden", FILE_ATTRIBUTE_HIDDEN},
                                                  {"system", FILE_ATTRIBUTE_SYSTEM},
                                                  {"readonly", FILE_ATTRIBUTE_READONLY}};
// A copy is well under way once this much of it stands in its temporary file.
constexpr std::uintmax_t kUnderWay = 32u << 20;

// Text the player makes is always valid; "?" would show in a failure where it was not.
std::wstring Wide(std::string_view text) { return Utf8ToWide(text).value_or(L"?"); }
std::string Narrow(std::wstring_view text) { return WideToUtf8(text).value_or("?"); }

// Every wait on the program has a deadline, so a missing window fails instead of hanging.
bool Eventually(const std::function<bool()>& holds, milliseconds deadline = milliseconds(5000)) {
  for (const auto end = std::chrono::steady_clock::now() + deadline; !holds();) {
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(milliseconds(20));
  }
  return true;
}

// Tavrel.exe, started in `folder`; killed (status 99) when still running at the end.
struct Process {
  PROCESS_INFORMATION info{};

  Process(const fs::path& exe, const fs::path& folder) {
    std::wstring command_line = L"\"" + exe.wstring() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    // wine64 now and then fails a start with ERROR_INTERNAL_ERROR; a second try starts it.
    const auto start = [&] {
      return CreateProcessW(exe.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            folder.c_str(), &startup, &info);
    };
    if (!start() && (Sleep(1000), !start()))
      throw std::runtime_error("cannot start Tavrel.exe: " + std::to_string(GetLastError()));
    CloseHandle(info.hThread);
  }
  ~Process() {
    Kill();
    CloseHandle(info.hProcess);
  }
  std::optional<DWORD> Exit(milliseconds deadline) const {
    DWORD status = 0;
    if (WaitForSingleObject(info.hProcess, static_cast<DWORD>(deadline.count())) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(info.hProcess, &status))
      return std::nullopt;
    return status;
  }
  void Kill() const {
    if (!Exit(milliseconds(0))) TerminateProcess(info.hProcess, 99), Exit(milliseconds(5000));
  }
};

// The visible top-level window of process `pid` with that class; nullptr when none by the deadline.
HWND WaitForWindow(DWORD pid, const wchar_t* class_name,
                   milliseconds deadline = milliseconds(5000)) {
  HWND found = nullptr;
  const auto visible = [&] {
    DWORD owner = 0;
    while ((found = FindWindowExW(nullptr, found, class_name, nullptr))) {
      if (GetWindowThreadProcessId(found, &owner), owner == pid && IsWindowVisible(found)) break;
    }
    return found != nullptr;
  };
  Eventually(visible, deadline);
  return found;
}

std::string Text(HWND window) {
  wchar_t text[1024] = L"";
  GetWindowTextW(window, text, 1024);
  return Narrow(text);
}

// Posted, as a person's press: a press that opens a modal loop must not block the player.
void Press(HWND parent, int id) { PostMessageW(GetDlgItem(parent, id), BM_CLICK, 0, 0); }

// Answers every message box with OK until the program ends (its status; none when still
// running at the deadline). `seen` gets each box first, as "[warning|plain TITLE: TEXT]".
std::optional<DWORD> AnswerUntilExit(const Process& process,
                                     const std::function<void(HWND, const std::string&)>& seen) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  std::optional<DWORD> status;
  while (!(status = process.Exit(milliseconds(0))) && std::chrono::steady_clock::now() < end) {
    HWND box = WaitForWindow(process.info.dwProcessId, kMessageBoxClass, milliseconds(20));
    if (!box) continue;
    // The box keeps an icon control (Windows uses 0x14, Wine 0x440) even without an icon; what
    // tells is the picture in it.
    bool icon = false;
    for (int id : {0x14, 0x440}) icon |= SendDlgItemMessageW(box, id, STM_GETICON, 0, 0) != 0;
    seen(box, std::string(icon ? "[warning " : "[plain ") + Text(box) + ": " +
                  Text(GetDlgItem(box, 0xFFFF)) + "]");
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
    // The same box must not be read twice.
    Eventually([&] { return !IsWindow(box); });
  }
  return status;
}

// Rows of 32-bit pixels from the top, read from the screen DC: another process's window DC is
// unreliable under Wine.
std::vector<RGBQUAD> Capture(const RECT& rect) {
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  std::vector<RGBQUAD> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
  BITMAPINFO info{{sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
  HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  SelectObject(memory, previous);
  GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

// The screen inside `rect` as a binary PPM picture, once it holds still: Wine hands a window's
// drawing to the X server a moment after the program paints.
void SaveScreen(const RECT& rect, const fs::path& file) {
  std::vector<RGBQUAD> pixels = Capture(rect);
  Eventually([&] {
    std::this_thread::sleep_for(milliseconds(100));
    std::vector<RGBQUAD> again = Capture(rect);
    std::swap(again, pixels);
    return std::memcmp(again.data(), pixels.data(), pixels.size() * sizeof(RGBQUAD)) == 0;
  });
  std::ofstream out(file, std::ios::binary);
  out << "P6\n" << rect.right - rect.left << " " << rect.bottom - rect.top << "\n255\n";
  for (const RGBQUAD& q : pixels) out << q.rgbRed << q.rgbGreen << q.rgbBlue;
  if (!out) throw std::runtime_error("cannot write " + file.string());
}

std::vector<fs::path> AllFiles(const fs::path& folder) {
  std::vector<fs::path> files;
  std::error_code none;
  for (const auto& entry : fs::recursive_directory_iterator(folder, none)) {
    if (entry.is_regular_file()) files.push_back(entry.path());
  }
  return files;
}

// Tavrel.exe's temporary file beside a destination.
bool IsTemporary(const fs::path& file) { return file.filename().wstring().starts_with(L"~tvr"); }

// A file's bytes (a hash of them, as big files are read in chunks) and its last write time.
std::string Fingerprint(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::vector<char> chunk(1 << 20);
  std::size_t hash = 0;
  while (in.read(chunk.data(), static_cast<std::streamsize>(chunk.size())) || in.gcount() > 0)
    hash = hash * 31 + std::hash<std::string_view>{}({chunk.data(), size_t(in.gcount())});
  return std::to_string(hash) + " " +
         std::to_string(fs::last_write_time(file).time_since_epoch().count());
}

// The word after `key` on `line`; "" when there is none.
std::string After(const Words& line, const std::string& key) {
  const auto at = std::find(line.begin(), line.end(), key);
  return at == line.end() || at + 1 == line.end() ? "" : at[1];
}

// A scenario file: its lines as words, and its description (lines joined by CR LF), if any.
struct Scenario {
  std::string name;
  std::vector<Words> lines;
  std::optional<std::string> description;

  explicit Scenario(const fs::path& file) : name(file.stem().string()) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + file.string());
    for (std::string line; std::getline(in, line);) {
      // Words split at spaces; "..." keeps its spaces, and a backslash is no escape in it.
      std::istringstream split(line);
      Words words;
      for (std::string word; split >> std::quoted(word, '"', '\x1F');) words.push_back(word);
      if (words.empty() || words[0].starts_with('#')) continue;
      lines.push_back(words);
      if (words[0] != "description") continue;
      description.emplace();
      for (std::string body; std::getline(in, body) && body != "end";)
        *description += body + "\r\n";
    }
  }

  // The words after `word` on its line; `otherwise` when no line starts with it.
  Words Find(const std::string& word, Words otherwise = {}) const {
    for (const Words& line : lines) {
      if (line[0] == word) return Words(line.begin() + 1, line.end());
    }
    return otherwise;
  }
};

struct Build {
  fs::path tavrel, volstrak, fixtures, cases;
};

class Player {
 public:
  Player(const Build& build, const Scenario& s, int dpi)
      : build_(build),
        s_(s),
        dpi_(dpi),
        label_(dpi == 96 ? s.name : s.name + "@" + std::to_string(dpi)),
        root_(build.cases / Wide(label_)) {
    wchar_t win[MAX_PATH] = {}, sys[MAX_PATH] = {};
    GetWindowsDirectoryW(win, MAX_PATH);
    GetSystemDirectoryW(sys, MAX_PATH);
    const std::string root = Narrow(root_.wstring());
    places_ = {{"{win}", Narrow(win)},
               {"{sys}", Narrow(sys)},
               {"{root}", root},
               {"{app}", root + "\\" + s.Find("app", {"app"})[0]},
               {"{dest}", root + "\\dest"},
               {"{full}", "T:"}};
  }

  std::vector<std::string> Play() {
    SetDpi(dpi_);
    Clean();
    std::error_code ignored;
    fs::remove_all(root_, ignored);
    try {
      LayOut();
      // A run is the lines from its "run" to the next one.
      for (size_t at = 0, end; at < s_.lines.size(); at = end) {
        for (end = at + 1; end < s_.lines.size() && s_.lines[end][0] != "run";) ++end;
        if (s_.lines[at][0] == "run")
          PlayRun({s_.lines.begin() + long(at), s_.lines.begin() + long(end)});
      }
    } catch (const std::exception& e) {
      Fail(std::string("stopped: ") + e.what());
    }
    holds_.clear();
    Clean();
    SetDpi(96);
    return failures_;
  }

 private:
  void Fail(const std::string& what) { failures_.push_back(label_ + ": " + what); }

  static void SetDpi(int dpi) {
    const DWORD value = static_cast<DWORD>(dpi);
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, &value,
                    sizeof value);
  }

  std::string Expand(std::string text) const {
    for (const auto& [place, path] : places_) {
      for (size_t at; (at = text.find(place)) != std::string::npos;)
        text.replace(at, place.size(), path);
    }
    return text;
  }
  fs::path PathOf(const std::string& text) const { return Wide(Expand(text)); }

  // Whatever the scenario put beside the system's own files goes; in the case, the attributes
  // that would keep a file, and the big files, which would fill the disk.
  void Clean() const {
    for (const Words& line : s_.lines) {
      for (const std::string& word : line) {
        if (word.starts_with("{win}") || word.starts_with("{sys}") || word.starts_with("{full}")) {
          SetFileAttributesW(PathOf(word).c_str(), 0);
          DeleteFileW(PathOf(word).c_str());
        }
      }
    }
    DeleteFileW(PathOf("{sys}\\VOLSTRAK.dll").c_str());
    for (const fs::path& file : AllFiles(root_)) {
      std::error_code ignored;
      SetFileAttributesW(file.c_str(), 0);
      if (fs::file_size(file, ignored) >= kUnderWay) fs::remove(file, ignored);
    }
  }

  // file PATH fixture NAME|SIZE [day N] [hidden] [system] [readonly]
  void LayFile(const Words& line, std::uint32_t& seed) {
    const fs::path path = PathOf(line[1]);
    fs::create_directories(path.parent_path());
    const bool fixture = line[2] == "fixture";
    if (fixture) {
      fs::copy_file(build_.fixtures / Wide("fixture_" + line[3] + ".dll"), path);
    } else if (line[2].ends_with('M')) {
      // A hole: it costs neither time nor room on disk.
      std::ofstream{path};
      fs::resize_file(path, std::stoull(line[2]) << 20);
    } else {
      std::ofstream out(path, std::ios::binary);
      for (std::uint64_t i = 0; i < std::stoull(line[2]); ++i, seed *= 69069)
        out.put(static_cast<char>((seed += 7) >> 24));
    }
    int day = 1;
    DWORD attributes = 0;
    for (size_t i = fixture ? 4 : 3; i < line.size(); ++i) {
      if (line[i] == "day")
        day = std::stoi(line[++i]);
      else
        attributes |= kAttributes.at(line[i]);
    }
    // Whole days after 2020-01-01 00:00 UTC: whole seconds, which every file system keeps.
    using namespace std::chrono;
    fs::last_write_time(path,
                        file_clock::from_sys(sys_seconds(sys_days(2020y / 1 / 1) + days(day))));
    if (attributes) SetFileAttributesW(path.c_str(), attributes);
    before_[path] = Fingerprint(path);
  }

  void LayOut() {
    fs::create_directories(PathOf("{dest}"));
    fs::create_directories(PathOf("{app}"));
    // program NAME: another build of Tavrel.exe from its folder takes its place.
    const Words program = s_.Find("program");
    fs::copy_file(program.empty() ? build_.tavrel : build_.tavrel.parent_path() / Wide(program[0]),
                  PathOf("{app}\\Tavrel.exe"));
    const std::map<std::string, std::string> volstrak_places = {
        {"beside", "{app}"}, {"system", "{sys}"}, {"cwd", "{root}"}, {"nowhere", ""}};
    const std::string volstrak = volstrak_places.at(s_.Find("volstrak", {"beside"})[0]);
    if (!volstrak.empty())
      fs::copy_file(build_.volstrak, PathOf(volstrak + "\\VOLSTRAK.dll"));
    std::uint32_t seed = 1;
    for (const Words& line : s_.lines) {
      if (line[0] == "folder") fs::create_directories(PathOf(line[1]));
      if (line[0] == "file") LayFile(line, seed);
    }
    // In the ANSI code page (Shift-JIS under 932), or UTF-16LE with its mark.
    const std::wstring text = Wide(Expand(s_.description.value_or("")));
    const std::string utf16(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    if (s_.description)
      std::ofstream(PathOf("{app}\\qxSetup.ini"), std::ios::binary)
          << (s_.Find("description") == Words{"utf-16"} ? std::string("\xFF\xFE") + utf16
                                                        : WideToAnsi(text).value());
    // hold PATH: without sharing; hold PATH shared: sharing reading and writing, as an editor.
    for (const Words& line : s_.lines) {
      if (line[0] != "hold") continue;
      const DWORD sharing = line.size() > 2 ? FILE_SHARE_READ | FILE_SHARE_WRITE : 0;
      HANDLE handle = CreateFileW(PathOf(line[1]).c_str(), GENERIC_READ, sharing, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
      if (handle == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot hold " + line[1]);
      holds_.emplace_back(handle, &CloseHandle);
    }
  }

  // run STEP...: ok, cancel, close (the close box), keys (Enter and Escape, which must do
  // nothing), under-way (the progress window shows, and 32 MiB of a copy stand in its
  // temporary file), again (a second OK, which must do nothing), kill, rename-description;
  // dies-at STEP: the kill-point build ends itself at that step of a copy.
  void PlayRun(const std::vector<Words>& run) {
    // The child inherits the player's environment; the player runs one program at a time.
    SetEnvironmentVariableW(L"TAVREL_KILL_AT", Wide(After(run[0], "dies-at")).c_str());
    const Process process(PathOf("{app}\\Tavrel.exe"), root_);
    const DWORD id = process.info.dwProcessId;
    HWND form = WaitForWindow(id, kForm1Class);
    if (!form) return Fail("no main window");
    Look("Form1", run);
    for (const std::string& step : run[0]) {
      if (step == "ok" || step == "again") Press(form, kCommand1Id);
      if (step == "cancel") Press(form, kCommand2Id);
      if (step == "close") PostMessageW(form, WM_SYSCOMMAND, SC_CLOSE, 0);
      // Neither button is bound to a key; the dialog manager turns them into IDOK and IDCANCEL.
      for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
        if (step == "keys") PostMessageW(GetDlgItem(form, kCommand1Id), WM_KEYDOWN, key, 0);
      }
      // Nothing may follow: no run, no message, no end.
      if ((step == "keys" || step == "again") &&
          (std::this_thread::sleep_for(milliseconds(300)),
           process.Exit(milliseconds(0)) || WaitForWindow(id, kMessageBoxClass, milliseconds(0)) ||
               (step == "keys" && WaitForWindow(id, kFrmWaitClass, milliseconds(0)))))
        Fail(step + " did something");
      if (step == "kill") process.Kill();
      if (step == "rename-description")
        fs::rename(PathOf("{app}\\qxSetup.ini"), PathOf("{app}\\qxSetup.old"));
      if (step != "under-way") continue;
      HWND wait = WaitForWindow(id, kFrmWaitClass);
      if (!wait) return Fail("no progress window");
      Look("frmWait", run);
      const auto under_way = [](const fs::path& file) {
        std::error_code growing;
        return IsTemporary(file) && fs::file_size(file, growing) >= kUnderWay;
      };
      if (!Eventually([&] { return std::ranges::any_of(AllFiles(root_), under_way); },
                      std::chrono::seconds(30)))
        return Fail("the copy did not get under way");
    }
    std::string seen, expected, expected_status = "none";
    const std::optional<DWORD> status =
        AnswerUntilExit(process, [&](HWND, const std::string& box) { seen += box; });
    holds_.clear();  // for the first run alone, so that the checks can read what was held
    for (const Words& line : run) {
      if (line[0] == "completed") expected += "[plain : セットアップが完了しました。]";
      if (line[0] == "message") {
        // "\r" in the text stands for the carriage return that starts a message's second line.
        std::string text = line[3];
        if (const size_t at = text.find("\\r"); at != std::string::npos) text.replace(at, 2, "\r");
        expected += "[" + line[1] + " " + line[2] + ": " + Expand(text) + "]";
      }
      if (line[0] == "exit" || line[0] == "completed")
        expected_status = line[0] == "exit" ? line[1] : "0";
      if (line[0] == "after") CheckFile(line);
    }
    if (seen != expected) Fail("messages " + seen + ", expected " + expected);
    const std::string exit_status = status ? std::to_string(*status) : "none";
    if (exit_status != expected_status)
      Fail("exit status " + exit_status + ", expected " + expected_status);
    CheckNoTemporaryFile(run[0][1]);
  }

  // after PATH copy-of SOURCE|bytes-of SOURCE|untouched|absent|exists [hidden] [system]
  // [readonly]; bytes-of: the source's bytes, whatever the date.
  void CheckFile(const Words& line) {
    const fs::path path = PathOf(line[1]);
    const std::string& state = line[2];
    const DWORD attributes = GetFileAttributesW(path.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists != (state != "absent"))
      return Fail(Expand(line[1]) + (exists ? " exists" : " is missing"));
    const bool of_source = state == "copy-of" || state == "bytes-of";
    for (size_t i = of_source ? 4 : 3; i < line.size(); ++i) {
      if (!(attributes & kAttributes.at(line[i]))) Fail(Expand(line[1]) + " is not " + line[i]);
    }
    if (!of_source && state != "untouched") return;
    const fs::path source = state == "untouched" ? path : PathOf(line[3]);
    if (!before_.contains(source)) return Fail(line[3] + " was not laid out");
    const std::string now = Fingerprint(path), was = before_[source];
    const size_t compared = state == "bytes-of" ? was.find(' ') : std::string::npos;
    if (now.substr(0, compared) != was.substr(0, compared))
      Fail(Expand(line[1]) + " does not hold the bytes and date of " + Narrow(source.wstring()));
  }

  // No temporary file left in the case, or beside a file laid out or expected outside it.
  void CheckNoTemporaryFile(const std::string& run) {
    std::vector<fs::path> files = AllFiles(root_);
    std::error_code none;
    for (const Words& line : s_.lines) {
      if (line[0] != "after" && line[0] != "file") continue;
      for (const auto& entry : fs::directory_iterator(PathOf(line[1]).parent_path(), none))
        files.push_back(entry.path());
    }
    for (const fs::path& file : files) {
      if (IsTemporary(file)) Fail("left behind after run " + run + ": " + Narrow(file.wstring()));
    }
  }

  // window NAME: the screen as the window first shows, pictured for the run script to compare
  // with its reference; the picture holds the window's place, title, size, controls, colours
  // and focus.
  void Look(const std::string& name, const std::vector<Words>& run) {
    if (std::ranges::none_of(run, [&](const Words& l) { return l == Words{"window", name}; }))
      return;
    SaveScreen(
        {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)},
        build_.cases / L"looks" / Wide(name + "-" + std::to_string(dpi_) + "." + s_.name + ".ppm"));
  }

  const Build& build_;
  const Scenario& s_;
  int dpi_;
  std::string label_;
  fs::path root_;
  std::map<std::string, std::string> places_;
  std::map<fs::path, std::string> before_;  // the fingerprints of the files laid out
  std::vector<std::unique_ptr<void, decltype(&CloseHandle)>> holds_;
  std::vector<std::string> failures_;
};

int Demo(const fs::path& exe, const fs::path& pictures) {
  fs::create_directories(pictures);
  int count = 0;
  const auto save = [&](HWND window, const std::wstring& name) {
    RECT rect{};
    GetWindowRect(window, &rect);
    SaveScreen(rect, pictures / (name + L".ppm"));
  };
  Process process(exe, exe.parent_path());
  HWND form = WaitForWindow(process.info.dwProcessId, kForm1Class);
  if (!form) return std::printf("Tavrel.exe showed no main window\n"), 1;
  save(form, L"Form1");
  Press(form, kCommand1Id);
  // The progress window stands only while files are copied.
  if (HWND wait = WaitForWindow(process.info.dwProcessId, kFrmWaitClass, milliseconds(2000))) {
    save(wait, L"frmWait");
  }
  const std::optional<DWORD> status = AnswerUntilExit(process, [&](HWND box, std::string seen) {
    std::replace(seen.begin(), seen.end(), '\r', '\n');
    std::printf("message box %s\n", seen.c_str());
    save(box, L"message" + std::to_wstring(++count));
  });
  std::printf("Tavrel.exe ended with status %s\n",
              status ? std::to_string(*status).c_str() : "none");
  return status ? static_cast<int>(*status) : 1;
}

}  // namespace
}  // namespace tavrel

int wmain(int argc, wchar_t** argv) {
  using namespace tavrel;
  // Pixels as they are on the screen, whatever the DPI: the looks are measured in them.
  SetProcessDPIAware();
  if (argc == 3) return Demo(argv[1], argv[2]);
  if (argc < 7) return std::printf("usage: see tests/e2e/player.cpp\n"), 100;
  const Build build{argv[1], argv[2], argv[3], argv[4]};
  const std::string locale = Narrow(argv[5]);
  int failed = 0, passed = 0;
  for (int i = 6; i < argc; ++i) {
    std::vector<std::string> failures;
    const Scenario scenario(argv[i]);
    if (scenario.Find("locale", {"ja_JP.UTF-8"})[0] != locale) continue;
    if (kCodePages.at(locale) != GetACP())
      failures.push_back(scenario.name + ": the code page is " + std::to_string(GetACP()));
    for (const std::string& dpi : scenario.Find("dpi", {"96"})) {
      if (failures.empty()) failures = Player(build, scenario, std::stoi(dpi)).Play();
    }
    for (const std::string& failure : failures) std::printf("FAIL %s\n", failure.c_str());
    if (failures.empty()) std::printf("pass %s\n", scenario.name.c_str());
    std::fflush(stdout);
    (failures.empty() ? passed : failed) += 1;
  }
  std::printf("%s: %d scenarios passed, %d failed\n", locale.c_str(), passed, failed);
  return failed;
}
