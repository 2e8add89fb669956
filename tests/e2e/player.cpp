// Plays the end-to-end scenarios as a person would:
//   tavrel_scenarios <Tavrel.exe> <VOLSTRAK.dll> <fixture folder> <cases folder>
//                    <locale> <scenario file>...
// plays the scenarios of <locale> (tests/e2e/README.md) and says, for each, what differed; the
// code page is fixed for a whole Wine process tree, so tests/e2e/run starts one player per
// locale. Pictures of the windows are left in <cases folder>\looks for the run script to
// compare. The exit status counts the failures.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iomanip>
#include <map>
#include <sstream>

#include "tests/e2e/window_driving.h"
#include "ui/control_ids.h"

namespace tavrel {
namespace {

using Words = std::vector<std::string>;

const std::map<std::string, UINT> kCodePages = {
    {"ja_JP.UTF-8", 932}, {"en_US.UTF-8", 1252}, {"hi_IN.UTF-8", 65001}};
const std::map<std::string, DWORD> kAttributes = {{"hidden", FILE_ATTRIBUTE_HIDDEN},
                                                  {"system", FILE_ATTRIBUTE_SYSTEM},
                                                  {"readonly", FILE_ATTRIBUTE_READONLY}};
// A copy is well under way once this much of it stands in its temporary file.
constexpr std::uintmax_t kUnderWay = 32u << 20;

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

// Wine shows a Unix mode as the security of a file and a Unix link as a Windows one, and Windows
// itself can make neither for it: both are made by a Unix command, run from here through Wine.
void RunUnix(std::vector<std::string> words) {
  const auto spawn = reinterpret_cast<LONG(CDECL*)(char* const*, int)>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "__wine_unix_spawnvp")));
  std::vector<char*> argv(words.size() + 1);  // ending in a null
  std::ranges::transform(words, argv.begin(), [](std::string& word) { return word.data(); });
  if (!spawn || spawn(argv.data(), /*wait=*/1) != 0) throw std::runtime_error("cannot " + words[0]);
}

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
    try {
      // Links the last case planted are removed, never followed into what they point at.
      if (fs::exists(root_)) RunUnix({"rm", "-rf", UnixPath("{root}")});
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
  // The cases lie on a drive whose root is this Unix folder (tests/e2e/run).
  std::string UnixPath(const std::string& text) const {
    std::string path = std::getenv("TAVREL_E2E_CASES_UNIX") + Expand(text).substr(2);
    return std::ranges::replace(path, '\\', '/'), path;
  }

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
    if (!volstrak.empty()) fs::copy_file(build_.volstrak, PathOf(volstrak + "\\VOLSTRAK.dll"));
    std::uint32_t seed = 1;
    for (const Words& line : s_.lines) {
      // folder PATH [others-can-change]: Unix mode 0755, or 0777 (tests/e2e/README.md).
      if (line[0] == "folder") fs::create_directories(PathOf(line[1]));
      if (line[0] == "folder" && line.size() > 2) RunUnix({"chmod", "0777", UnixPath(line[1])});
      if (line[0] == "file") LayFile(line, seed);
      if (line[0] == "link") RunUnix({"ln", "-s", UnixPath(line[2]), UnixPath(line[1])});
    }
    // In the ANSI code page (Shift-JIS under 932), or UTF-16LE with its mark.
    const std::wstring text = Wide(Expand(s_.description.value_or("")));
    const std::string utf16(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    if (s_.description)
      std::ofstream(PathOf("{app}\\qxSetup.ini"), std::ios::binary)
          << (s_.Find("description") == Words{"utf-16"} ? std::string("\xFF\xFE") + utf16
                                                        : WideToAnsi(text).value());
    // hold PATH: without sharing; hold PATH shared: sharing reading and writing, as an editor;
    // hold PATH loaded: sharing reading and deletion, as a program that has the file loaded.
    for (const Words& line : s_.lines) {
      if (line[0] != "hold") continue;
      const DWORD sharing = line.size() < 3       ? 0
                            : line[2] == "shared" ? FILE_SHARE_READ | FILE_SHARE_WRITE
                                                  : FILE_SHARE_READ | FILE_SHARE_DELETE;
      HANDLE handle = CreateFileW(PathOf(line[1]).c_str(), GENERIC_READ, sharing, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
      if (handle == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot hold " + line[1]);
      holds_.emplace_back(handle, &CloseHandle);
    }
  }

  // run STEP...: ok, cancel, close (the close box), keys (Enter and Escape, which must do
  // nothing), under-way (the progress window shows, and 32 MiB of a copy stand in its
  // temporary file), again (a second OK, which must do nothing), kill, rename-description,
  // let-go (a second later, what was held is let go); dies-at STEP: the kill-point build ends
  // itself at that step of a copy.
  void PlayRun(const std::vector<Words>& run) {
    // The child inherits the player's environment; the player runs one program at a time.
    const auto dies_at = std::ranges::find(run[0], "dies-at");
    SetEnvironmentVariableW(L"TAVREL_KILL_AT",
                            dies_at == run[0].end() ? L"" : Wide(dies_at[1]).c_str());
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
      for (WPARAM key : {VK_RETURN, VK_ESCAPE})
        if (step == "keys") PostMessageW(GetDlgItem(form, kCommand1Id), WM_KEYDOWN, key, 0);
      // Neither may end the program; a run or a message they started would show in the checks.
      if ((step == "keys" || step == "again") && process.Exit(milliseconds(300)))
        Fail(step + " ended the program");
      if (step == "kill") process.Kill();
      if (step == "let-go") Sleep(1000), holds_.clear();
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
        AnswerUntilExit(process, [&](const std::string& box) { seen += box; });
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
    SaveScreen(build_.cases / L"looks" /
               Wide(name + "-" + std::to_string(dpi_) + "." + s_.name + ".ppm"));
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
}  // namespace tavrel

int wmain(int argc, wchar_t** argv) {
  using namespace tavrel;
  // Pixels as they are on the screen, whatever the DPI: the looks are measured in them.
  SetProcessDPIAware();
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
