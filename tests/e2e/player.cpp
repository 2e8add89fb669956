// Plays scenario files against Tavrel.exe under Wine and says, for each, what differed:
//   tavrel_scenarios <Tavrel.exe> <logging VOLSTRAK.dll> <fixture folder> <cases folder> <locale>
//                    <scenario file>...
// Only the scenarios of <locale> run: the code page is fixed for a whole Wine process tree, so
// tests/e2e/run starts the player once per locale. Pictures of the windows are left in
// <cases folder>\looks for the run script to compare. The exit status counts the failures.

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <thread>

#include "platform/win32/text_conversion.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/scenario.h"
#include "ui/control_ids.h"

namespace tavrel::e2e {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;

const std::map<std::string, UINT> kCodePages = {
    {"ja_JP.UTF-8", 932}, {"en_US.UTF-8", 1252}, {"hi_IN.UTF-8", 65001}};
constexpr COLORREF kLightCyan = RGB(192, 255, 255);
// A copy is well under way once this much of it stands in its temporary file.
constexpr std::uintmax_t kUnderWay = 32u << 20;

struct Build {
  fs::path tavrel, logging_volstrak, fixtures, cases;
};

std::string Utf8(const fs::path& path) { return WideToUtf8(path.wstring()); }

// Every file below `folder`, through the "\\?\" form, so that paths beyond MAX_PATH are seen.
void Walk(const fs::path& folder, bool deep, std::vector<fs::path>& files) {
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW((L"\\\\?\\" + folder.wstring() + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      files.push_back(folder / name);
    else if (deep)
      Walk(folder / name, deep, files);
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

std::uint64_t Digest(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::vector<char> chunk(1 << 20);
  std::uint64_t hash = 14695981039346656037ull;
  while (in.read(chunk.data(), static_cast<std::streamsize>(chunk.size())) || in.gcount() > 0) {
    for (std::streamsize i = 0; i < in.gcount(); ++i) {
      hash = (hash ^ static_cast<unsigned char>(chunk[static_cast<size_t>(i)])) * 1099511628211ull;
    }
  }
  return hash;
}

FILETIME StampOfDay(int day) {
  // 2020-01-01 00:00 UTC plus whole days; whole seconds, which every file system keeps.
  const std::uint64_t stamp = 132223104000000000ull + std::uint64_t(day) * 864000000000ull;
  return {static_cast<DWORD>(stamp), static_cast<DWORD>(stamp >> 32)};
}

std::uint64_t LastWrite(const fs::path& file) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data);
  return (std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) |
         data.ftLastWriteTime.dwLowDateTime;
}

std::string Encode(const std::string& utf8, const std::string& encoding) {
  const std::wstring wide = Utf8ToWide(utf8);
  if (encoding == "utf-16") return {reinterpret_cast<const char*>(wide.data()), wide.size() * 2};
  if (encoding == "utf-8-bom") return utf8;
  const int length = static_cast<int>(wide.size());
  BOOL lossy = FALSE;
  std::string bytes(wide.size() * 2, '\0');
  bytes.resize(static_cast<size_t>(
      WideCharToMultiByte(932, 0, wide.data(), length, bytes.data(), length * 2, nullptr, &lossy)));
  if (lossy) throw std::runtime_error("no Shift-JIS form: " + utf8);
  return bytes;
}

class Player {
 public:
  Player(const Build& build, const Scenario& s, int dpi)
      : build_(build),
        s_(s),
        dpi_(dpi),
        label_(s.name + (dpi == 96 ? "" : "@" + std::to_string(dpi))),
        root_(build.cases / Utf8ToWide(label_)) {
    wchar_t path[MAX_PATH] = {};
    GetWindowsDirectoryW(path, MAX_PATH);
    places_["{win}"] = WideToUtf8(path);
    GetSystemDirectoryW(path, MAX_PATH);
    places_["{sys}"] = WideToUtf8(path);
    places_["{root}"] = Utf8(root_);
    places_["{app}"] = Utf8(root_ / Utf8ToWide(s.app));
    places_["{dest}"] = Utf8(root_ / L"dest");
    places_["{full}"] = "T:";
  }

  std::vector<std::string> Play() {
    SetDpi(dpi_);
    RemoveOutsideTheCase();
    std::error_code ignored;
    for (const fs::path& file : AllFiles(root_)) SetFileAttributesW(file.c_str(), 0);
    fs::remove_all(root_, ignored);
    try {
      LayOut();
      for (const Run& run : s_.runs) PlayRun(run);
    } catch (const std::exception& e) {
      Fail(std::string("stopped: ") + e.what());
    }
    holds_.clear();
    RemoveOutsideTheCase();
    for (const LaidFile& file : s_.files) {
      if (file.kind == "zeros") fs::remove(PathOf(file.path), ignored);
    }
    SetDpi(96);
    return failures_;
  }

 private:
  struct Before {
    std::uint64_t digest, stamp;
  };

  void Fail(const std::string& what) { failures_.push_back(label_ + ": " + what); }

  static void SetDpi(int dpi) {
    const DWORD value = static_cast<DWORD>(dpi);
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, &value,
                    sizeof value);
  }

  // The places filled in, and {repeat N TEXT} written out N times.
  std::string Expand(std::string text) const {
    for (size_t at; (at = text.find("{repeat ")) != std::string::npos;) {
      const size_t end = text.find('}', at);
      const size_t space = text.find(' ', at + 8);
      std::string repeated;
      for (int n = std::stoi(text.substr(at + 8)); n > 0; --n)
        repeated += text.substr(space + 1, end - space - 1);
      text.replace(at, end + 1 - at, repeated);
    }
    for (const auto& [place, path] : places_) {
      for (size_t at; (at = text.find(place)) != std::string::npos;)
        text.replace(at, place.size(), path);
    }
    return text;
  }
  fs::path PathOf(const std::string& text) const { return Utf8ToWide(Expand(text)); }

  std::vector<fs::path> AllFiles(const fs::path& folder) const {
    std::vector<fs::path> files;
    Walk(folder, true, files);
    return files;
  }

  // One line of the description in bytes: "\xNN" is a raw byte, {junk N} N bytes of noise, and
  // {fill N} "\." steps (and one "\x\.." for an odd count) that make the value N bytes long so
  // far without changing the folder it names.
  std::string Line(const std::string& line) const {
    std::string bytes;
    std::optional<size_t> fill_at;
    int fill_to = 0;
    size_t done = 0;
    const auto flush = [&](size_t until) {
      bytes += Encode(Expand(line.substr(done, until - done)), s_.encoding);
    };
    for (size_t at = 0; at < line.size(); ++at) {
      if (line.compare(at, 2, "\\x") == 0 && at + 4 <= line.size()) {
        flush(at);
        bytes += static_cast<char>(std::stoi(line.substr(at + 2, 2), nullptr, 16));
        done = at + 4;
      } else if (line.compare(at, 6, "{junk ") == 0 || line.compare(at, 6, "{fill ") == 0) {
        flush(at);
        int n = std::stoi(line.substr(at + 6));
        if (line[at + 1] == 'f') {
          fill_at = bytes.size();
          fill_to = n;
        }
        for (std::uint32_t seed = 12345; line[at + 1] == 'j' && n > 0; --n) {
          seed = seed * 1103515245 + 12345;
          bytes += static_cast<char>(seed >> 16);
        }
        done = line.find('}', at) + 1;
      }
    }
    flush(line.size());
    if (fill_at) {
      const size_t value_start = bytes.find('=') + 1;
      const size_t need = static_cast<size_t>(fill_to) - (*fill_at - value_start);
      std::string steps = need % 2 ? "\\x\\.." : "";
      while (steps.size() < need) steps += "\\.";
      bytes.insert(*fill_at, steps);
    }
    return bytes;
  }

  void WriteDescription() const {
    const fs::path file = PathOf("{app}\\qxSetup.ini");
    if (s_.description_is_folder) {
      fs::create_directory(file);
      return;
    }
    if (!s_.description) return;
    std::string bytes = s_.encoding == "utf-16"      ? "\xFF\xFE"
                        : s_.encoding == "utf-8-bom" ? "\xEF\xBB\xBF"
                                                     : "";
    const std::string end_of_line = Encode(s_.line_feeds_alone ? "\n" : "\r\n", s_.encoding);
    for (const std::string& line : *s_.description) bytes += Line(line) + end_of_line;
    std::ofstream(file, std::ios::binary) << bytes;
  }

  void LayOut() {
    fs::create_directories(PathOf("{app}"));
    fs::create_directories(PathOf("{dest}"));
    fs::copy_file(build_.tavrel, PathOf("{app}\\Tavrel.exe"));
    const std::map<std::string, std::string> volstrak_places = {
        {"beside", "{app}"}, {"system", "{sys}"}, {"cwd", "{root}"}};
    if (volstrak_places.contains(s_.volstrak)) {
      fs::copy_file(build_.logging_volstrak,
                    PathOf(volstrak_places.at(s_.volstrak) + "\\VOLSTRAK.dll"));
    }
    for (const std::string& folder : s_.folders) fs::create_directories(PathOf(folder));
    std::uint32_t seed = 1;
    for (const LaidFile& file : s_.files) {
      const fs::path path = PathOf(file.path);
      fs::create_directories(path.parent_path());
      if (file.kind == "fixture") {
        fs::copy_file(build_.fixtures / Utf8ToWide("fixture_" + file.value + ".dll"), path);
      } else {
        std::ofstream out(path, std::ios::binary);
        if (file.kind == "text") out << file.value;
        for (std::uint64_t i = 0; file.kind == "bytes" && i < file.size; ++i, seed *= 69069)
          out.put(static_cast<char>((seed += 7) >> 24));
      }
      // A hole: it costs neither time nor room on disk.
      if (file.kind == "zeros") fs::resize_file(path, file.size);
      const FILETIME stamp = StampOfDay(file.day);
      HANDLE handle =
          CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
      SetFileTime(handle, nullptr, nullptr, &stamp);
      CloseHandle(handle);
      if (file.attributes) SetFileAttributesW(path.c_str(), file.attributes);
      before_[path] = {Digest(path), LastWrite(path)};
    }
    WriteDescription();
    for (const auto& [held, shared] : s_.holds) {
      const DWORD sharing = shared ? FILE_SHARE_READ | FILE_SHARE_WRITE : 0;
      HANDLE handle = CreateFileW(PathOf(held).c_str(), GENERIC_READ, sharing, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
      if (handle == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot hold " + held);
      holds_.emplace_back(handle, &CloseHandle);
    }
  }

  // Whatever a scenario puts beside the system's own files goes again.
  void RemoveOutsideTheCase() const {
    std::vector<std::string> paths = {"{sys}\\VOLSTRAK.dll"};
    for (const LaidFile& file : s_.files) paths.push_back(file.path);
    for (const Run& run : s_.runs) {
      for (const FileAfter& after : run.after) paths.push_back(after.path);
    }
    for (const std::string& path : paths) {
      if (path.starts_with("{win}") || path.starts_with("{sys}") || path.starts_with("{full}")) {
        SetFileAttributesW(PathOf(path).c_str(), 0);
        DeleteFileW(PathOf(path).c_str());
      }
    }
  }

  bool CopyUnderWay() const {
    for (const fs::path& file : AllFiles(root_)) {
      std::error_code growing;
      if (file.filename().wstring().starts_with(L"~tvr") &&
          fs::file_size(file, growing) >= kUnderWay)
        return true;
    }
    return false;
  }

  void PlayRun(const Run& run) {
    const fs::path log = root_ / L"volstrak.log";
    fs::remove(log);
    TavrelProcess process(PathOf("{app}\\Tavrel.exe"), log, root_);
    HWND form = WaitForWindow(process.id(), kForm1Class);
    if (!form) return Fail("no main window");
    Look(form, "Form1", run);
    if (run.action == "cancel") PressButton(form, kCommand2Id);
    if (run.action == "close") PostMessageW(form, WM_SYSCOMMAND, SC_CLOSE, 0);
    if (run.action == "ok" || run.action.starts_with("mid-copy")) PressButton(form, kCommand1Id);
    if (run.action.starts_with("mid-copy")) {
      HWND wait = WaitForWindow(process.id(), kFrmWaitClass);
      if (!wait) return Fail("no progress window");
      Look(wait, "frmWait", run);
      if (!Eventually([&] { return CopyUnderWay(); }, std::chrono::seconds(30)))
        return Fail("the copy did not get under way");
      const std::string then = run.action.substr(9);
      if (then == "ok") {
        // A second run inside the first would ask the support library about the file again.
        PressButton(form, kCommand1Id);
        std::this_thread::sleep_for(milliseconds(300));
        if (process.WaitForExit(milliseconds(0)) ||
            WaitForWindow(process.id(), L"#32770", milliseconds(0)))
          Fail("a second OK during the run did something");
        PressButton(form, kCommand2Id);
      }
      if (then == "cancel") PressButton(form, kCommand2Id);
      if (then == "close") PostMessageW(form, WM_SYSCOMMAND, SC_CLOSE, 0);
      if (then == "kill") {
        HANDLE handle = OpenProcess(PROCESS_TERMINATE, FALSE, process.id());
        TerminateProcess(handle, 9);
        CloseHandle(handle);
      }
    }
    const RunRecord record = AnswerMessagesUntilExit(process, std::chrono::seconds(60));
    holds_.clear();  // for the first run alone, so that the checks can read what was held
    CheckMessages(run, record);
    if (run.exit_status && record.exit_status != run.exit_status) {
      Fail("exit status " + (record.exit_status ? std::to_string(*record.exit_status) : "none") +
           ", expected " + std::to_string(*run.exit_status));
    }
    for (const FileAfter& after : run.after) CheckFile(after);
    CheckNothingLeft(run);
    CheckCalls(run, log);
  }

  void CheckMessages(const Run& run, const RunRecord& record) {
    std::string seen, expected;
    for (const MessageBoxView& box : record.messages) {
      seen += "[" + std::string(box.has_icon ? "warning " : "") + WideToUtf8(box.title) + ": " +
              WideToUtf8(box.text) + "]";
    }
    for (const Message& m : run.messages) {
      expected +=
          "[" + std::string(m.warning ? "warning " : "") + m.title + ": " + Expand(m.text) + "]";
    }
    if (seen != expected) Fail("messages " + seen + ", expected " + expected);
  }

  void CheckFile(const FileAfter& after) {
    const fs::path path = PathOf(after.path);
    const DWORD attributes = GetFileAttributesW(path.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists != (after.state != "absent"))
      return Fail(Utf8(path) + (exists ? " exists" : " is missing"));
    if ((attributes & after.attributes) != after.attributes)
      Fail(Utf8(path) + " lost its attributes");
    if (after.state != "copy-of" && after.state != "untouched") return;
    const fs::path source = after.state == "untouched" ? path : PathOf(after.source);
    if (!before_.contains(source)) return Fail(after.source + " was not laid out");
    if (Digest(path) != before_[source].digest)
      Fail(Utf8(path) + " does not hold the bytes of " + Utf8(source));
    if (LastWrite(path) != before_[source].stamp)
      Fail(Utf8(path) + " does not have the date of " + Utf8(source));
  }

  // No temporary file anywhere a file was laid or expected, and nothing in the case's own
  // folders but what was laid or expected.
  void CheckNothingLeft(const Run& run) {
    std::set<fs::path> known = {root_ / L"volstrak.log", root_ / L"VOLSTRAK.dll"};
    std::set<fs::path> folders;
    for (const auto& [path, before] : before_) known.insert(path);
    for (const Run& any : s_.runs) {
      for (const FileAfter& after : any.after) known.insert(PathOf(after.path));
    }
    for (const fs::path& path : known) folders.insert(path.parent_path());
    std::vector<fs::path> files = AllFiles(root_);
    for (const fs::path& folder : folders) Walk(folder, false, files);
    const fs::path app = PathOf("{app}");
    for (const fs::path& file : std::set<fs::path>(files.begin(), files.end())) {
      const bool temporary = file.filename().wstring().starts_with(L"~tvr");
      if (temporary || (!known.contains(file) && file.parent_path() != app &&
                        Utf8(file).starts_with(Utf8(root_))))
        Fail("left behind after run '" + run.action + "': " + Utf8(file));
    }
  }

  void CheckCalls(const Run& run, const fs::path& log) {
    std::vector<std::string> lines;
    std::ifstream in(log, std::ios::binary);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    size_t next = 0;
    for (const std::string& pattern : run.calls) {
      const std::string expected = Expand(pattern);
      const auto matches = [&](const std::string& line) {
        std::istringstream a(line), b(expected);
        std::string x, y;
        while (std::getline(b, y, '|')) {
          if (!std::getline(a, x, '|') || (y != "*" && x != y)) return false;
        }
        return !std::getline(a, x, '|');
      };
      while (next < lines.size() && !matches(lines[next])) ++next;
      if (next++ >= lines.size()) Fail("no call " + expected + " (in order)");
    }
    for (const std::string& function : run.no_calls) {
      for (const std::string& line : lines) {
        if (line.starts_with(function + "|")) Fail("called: " + line);
      }
    }
  }

  int Scaled(LONG pixels_at_96) const { return MulDiv(pixels_at_96, dpi_, 96); }

  // Sizes, places, texts, colours, focus and centring read from the running program; the
  // picture of the client area is left for the run script to compare with its reference.
  void Look(HWND window, const std::string& name, const Run& run) {
    for (const WindowLook& look : run.looks) {
      if (look.name != name) continue;
      const auto fail = [&](const std::string& what) { Fail(name + ": " + what); };
      if (WideToUtf8(WindowText(window)) != look.title)
        fail("title " + WideToUtf8(WindowText(window)));
      RECT client{}, frame{};
      GetClientRect(window, &client);
      GetWindowRect(window, &frame);
      if (client.right != Scaled(look.client_at_96_dpi.cx) ||
          client.bottom != Scaled(look.client_at_96_dpi.cy))
        fail("client area " + std::to_string(client.right) + "x" + std::to_string(client.bottom));
      if (std::abs(frame.left + frame.right - GetSystemMetrics(SM_CXSCREEN)) > 1 ||
          std::abs(frame.top + frame.bottom - GetSystemMetrics(SM_CYSCREEN)) > 1)
        fail("not in the centre of the screen");
      const LONG style = GetWindowLongW(window, GWL_STYLE);
      const LONG ex_style = GetWindowLongW(window, GWL_EXSTYLE);
      for (const std::string& trait : look.traits) {
        const bool holds = trait == "fixed"
                               ? (style & WS_CAPTION) == WS_CAPTION &&
                                     !(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME))
                           : trait == "captionless"
                               ? (style & WS_CAPTION) != WS_CAPTION && !(style & WS_SYSMENU)
                               : ((ex_style & WS_EX_TOOLWINDOW) || GetWindow(window, GW_OWNER)) &&
                                     !(ex_style & WS_EX_APPWINDOW);
        if (!holds) fail("not " + trait);
      }
      for (const Control& control : look.controls) {
        HWND child = GetDlgItem(window, control.id);
        wchar_t class_name[32] = {};
        GetClassNameW(child, class_name, 32);
        RECT at{};
        GetWindowRect(child, &at);
        MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&at), 2);
        const RECT& r = control.at_96_dpi;
        const RECT expected = {Scaled(r.left), Scaled(r.top), Scaled(r.left) + Scaled(r.right),
                               Scaled(r.top) + Scaled(r.bottom)};
        if (!child || _wcsicmp(class_name, Utf8ToWide(control.class_name).c_str()) != 0 ||
            WideToUtf8(WindowText(child)) != control.text || !EqualRect(&at, &expected))
          fail("control " + std::to_string(control.id) + " is not as designed");
      }
      if (look.focus && !Eventually([&] {
            GUITHREADINFO info{};
            info.cbSize = sizeof info;
            GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
            return info.hwndFocus == GetDlgItem(window, look.focus);
          }))
        fail("the focus is not on " + std::to_string(look.focus));
      POINT origin{};
      ClientToScreen(window, &origin);
      for (const POINT corner : {POINT{1, 1}, POINT{client.right - 2, client.bottom - 2}}) {
        if (!Eventually([&] {
              return ScreenPixel({origin.x + corner.x, origin.y + corner.y}) == kLightCyan;
            }))
          fail("the background is not light cyan");
      }
      fs::create_directories(build_.cases / L"looks");
      SaveScreen({origin.x, origin.y, origin.x + client.right, origin.y + client.bottom},
                 build_.cases / L"looks" /
                     Utf8ToWide(name + "-" + std::to_string(dpi_) + "." + s_.name + ".bmp"));
    }
  }

  const Build& build_;
  const Scenario& s_;
  int dpi_;
  std::string label_;
  fs::path root_;
  std::map<std::string, std::string> places_;
  std::map<fs::path, Before> before_;
  std::vector<std::unique_ptr<void, decltype(&CloseHandle)>> holds_;
  std::vector<std::string> failures_;
};

}  // namespace
}  // namespace tavrel::e2e

int wmain(int argc, wchar_t** argv) {
  using namespace tavrel;
  using namespace tavrel::e2e;
  if (argc < 7) {
    std::printf(
        "usage: tavrel_scenarios TAVREL_EXE LOGGING_VOLSTRAK FIXTURES CASES LOCALE FILE...\n");
    return 100;
  }
  // Pixels as they are on the screen, whatever the DPI: the looks are measured in them.
  SetProcessDPIAware();
  const Build build{argv[1], argv[2], argv[3], argv[4]};
  const std::string locale = WideToUtf8(argv[5]);
  int failed = 0, passed = 0;
  for (int i = 6; i < argc; ++i) {
    std::vector<std::string> failures;
    Scenario scenario;
    try {
      scenario = ReadScenario(argv[i]);
    } catch (const std::exception& e) {
      failures.push_back(e.what());
    }
    if (failures.empty() && scenario.locale != locale) continue;
    if (failures.empty() && kCodePages.at(locale) != GetACP()) {
      failures.push_back(scenario.name + ": the code page is " + std::to_string(GetACP()) +
                         " under " + locale);
    }
    for (int dpi : scenario.dpis) {
      if (!failures.empty()) break;
      failures = Player(build, scenario, dpi).Play();
    }
    for (const std::string& failure : failures) std::printf("FAIL %s\n", failure.c_str());
    if (failures.empty()) std::printf("pass %s\n", scenario.name.c_str());
    std::fflush(stdout);
    (failures.empty() ? passed : failed) += 1;
  }
  std::printf("%s: %d scenarios passed, %d failed\n", locale.c_str(), passed, failed);
  return failed;
}
