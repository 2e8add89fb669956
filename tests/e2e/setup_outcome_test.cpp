// Whole runs from OK to the end of the program, one table row per situation: the files laid out
// beforehand, qxSetup.ini, the message boxes the person answers, the exit status, the files
// afterwards and the calls the support library saw.

#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/win32/text_conversion.h"
#include "tests/e2e/driver/artefacts.h"
#include "tests/e2e/driver/call_log.h"
#include "tests/e2e/driver/case_folder.h"
#include "tests/e2e/driver/session.h"
#include "tests/e2e/driver/tavrel_ids.h"
#include "tests/e2e/driver/tavrel_process.h"
#include "tests/e2e/driver/windows.h"

namespace tavrel::e2e {
namespace {

namespace fs = std::filesystem;

// Paths in the table are written with these places: {app} the program's folder, {dest} and
// {jdest} (a Japanese name) destination folders of the case, {root} the case's folder, {win}
// and {sys} the prefix's real Windows and system directories.
struct LaidFile {
  std::string path;
  std::string fixture;  // a fixture DLL of the support library; empty: `size` bytes of its own
  std::uint64_t size;
  int day;  // the last-write stamp, StampOfDay(day)
};

enum class After { kCopyOf, kUntouched, kAbsent };
struct FileAfter {
  std::string path;
  After state;
  std::string source = {};  // for kCopyOf: bytes and stamp must equal this file's
};

struct Message {
  std::string text;
  std::string title;
  bool warning_icon;
};

struct OutcomeCase {
  const char* name;
  std::vector<LaidFile> files;
  std::string description;
  std::vector<Message> messages;
  DWORD exit_status;
  std::vector<FileAfter> after;
  std::vector<LoggedCall> calls;
  bool with_support_library = true;
};

const Message kCompletion{"セットアップが完了しました。", "", false};

const OutcomeCase kCases[] = {
    {"normal_run",
     {{"{app}\\a.dll", "v2", 0, 10},
      {"{dest}\\a.dll", "v1", 0, 20},
      {"{app}\\readme.txt", "", 40000, 5},
      {"{app}\\empty.txt", "", 0, 6}},
     "[BOOT]\r\nCopy1=a.dll,,{dest},REGIST\r\nCopy2=readme.txt,liesmich.txt,{dest}\r\n"
     "Copy3=empty.txt,,{dest}\r\n",
     {kCompletion},
     kCompleted,
     {{"{dest}\\a.dll", After::kCopyOf, "{app}\\a.dll"},
      {"{dest}\\liesmich.txt", After::kCopyOf, "{app}\\readme.txt"},
      {"{dest}\\readme.txt", After::kAbsent},
      {"{dest}\\empty.txt", After::kCopyOf, "{app}\\empty.txt"}},
     {{"CompareVersion", "{app}\\a.dll", "{dest}\\a.dll", "1", "*"},
      {"CopyFileDateTime", "{dest}\\a.dll", "{app}\\a.dll", "*"},
      {"RegistDll", "{dest}\\a.dll", "-1", "*"},
      {"CopyFileDateTime", "{dest}\\liesmich.txt", "{app}\\readme.txt", "*"},
      {"CopyFileDateTime", "{dest}\\empty.txt", "{app}\\empty.txt", "*"}}},

    {"up_to_date_by_version",
     {{"{app}\\a.dll", "v1", 0, 20}, {"{dest}\\a.dll", "v2", 0, 10}},
     "[BOOT]\r\nCopy1=a.dll,,{dest},REGIST\r\n",
     {kCompletion},
     kCompleted,
     {{"{dest}\\a.dll", After::kUntouched}},
     // Registration is asked for after an up-to-date result as well.
     {{"CompareVersion", "{app}\\a.dll", "{dest}\\a.dll", "1", "*"},
      {"RegistDll", "{dest}\\a.dll", "-1", "*"}}},

    {"freshness_by_date",
     {{"{app}\\same.txt", "", 100, 10},
      {"{dest}\\same.txt", "", 50, 10},
      {"{app}\\older.txt", "", 100, 5},
      {"{dest}\\older.txt", "", 50, 10},
      {"{app}\\newer.txt", "", 100, 20},
      {"{dest}\\newer.txt", "", 50, 10}},
     "[BOOT]\r\nCopy1=same.txt,,{dest}\r\nCopy2=older.txt,,{dest}\r\nCopy3=newer.txt,,{dest}\r\n",
     {kCompletion},
     kCompleted,
     {{"{dest}\\same.txt", After::kUntouched},
      {"{dest}\\older.txt", After::kUntouched},
      {"{dest}\\newer.txt", After::kCopyOf, "{app}\\newer.txt"}},
     {{"CompareVersion", "{app}\\same.txt", "{dest}\\same.txt", "*", "*"},
      {"CompareVersion", "{app}\\older.txt", "{dest}\\older.txt", "*", "*"},
      {"CompareVersion", "{app}\\newer.txt", "{dest}\\newer.txt", "*", "*"},
      {"CopyFileDateTime", "{dest}\\newer.txt", "{app}\\newer.txt", "*"}}},

    {"missing_source",
     {{"{app}\\later.txt", "", 10, 1}},
     "[BOOT]\r\nCopy1=absent.dll,,{dest}\r\nCopy2=later.txt,,{dest}\r\n",
     {{"ﾌｧｲﾙが開けません\r{app}\\absent.dll", "Tavrel", false}},
     kFailed,
     {{"{dest}\\absent.dll", After::kAbsent}, {"{dest}\\later.txt", After::kAbsent}},
     {}},

    {"failed_registration",
     {{"{app}\\bad.dll", "register_fail", 0, 1}, {"{app}\\good.dll", "register_ok", 0, 1}},
     "[BOOT]\r\nCopy1=bad.dll,,{dest},REGIST\r\nCopy2=good.dll,,{dest},REGIST\r\n",
     {{"{dest}\\bad.dllの登録に失敗しました", "Tavrel", true}, kCompletion},
     kCompleted,
     {{"{dest}\\bad.dll", After::kCopyOf, "{app}\\bad.dll"},
      {"{dest}\\good.dll", After::kCopyOf, "{app}\\good.dll"}},
     {{"CopyFileDateTime", "{dest}\\bad.dll", "{app}\\bad.dll", "*"},
      {"RegistDll", "{dest}\\bad.dll", "-1", "0"},
      {"CopyFileDateTime", "{dest}\\good.dll", "{app}\\good.dll", "*"},
      {"RegistDll", "{dest}\\good.dll", "-1", "*"}}},

    {"failed_copy_of_entry_2_of_3",
     {{"{app}\\one.txt", "", 10, 5},
      {"{app}\\two.txt", "", 10, 5},
      {"{app}\\three.txt", "", 10, 5},
      {"{dest}\\three.txt", "", 20, 1}},
     "[BOOT]\r\nCopy1=one.txt,,{dest}\r\nCopy2=two.txt,,{root}\\no such folder\r\n"
     "Copy3=three.txt,,{dest}\r\n",
     {{"ﾌｧｲﾙが作成できません\r{root}\\no such folder\\two.txt", "Tavrel", false}},
     kFailed,
     {{"{dest}\\one.txt", After::kCopyOf, "{app}\\one.txt"},
      {"{dest}\\three.txt", After::kUntouched}},
     {{"CopyFileDateTime", "{dest}\\one.txt", "{app}\\one.txt", "*"}}},

    // Names travel through code page 932: qxSetup.ini in Shift-JIS, the support library's ANSI
    // arguments, and the messages.
    {"japanese_names",
     {{"{app}\\日本語テスト.dll", "v1", 0, 3}},
     "[BOOT]\r\nCopy1=日本語テスト.dll,ランタイム部品.dll,{jdest},REGIST\r\n"
     "Copy2=欠品ファイル.txt,,{jdest}\r\n",
     {{"ﾌｧｲﾙが開けません\r{app}\\欠品ファイル.txt", "Tavrel", false}},
     kFailed,
     {{"{jdest}\\ランタイム部品.dll", After::kCopyOf, "{app}\\日本語テスト.dll"}},
     {{"CopyFileDateTime", "{jdest}\\ランタイム部品.dll", "{app}\\日本語テスト.dll", "*"},
      {"RegistDll", "{jdest}\\ランタイム部品.dll", "-1", "*"}}},

    {"windows_and_system_folders",
     {{"{app}\\tavrel_e2e_win.txt", "", 10, 2}, {"{app}\\tavrel_e2e_sys.dll", "register_ok", 0, 2}},
     "[BOOT]\r\nCopy1=tavrel_e2e_win.txt,,$WIN\r\nCopy2=tavrel_e2e_sys.dll,,$SYSTEM,REGIST\r\n"
     "Copy3=tavrel_e2e_win.txt,tavrel_e2e_sub.txt,$WIN\\system32\r\n",
     {kCompletion},
     kCompleted,
     {{"{win}\\tavrel_e2e_win.txt", After::kCopyOf, "{app}\\tavrel_e2e_win.txt"},
      {"{sys}\\tavrel_e2e_sys.dll", After::kCopyOf, "{app}\\tavrel_e2e_sys.dll"},
      {"{win}\\system32\\tavrel_e2e_sub.txt", After::kCopyOf, "{app}\\tavrel_e2e_win.txt"}},
     {{"CopyFileDateTime", "{win}\\tavrel_e2e_win.txt", "{app}\\tavrel_e2e_win.txt", "*"},
      {"CopyFileDateTime", "{sys}\\tavrel_e2e_sys.dll", "{app}\\tavrel_e2e_sys.dll", "*"},
      {"RegistDll", "{sys}\\tavrel_e2e_sys.dll", "-1", "*"},
      {"CopyFileDateTime", "{win}\\system32\\tavrel_e2e_sub.txt", "{app}\\tavrel_e2e_win.txt",
       "*"}}},

    // Without VOLSTRAK.dll the run ends at the first call that needs it: a version comparison
    // is told as such; the date carried over after a copy is told through the write failure,
    // and the new copy is not left in place.
    {"support_library_missing_at_compare",
     {{"{app}\\a.txt", "", 10, 20}, {"{dest}\\a.txt", "", 20, 10}},
     "[BOOT]\r\nCopy1=a.txt,,{dest}\r\n",
     {{"VOLSTRAK.dllが呼び出せません\rCompareVersion", "Tavrel", true}},
     kFailed,
     {{"{dest}\\a.txt", After::kUntouched}},
     {},
     /*with_support_library=*/false},

    {"support_library_missing_after_copy",
     {{"{app}\\b.txt", "", 40000, 20}},
     "[BOOT]\r\nCopy1=b.txt,,{dest}\r\n",
     {{"ﾌｧｲﾙに書き込めません\r{dest}\\b.txt", "Tavrel", false}},
     kFailed,
     {{"{dest}\\b.txt", After::kAbsent}},
     {},
     /*with_support_library=*/false},
};

std::string WindowsDirectory(UINT(WINAPI* get)(LPWSTR, UINT)) {
  wchar_t path[MAX_PATH] = {};
  get(path, MAX_PATH);
  return WideToUtf8(path);
}

class SetupOutcome : public testing::TestWithParam<OutcomeCase> {
 protected:
  SetupOutcome() : folder_(GetParam().name) {
    places_ = {{"{app}", WideToUtf8(folder_.app().wstring())},
               {"{root}", WideToUtf8(folder_.root().wstring())},
               {"{dest}", WideToUtf8(folder_.Destination("dest").wstring())},
               {"{jdest}", WideToUtf8(folder_.Destination("配布先").wstring())},
               {"{win}", WindowsDirectory(GetWindowsDirectoryW)},
               {"{sys}", WindowsDirectory(GetSystemDirectoryW)}};
    RemoveFromWindowsFolders();
  }
  // Whatever a case put into the prefix's real Windows folders goes again.
  ~SetupOutcome() override { RemoveFromWindowsFolders(); }

  std::string Expand(std::string text) const {
    for (const auto& [place, path] : places_) {
      for (size_t at; (at = text.find(place)) != std::string::npos;) {
        text.replace(at, place.size(), path);
      }
    }
    return text;
  }
  fs::path PathOf(const std::string& text) const { return Utf8ToWide(Expand(text)); }

  void RemoveFromWindowsFolders() const {
    for (const FileAfter& file : GetParam().after) {
      if (file.path.starts_with("{win}") || file.path.starts_with("{sys}")) {
        fs::remove(PathOf(file.path));
      }
    }
  }

  void LayOut() {
    std::uint32_t seed = 1;
    for (const LaidFile& file : GetParam().files) {
      const fs::path path = PathOf(file.path);
      if (file.fixture.empty()) {
        WritePattern(path, file.size, seed++);
      } else {
        fs::copy_file(VolstrakFixture(file.fixture), path);
      }
      SetLastWrite(path, StampOfDay(file.day));
      before_[path] = {ReadBytes(path), LastWrite(path)};
    }
    folder_.WriteSetupDescription(Expand(GetParam().description));
    if (!GetParam().with_support_library) folder_.RemoveSupportLibrary();
  }

  void ExpectFileAfter(const FileAfter& file) {
    SCOPED_TRACE(file.path);
    const fs::path path = PathOf(file.path);
    if (file.state == After::kAbsent) {
      EXPECT_FALSE(fs::exists(path));
      return;
    }
    ASSERT_TRUE(fs::exists(path));
    const auto& [bytes, stamp] =
        file.state == After::kUntouched ? before_.at(path) : before_.at(PathOf(file.source));
    EXPECT_TRUE(ReadBytes(path) == bytes) << "bytes differ";
    EXPECT_EQ(LastWrite(path), stamp);
  }

  // The destination folders hold what the case laid there and what it expects, nothing else
  // (no temporary file left behind).
  void ExpectNothingElseInDestinations() {
    std::set<fs::path> expected;
    for (const LaidFile& file : GetParam().files) expected.insert(PathOf(file.path));
    for (const FileAfter& file : GetParam().after) {
      if (file.state != After::kAbsent) expected.insert(PathOf(file.path));
    }
    for (const char* folder : {"{dest}", "{jdest}"}) {
      for (const auto& entry : fs::directory_iterator(PathOf(folder))) {
        EXPECT_TRUE(expected.contains(entry.path()))
            << "left behind: " << WideToUtf8(entry.path().wstring());
      }
    }
  }

  CaseFolder folder_;
  std::map<std::string, std::string> places_;
  std::map<fs::path, std::pair<std::string, std::uint64_t>> before_;
};

TEST_P(SetupOutcome, AsThePersonSeesIt) {
  const OutcomeCase& c = GetParam();
  LayOut();
  TavrelProcess process(folder_.exe(), folder_.log());
  HWND form = WaitForWindow(process.id(), kForm1Class);
  ASSERT_TRUE(form) << "no main window";
  PressButton(form, kCommand1);
  const RunRecord run = AnswerMessagesUntilExit(process, std::chrono::seconds(15));

  ASSERT_EQ(run.messages.size(), c.messages.size());
  for (size_t i = 0; i < c.messages.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(WideToUtf8(run.messages[i].text), Expand(c.messages[i].text));
    EXPECT_EQ(WideToUtf8(run.messages[i].title), c.messages[i].title);
    EXPECT_EQ(run.messages[i].has_icon, c.messages[i].warning_icon);
    if (c.messages[i].text == kCompletion.text) {
      EXPECT_FALSE(run.progress_window_behind[i]) << "the progress window still stands";
    }
  }
  EXPECT_EQ(run.exit_status, c.exit_status);
  for (const FileAfter& file : c.after) ExpectFileAfter(file);
  ExpectNothingElseInDestinations();

  const std::vector<LoggedCall> calls = ReadCallLog(folder_.log());
  ASSERT_EQ(calls.size(), c.calls.size());
  for (size_t i = 0; i < calls.size(); ++i) {
    LoggedCall pattern = c.calls[i];
    for (std::string& field : pattern) field = Expand(field);
    EXPECT_TRUE(CallMatches(calls[i], pattern))
        << "call " << i << ": " << testing::PrintToString(calls[i]);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, SetupOutcome, testing::ValuesIn(kCases),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace tavrel::e2e
