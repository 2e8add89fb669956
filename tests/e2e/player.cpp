// Plays scenario files (tests/e2e/README.md) against Tavrel.exe under Wine and says, for each,
// what differed:
//   tavrel_scenarios <Tavrel.exe> <logging VOLSTRAK.dll> <fixture folder> <cases folder> <locale>
//                    <scenario file>...
// Only the scenarios of <locale> run: the code page is fixed for a whole Wine process tree, so
// tests/e2e/run starts the player once per locale. Pictures of the windows are left in
// <cases folder>\looks for the run script to compare. The exit status counts the failures.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iomanip>
#include <map>
#include <set>
#include <sstream>
#include <thread>

#include "tests/e2e/driver.h"
#include "ui/control_ids.h"

namespace tavrel::e2e {
namespace {

namespace fs = std::filesystem;
using Words = std::vector<std::string>;

const std::map<std::string, UINT> kCodePages = {
    {"ja_JP.UTF-8", 932}, {"en_US.UTF-8", 1252}, {"hi_IN.UTF-8", 65001}};
const std::map<std::string, DWORD> kAttributes = {{"hidden", FILE_ATTRIBUTE_HIDDEN},
                                                  {"system", FILE_ATTRIBUTE_SYSTEM},
                                                  {"readonly", FILE_ATTRIBUTE_READONLY}};
constexpr COLORREF kLightCyan = RGB(192, 255, 255);
// A copy is well under way once this much of it stands in its temporary file.
constexpr std::uintmax_t kUnderWay = 32u << 20;

struct Build {
  fs::path tavrel, logging_volstrak, fixtures, cases;
};

// A scenario file: its lines as words, and the description's lines as they stand.
struct Scenario {
  std::string name;
  std::vector<Words> lines;
  std::vector<std::string> description;

  // The words after `word` on its line; `otherwise` when no line starts with it.
  Words Find(const std::string& word, Words otherwise = {}) const {
    for (const Words& line : lines) {
      if (line[0] == word) return Words(line.begin() + 1, line.end());
    }
    return otherwise;
  }
};

Scenario ReadScenario(const fs::path& file) {
  Scenario s{file.stem().string(), {}, {}};
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + file.string());
  for (std::string line; std::getline(in, line);) {
    // Words split at spaces; "..." keeps its spaces, and a backslash is no escape in it.
    std::istringstream split(line);
    Words words;
    for (std::string word; split >> std::quoted(word, '"', '\x1F');) words.push_back(word);
    if (words.empty() || words[0].starts_with('#')) continue;
    s.lines.push_back(words);
    if (words[0] != "description" || (words.size() > 1 && words[1] == "folder")) continue;
    for (std::string body; std::getline(in, body) && body != "end";) s.description.push_back(body);
  }
  return s;
}

std::vector<fs::path> AllFiles(const fs::path& folder) {
  std::vector<fs::path> files;
  std::error_code none;
  for (const auto& entry : fs::recursive_directory_iterator(folder, none)) {
    if (entry.is_regular_file()) files.push_back(entry.path());
  }
  return files;
}

// A file's bytes (a hash of them, as big files are read in chunks) and its last write time.
std::string Fingerprint(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::vector<char> chunk(1 << 20);
  std::uint64_t hash = 14695981039346656037ull;
  while (in.read(chunk.data(), static_cast<std::streamsize>(chunk.size())) || in.gcount() > 0) {
    for (std::streamsize i = 0; i < in.gcount(); ++i) {
      hash = (hash ^ static_cast<unsigned char>(chunk[static_cast<size_t>(i)])) * 1099511628211ull;
    }
  }
  WIN32_FILE_ATTRIBUTE_DATA data{};
  GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data);
  return std::to_string(hash) + " " + std::to_string(data.ftLastWriteTime.dwHighDateTime) + ":" +
         std::to_string(data.ftLastWriteTime.dwLowDateTime);
}

// Text in Shift-JIS (code page 932), or UTF-16LE.
std::string Encode(const std::string& utf8, bool utf16) {
  const std::wstring wide = Wide(utf8);
  if (utf16) return {reinterpret_cast<const char*>(wide.data()), wide.size() * 2};
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
        root_(build.cases / Wide(label_)) {
    wchar_t path[MAX_PATH] = {};
    GetWindowsDirectoryW(path, MAX_PATH);
    places_["{win}"] = Narrow(path);
    GetSystemDirectoryW(path, MAX_PATH);
    places_["{sys}"] = Narrow(path);
    places_["{root}"] = Narrow(root_.wstring());
    places_["{app}"] = places_["{root}"] + "\\" + s.Find("app", {"app"})[0];
    places_["{dest}"] = places_["{root}"] + "\\dest";
    places_["{full}"] = "T:";
  }

  std::vector<std::string> Play() {
    SetDpi(dpi_);
    RemoveOutsideTheCase();
    for (const fs::path& file : AllFiles(root_)) SetFileAttributesW(file.c_str(), 0);
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
    RemoveOutsideTheCase();
    for (const Words& line : s_.lines) {
      if (line[0] == "file" && line[2] == "zeros") DeleteFileW(PathOf(line[1]).c_str());
    }
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

  void WriteDescription() const {
    const fs::path file = PathOf("{app}\\qxSetup.ini");
    const Words options = s_.Find("description", {"none"});
    if (options == Words{"folder"}) fs::create_directory(file);
    if (options == Words{"folder"} || options == Words{"none"}) return;
    const bool utf16 = options == Words{"utf-16"};
    std::string bytes = utf16 ? "\xFF\xFE" : "";
    for (const std::string& line : s_.description) bytes += Encode(Expand(line) + "\r\n", utf16);
    std::ofstream(file, std::ios::binary) << bytes;
  }

  // file PATH fixture NAME|bytes SIZE|zeros SIZE|text WORD [day N] [hidden] [system] [readonly]
  void LayFile(const Words& line, std::uint32_t& seed) {
    const fs::path path = PathOf(line[1]);
    const std::string& kind = line[2];
    fs::create_directories(path.parent_path());
    if (kind == "fixture") {
      fs::copy_file(build_.fixtures / Wide("fixture_" + line[3] + ".dll"), path);
    } else if (kind == "text") {
      std::ofstream(path, std::ios::binary) << line[3];
    } else {
      const std::uint64_t size = std::stoull(line[3]) << (line[3].ends_with('M') ? 20 : 0);
      std::ofstream out(path, std::ios::binary);
      for (std::uint64_t i = 0; kind == "bytes" && i < size; ++i, seed *= 69069)
        out.put(static_cast<char>((seed += 7) >> 24));
      out.close();
      // A hole: it costs neither time nor room on disk.
      if (kind == "zeros") fs::resize_file(path, size);
    }
    int day = 1;
    DWORD attributes = 0;
    for (size_t i = 4; i < line.size(); ++i) {
      if (line[i] == "day")
        day = std::stoi(line[++i]);
      else
        attributes |= kAttributes.at(line[i]);
    }
    // 2020-01-01 00:00 UTC plus whole days; whole seconds, which every file system keeps.
    const std::uint64_t stamp = 132223104000000000ull + std::uint64_t(day) * 864000000000ull;
    const FILETIME time = {static_cast<DWORD>(stamp), static_cast<DWORD>(stamp >> 32)};
    HANDLE handle =
        CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFileTime(handle, nullptr, nullptr, &time);
    CloseHandle(handle);
    if (attributes) SetFileAttributesW(path.c_str(), attributes);
    before_[path] = Fingerprint(path);
  }

  void LayOut() {
    fs::create_directories(PathOf("{dest}"));
    fs::create_directories(PathOf("{app}"));
    fs::copy_file(build_.tavrel, PathOf("{app}\\Tavrel.exe"));
    const std::map<std::string, std::string> volstrak_places = {
        {"beside", "{app}"}, {"system", "{sys}"}, {"cwd", "{root}"}};
    const std::string volstrak = s_.Find("volstrak", {"beside"})[0];
    if (volstrak_places.contains(volstrak)) {
      fs::copy_file(build_.logging_volstrak,
                    PathOf(volstrak_places.at(volstrak) + "\\VOLSTRAK.dll"));
    }
    std::uint32_t seed = 1;
    for (const Words& line : s_.lines) {
      if (line[0] == "folder") fs::create_directories(PathOf(line[1]));
      if (line[0] == "file") LayFile(line, seed);
    }
    WriteDescription();
    for (const Words& line : s_.lines) {
      if (line[0] != "hold" && line[0] != "share") continue;
      // "share" as an editor holds a file; "hold" without sharing.
      const DWORD sharing = line[0] == "share" ? FILE_SHARE_READ | FILE_SHARE_WRITE : 0;
      HANDLE handle = CreateFileW(PathOf(line[1]).c_str(), GENERIC_READ, sharing, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
      if (handle == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot hold " + line[1]);
      holds_.emplace_back(handle, &CloseHandle);
    }
  }

  // Whatever a scenario puts beside the system's own files goes again.
  void RemoveOutsideTheCase() const {
    for (const Words& line : s_.lines) {
      for (const std::string& word : line) {
        if (word.starts_with("{win}") || word.starts_with("{sys}") || word.starts_with("{full}")) {
          SetFileAttributesW(PathOf(word).c_str(), 0);
          DeleteFileW(PathOf(word).c_str());
        }
      }
    }
    DeleteFileW(PathOf("{sys}\\VOLSTRAK.dll").c_str());
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

  // Nothing may follow a key or a press that must not act: no run, no message, no end.
  void CheckNothingFollows(const TavrelProcess& process, const std::string& what) {
    std::this_thread::sleep_for(milliseconds(300));
    if (process.WaitForExit(milliseconds(0)) ||
        WaitForWindow(process.id(), kMessageBoxClass, milliseconds(0)) ||
        (what == "keys" && WaitForWindow(process.id(), kFrmWaitClass, milliseconds(0))))
      Fail(what + " did something");
  }

  // run ok|cancel|close, run keys (Enter and Escape, then Cancel), or run mid-copy
  // ok|cancel|close|kill: OK, and that once the copy is well under way.
  void PlayRun(const std::vector<Words>& run) {
    const fs::path log = root_ / L"volstrak.log";
    fs::remove(log);
    TavrelProcess process(PathOf("{app}\\Tavrel.exe"), log, root_);
    HWND form = WaitForWindow(process.id(), kForm1Class);
    if (!form) return Fail("no main window");
    Look(form, "Form1", run);
    const std::string action = run[0][1], then = run[0].size() > 2 ? run[0][2] : "";
    if (action == "keys") {
      // Neither button is bound to a key; the dialog manager turns them into IDOK and IDCANCEL.
      for (WPARAM key : {VK_RETURN, VK_ESCAPE})
        PostMessageW(GetDlgItem(form, kCommand1Id), WM_KEYDOWN, key, 0);
      CheckNothingFollows(process, "keys");
    }
    if (action == "ok" || action == "mid-copy") PressButton(form, kCommand1Id);
    if (action == "mid-copy") {
      HWND wait = WaitForWindow(process.id(), kFrmWaitClass);
      if (!wait) return Fail("no progress window");
      Look(wait, "frmWait", run);
      if (!Eventually([&] { return CopyUnderWay(); }, std::chrono::seconds(30)))
        return Fail("the copy did not get under way");
      if (then == "ok") {
        // A second run inside the first would ask the support library about the file again.
        PressButton(form, kCommand1Id);
        CheckNothingFollows(process, "a second OK during the run");
      }
      if (then == "kill") process.Kill();
    }
    if (action == "cancel" || action == "keys" || then == "cancel" || then == "ok")
      PressButton(form, kCommand2Id);
    if (action == "close" || then == "close") PostMessageW(form, WM_SYSCOMMAND, SC_CLOSE, 0);
    const RunRecord record = AnswerMessagesUntilExit(process, std::chrono::seconds(60));
    holds_.clear();  // for the first run alone, so that the checks can read what was held
    std::string seen, expected;
    for (const MessageBoxView& box : record.messages) {
      seen += "[" + std::string(box.has_icon ? "warning " : "plain ") + Narrow(box.title) + ": " +
              Narrow(box.text) + "]";
    }
    const std::string status = record.exit_status ? std::to_string(*record.exit_status) : "none";
    std::string expected_status = then == "kill" ? status : "none";
    for (const Words& line : run) {
      if (line[0] == "completed") expected += "[plain : セットアップが完了しました。]";
      if (line[0] == "message") {
        // "\r" in the text stands for the carriage return that starts a message's second line.
        std::string text = line[3];
        if (const size_t at = text.find("\\r"); at != std::string::npos) text.replace(at, 2, "\r");
        expected +=
            "[" + line[1] + " " + (line[2] == "-" ? "" : line[2]) + ": " + Expand(text) + "]";
      }
      if (line[0] == "exit" || line[0] == "completed")
        expected_status = line[0] == "exit" ? line[1] : "0";
      if (line[0] == "after") CheckFile(line);
    }
    if (seen != expected) Fail("messages " + seen + ", expected " + expected);
    if (status != expected_status) Fail("exit status " + status + ", expected " + expected_status);
    CheckNothingLeft(run[0]);
    CheckCalls(run, log);
  }

  // after PATH copy-of SOURCE|untouched|absent|exists [hidden] [system] [readonly]
  void CheckFile(const Words& line) {
    const fs::path path = PathOf(line[1]);
    const std::string& state = line[2];
    const DWORD attributes = GetFileAttributesW(path.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists != (state != "absent"))
      return Fail(Expand(line[1]) + (exists ? " exists" : " is missing"));
    for (size_t i = state == "copy-of" ? 4 : 3; i < line.size(); ++i) {
      if (!(attributes & kAttributes.at(line[i]))) Fail(Expand(line[1]) + " is not " + line[i]);
    }
    if (state != "copy-of" && state != "untouched") return;
    const fs::path source = state == "untouched" ? path : PathOf(line[3]);
    if (!before_.contains(source)) return Fail(line[3] + " was not laid out");
    if (Fingerprint(path) != before_[source])
      Fail(Expand(line[1]) + " does not hold the bytes and date of " + Narrow(source.wstring()));
  }

  // No temporary file anywhere a file was laid or expected, and nothing in the case's own
  // folders but what was laid or expected.
  void CheckNothingLeft(const Words& run) {
    std::set<fs::path> known = {root_ / L"volstrak.log", root_ / L"VOLSTRAK.dll"};
    for (const auto& [path, before] : before_) known.insert(path);
    for (const Words& line : s_.lines) {
      if (line[0] == "after" && line[2] != "absent") known.insert(PathOf(line[1]));
    }
    const std::vector<fs::path> in_case = AllFiles(root_);
    std::set<fs::path> files(in_case.begin(), in_case.end());
    for (const fs::path& path : known) {
      std::error_code none;
      for (const auto& entry : fs::directory_iterator(path.parent_path(), none)) {
        if (!entry.is_directory()) files.insert(entry.path());
      }
    }
    for (const fs::path& file : files) {
      if (file.filename().wstring().starts_with(L"~tvr") ||
          (!known.contains(file) && file.parent_path() != PathOf("{app}") &&
           file.wstring().starts_with(root_.wstring())))
        Fail("left behind after run " + run[1] + ": " + Narrow(file.wstring()));
    }
  }

  // call F|ARG|...: appears in the log after the previous one; nocall F: never called.
  void CheckCalls(const std::vector<Words>& run, const fs::path& log) {
    std::vector<std::string> calls;
    std::ifstream in(log, std::ios::binary);
    for (std::string call; std::getline(in, call);) calls.push_back(call);
    auto next = calls.begin();
    for (const Words& line : run) {
      for (const std::string& call : calls) {
        if (line[0] == "nocall" && call.starts_with(line[1] + "|")) Fail("called " + call);
      }
      if (line[0] != "call") continue;
      next = std::find(next, calls.end(), Expand(line[1]));
      if (next == calls.end()) return Fail("no call " + Expand(line[1]) + " (in order)");
      ++next;
    }
  }

  // window NAME WxH [fixed] [captionless] [tool] [focus ID] [title TEXT], followed by
  // control ID CLASS LEFT,TOP WxH TEXT lines, at 96 DPI. Read from the running program; the
  // picture of the client area is left for the run script to compare with its reference.
  void Look(HWND window, const std::string& name, const std::vector<Words>& run) {
    auto line = std::find_if(run.begin(), run.end(),
                             [&](const Words& l) { return l[0] == "window" && l[1] == name; });
    if (line == run.end()) return;
    const auto fail = [&](const std::string& what) { Fail(name + ": " + what); };
    const auto scaled = [&](int pixels_at_96) { return MulDiv(pixels_at_96, dpi_, 96); };
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    const LONG ex_style = GetWindowLongW(window, GWL_EXSTYLE);
    const std::map<std::string, bool> traits = {
        {"fixed", (style & WS_CAPTION) == WS_CAPTION &&
                      !(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME))},
        {"captionless", (style & WS_CAPTION) != WS_CAPTION && !(style & WS_SYSMENU)},
        {"tool", ((ex_style & WS_EX_TOOLWINDOW) || GetWindow(window, GW_OWNER)) &&
                     !(ex_style & WS_EX_APPWINDOW)}};
    std::string title;
    int focus = 0;
    for (size_t i = 3; i < line->size(); ++i) {
      const std::string& trait = (*line)[i];
      if (trait == "title") title = (*line)[++i];
      if (trait == "focus") focus = std::stoi((*line)[++i]);
      if (traits.contains(trait) && !traits.at(trait)) fail("not " + trait);
    }
    if (Narrow(WindowText(window)) != title) fail("title " + Narrow(WindowText(window)));
    RECT client{}, frame{};
    GetClientRect(window, &client);
    GetWindowRect(window, &frame);
    int width = 0, height = 0;
    std::sscanf((*line)[2].c_str(), "%dx%d", &width, &height);
    if (client.right != scaled(width) || client.bottom != scaled(height))
      fail("client area " + std::to_string(client.right) + "x" + std::to_string(client.bottom));
    if (std::abs(frame.left + frame.right - GetSystemMetrics(SM_CXSCREEN)) > 1 ||
        std::abs(frame.top + frame.bottom - GetSystemMetrics(SM_CYSCREEN)) > 1)
      fail("not in the centre of the screen");
    for (++line; line != run.end() && (*line)[0] == "control"; ++line) {
      const Words& c = *line;
      HWND child = GetDlgItem(window, std::stoi(c[1]));
      wchar_t class_name[32] = {};
      GetClassNameW(child, class_name, 32);
      RECT at{};
      GetWindowRect(child, &at);
      MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&at), 2);
      int left = 0, top = 0;
      std::sscanf(c[3].c_str(), "%d,%d", &left, &top);
      std::sscanf(c[4].c_str(), "%dx%d", &width, &height);
      const RECT expected = {scaled(left), scaled(top), scaled(left + width), scaled(top + height)};
      if (!child || _wcsicmp(class_name, Wide(c[2]).c_str()) != 0 ||
          Narrow(WindowText(child)) != c[5] || !EqualRect(&at, &expected))
        fail("control " + c[1] + " is not as designed");
    }
    if (focus && !Eventually([&] {
          GUITHREADINFO info{};
          info.cbSize = sizeof info;
          GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
          return info.hwndFocus == GetDlgItem(window, focus);
        }))
      fail("the focus is not on " + std::to_string(focus));
    POINT origin{};
    ClientToScreen(window, &origin);
    for (const POINT corner : {POINT{1, 1}, POINT{client.right - 2, client.bottom - 2}}) {
      if (!Eventually([&] {
            return ScreenPixel({origin.x + corner.x, origin.y + corner.y}) == kLightCyan;
          }))
        fail("the background is not light cyan");
    }
    fs::create_directories(build_.cases / L"looks");
    SaveScreen(
        {origin.x, origin.y, origin.x + client.right, origin.y + client.bottom},
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
  const std::string locale = Narrow(argv[5]);
  int failed = 0, passed = 0;
  for (int i = 6; i < argc; ++i) {
    std::vector<std::string> failures;
    const Scenario scenario = ReadScenario(argv[i]);
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
