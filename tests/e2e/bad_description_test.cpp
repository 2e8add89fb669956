// Bad descriptions read by the real GetPrivateProfileStringA of Wine: each gives the result that
// docs/bad-input.md defines, ends the program in a defined way, and never crashes or hangs.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/text_conversion.h"
#include "tests/e2e/driver/artefacts.h"
#include "tests/e2e/driver/call_log.h"
#include "tests/e2e/driver/case_folder.h"
#include "tests/e2e/driver/held_file.h"
#include "tests/e2e/driver/session.h"
#include "tests/e2e/driver/tavrel_ids.h"
#include "tests/e2e/driver/tavrel_process.h"
#include "tests/e2e/driver/text.h"
#include "tests/e2e/driver/windows.h"
#include "tests/description_bytes.h"

namespace tavrel::e2e {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using description_bytes::RandomBytes;
using description_bytes::Utf16LittleEndianWithMark;

constexpr char kComplete[] = "セットアップが完了しました。";
constexpr char kNoDescription[] = "INIファイルが見つかりません";
constexpr char kUnreadableDescription[] = "INIファイルが読めません";

// The program's folder and the destination folder of a case, as the description names them.
struct Places {
  std::string app;
  std::string dest;
};

Places PlacesOf(const std::string& name) {
  const fs::path root = CasesRoot() / Utf8ToWide(name);
  return {WideToUtf8((root / L"app").wstring()), WideToUtf8((root / L"dest").wstring())};
}

enum class Form { kFile, kFolder, kHeldFile };

struct DescriptionCase {
  std::string name = {};
  std::string bytes = {};  // qxSetup.ini as it lies on the disk
  Form form = Form::kFile;
  std::vector<std::string> messages = {};
  DWORD exit_status = kCompleted;
  std::vector<std::string> installed = {};  // what stands in the destination folder afterwards
  std::vector<std::string> folders = {};    // made in the destination folder beforehand
  int registrations = 0;
};

std::u16string Utf16(const std::string& utf8) {
  const std::wstring wide = Utf8ToWide(utf8);
  return {wide.begin(), wide.end()};
}

// "\." steps name the folder they follow, so they lengthen a value without changing where it
// installs.
std::string Steps(std::size_t bytes) {
  std::string steps;
  while (steps.size() < bytes) steps += "\\.";
  return steps;
}

// A value of exactly `size` bytes that installs a.dll into `dest` under `name` and asks for
// its registration: "a.dll,<name>,<dest>\.\.\.…,REGIST". `name` has 5 or 6 bytes, to even out.
std::string ValueOfSize(std::size_t size, const std::string& dest, std::string& name) {
  const std::size_t room = size - std::string("a.dll,,,REGIST").size() - dest.size();
  name = room % 2 == 1 ? "n.dll" : "nn.dll";
  return "a.dll," + name + "," + dest + Steps(room - name.size()) + ",REGIST";
}

// A value of 5000 bytes whose last field names a sub-folder of `dest` in double-byte characters,
// laid out so that byte 1024 is the second half of a character: the folder that arrives is the
// one of the first `kWholeCharacters` characters.
constexpr std::size_t kWholeCharacters = 40;
std::string ValueCutInsideACharacter(const std::string& dest) {
  constexpr std::size_t kHead = 1023 - 2 * kWholeCharacters - 1;  // bytes before the characters
  const std::string field2 = dest.size() % 2 == 0 ? "" : "a.dll";
  std::string value = "a.dll," + field2 + "," + dest;
  value += Steps(kHead - 1 - value.size()) + "\\";
  const std::string character = ShiftJis("あ");
  while (value.size() < 5000) value += character;
  return value;
}

std::string Repeated(std::string_view utf8, std::size_t times) {
  std::string text;
  for (std::size_t i = 0; i < times; ++i) text += utf8;
  return text;
}

std::vector<DescriptionCase> Cases() {
  std::vector<DescriptionCase> cases;
  const auto add = [&](std::string name, auto make) {
    cases.push_back(make(PlacesOf(name)));
    cases.back().name = std::move(name);
  };
  add("utf8_mark", [](const Places& at) {
    return DescriptionCase{.bytes = "\xEF\xBB\xBF[BOOT]\r\nCopy1=a.dll,," + at.dest + "\r\n",
                           .messages = {kComplete},
                           .installed = {"a.dll"}};
  });
  add("utf16_with_mark", [](const Places& at) {
    return DescriptionCase{.bytes = Utf16LittleEndianWithMark(Utf16(
                               "[BOOT]\r\nCopy1=a.dll,," + at.dest + "\r\nCopy2=テスト.dll,," +
                               at.dest + "\r\nCopy3=café.dll,," + at.dest + "\r\n")),
                           .messages = {"ﾌｧｲﾙが開けません\r" + at.app + "\\cafe.dll"},
                           .exit_status = kFailed,
                           .installed = {"a.dll", "テスト.dll"}};
  });
  add("line_feeds_alone", [](const Places& at) {
    return DescriptionCase{
        .bytes = "[BOOT]\nCopy1=a.dll,," + at.dest + "\nCopy2=b.dll,," + at.dest + "\n",
        .messages = {kComplete},
        .installed = {"a.dll", "b.dll"}};
  });
  add("binary_junk", [](const Places&) {
    return DescriptionCase{.bytes = RandomBytes(4096), .messages = {kComplete}, .installed = {}};
  });
  add("binary_junk_before_the_section", [](const Places& at) {
    return DescriptionCase{
        .bytes = RandomBytes(4096) + "x\r\n[BOOT]\r\nCopy1=a.dll,," + at.dest + "\r\n",
        .messages = {kComplete},
        .installed = {"a.dll"}};
  });
  add("nul_inside_a_value", [](const Places& at) {
    return DescriptionCase{.bytes = "[BOOT]\r\nCopy1=a.dll,," + at.dest +
                                    "\0,REGIST\r\nCopy2=b.dll,,"s + at.dest + "\r\n",
                           .messages = {kComplete},
                           .installed = {"a.dll", "b.dll"}};
  });
  // The lead byte takes the line feed as its second byte: Copy2 joins the value of Copy1.
  add("lead_byte_before_a_line_feed", [](const Places& at) {
    return DescriptionCase{
        .bytes = "[BOOT]\nCopy1=a.dll,," + at.dest + ",\x82\nCopy2=b.dll,," + at.dest + "\n",
        .messages = {kComplete},
        .installed = {"a.dll"}};
  });
  add("value_of_1023_bytes", [](const Places& at) {
    std::string name;
    const std::string value = ValueOfSize(1023, at.dest, name);
    return DescriptionCase{.bytes = "[BOOT]\r\nCopy1=" + value + "\r\n",
                           .messages = {kComplete},
                           .installed = {name},
                           .registrations = 1};
  });
  // Cut to 1023 bytes, "REGIST" loses its last letter: installed, and not registered.
  add("value_of_1024_bytes", [](const Places& at) {
    std::string name;
    const std::string value = ValueOfSize(1024, at.dest, name);
    return DescriptionCase{
        .bytes = "[BOOT]\r\nCopy1=" + value + "\r\n", .messages = {kComplete}, .installed = {name}};
  });
  add("value_of_5000_bytes_cut_inside_a_character", [](const Places& at) {
    const std::string folder = Repeated("あ", kWholeCharacters);
    return DescriptionCase{.bytes = "[BOOT]\r\nCopy1=" + ValueCutInsideACharacter(at.dest) + "\r\n",
                           .messages = {kComplete},
                           .installed = {folder, folder + "\\a.dll"},
                           .folders = {folder}};
  });
  // Names match in any case; values keep theirs: "regist" asks for nothing, and "$system" is a
  // folder of that name beside the working folder, which does not exist.
  add("names_in_other_letter_cases", [](const Places& at) {
    return DescriptionCase{
        .bytes = "[boot]\r\ncopy1=a.dll,," + at.dest + ",regist\r\nCOPY2=b.dll,,$system\r\n",
        .messages = {"ﾌｧｲﾙが作成できません\r$system\\b.dll"},
        .exit_status = kFailed,
        .installed = {"a.dll"}};
  });
  add("the_first_of_two_equal_keys_counts", [](const Places& at) {
    return DescriptionCase{
        .bytes = "[BOOT]\r\nCopy1=a.dll,," + at.dest + "\r\nCopy1=b.dll,," + at.dest + "\r\n",
        .messages = {kComplete},
        .installed = {"a.dll"}};
  });
  add("the_first_boot_section_counts", [](const Places& at) {
    return DescriptionCase{.bytes = "[BOOT]\r\nCopy1=a.dll,," + at.dest +
                                    "\r\n[BOOT]\r\nCopy2=b.dll,," + at.dest + "\r\n",
                           .messages = {kComplete},
                           .installed = {"a.dll"}};
  });
  // Spaces around "=" and the value go; those inside stay, but Windows drops a name's trailing
  // spaces: "b.dll " is b.dll, and the name " " is the destination folder itself.
  add("spaces_around_the_equals_sign", [](const Places& at) {
    return DescriptionCase{.bytes = "[BOOT]\r\n  Copy1  =  a.dll,," + at.dest +
                                    "  \r\nCopy2=b.dll , ," + at.dest + "\r\n",
                           .messages = {"ﾌｧｲﾙが作成できません\r" + at.dest + "\\ "},
                           .exit_status = kFailed,
                           .installed = {"a.dll"}};
  });
  add("quotes_around_the_value", [](const Places& at) {
    return DescriptionCase{.bytes = "[BOOT]\r\nCopy1=\"a.dll,," + at.dest + "\"\r\n",
                           .messages = {kComplete},
                           .installed = {"a.dll"}};
  });
  add("no_boot_section", [](const Places& at) {
    return DescriptionCase{.bytes = "[SETUP]\r\nCopy1=a.dll,," + at.dest + "\r\n",
                           .messages = {kComplete},
                           .installed = {}};
  });
  add("empty_file", [](const Places&) {
    return DescriptionCase{.bytes = "", .messages = {kComplete}, .installed = {}};
  });
  add("description_is_a_folder", [](const Places&) {
    return DescriptionCase{.form = Form::kFolder,
                           .messages = {kNoDescription},
                           .exit_status = kFailed,
                           .installed = {}};
  });
  // The existence test passes, but the file cannot be read: told, rather than an empty run
  // reported complete.
  add("description_held_open", [](const Places& at) {
    return DescriptionCase{.bytes = "[BOOT]\r\nCopy1=a.dll,," + at.dest + "\r\n",
                           .form = Form::kHeldFile,
                           .messages = {kUnreadableDescription},
                           .exit_status = kFailed,
                           .installed = {}};
  });
  return cases;
}

class BadDescription : public testing::TestWithParam<DescriptionCase> {};

TEST_P(BadDescription, GivesTheDefinedResult) {
  const DescriptionCase& c = GetParam();
  CaseFolder folder(c.name);
  const fs::path dest = folder.Destination("dest");
  ASSERT_EQ(WideToUtf8(dest.wstring()), PlacesOf(c.name).dest);
  // a.dll registers: a value that keeps "REGIST" whole shows no message.
  fs::copy_file(VolstrakFixture("register_ok"), folder.app() / L"a.dll");
  for (const char* source : {"b.dll", "テスト.dll"}) {
    WritePattern(folder.app() / Utf8ToWide(source), 100, 1);
  }
  for (const std::string& sub_folder : c.folders)
    fs::create_directory(dest / Utf8ToWide(sub_folder));
  const fs::path description = folder.app() / L"qxSetup.ini";
  std::optional<HeldFile> held;
  if (c.form == Form::kFolder) {
    fs::create_directory(description);
  } else {
    WriteBytes(description, c.bytes);
    if (c.form == Form::kHeldFile) held.emplace(description);
  }

  TavrelProcess process(folder.exe(), folder.log());
  HWND form = WaitForWindow(process.id(), kForm1Class);
  ASSERT_TRUE(form) << "no main window";
  PressButton(form, kCommand1);
  const RunRecord run = AnswerMessagesUntilExit(process, std::chrono::seconds(30));

  std::vector<std::string> messages;
  for (const MessageBoxView& box : run.messages) messages.push_back(WideToUtf8(box.text));
  EXPECT_EQ(messages, c.messages);
  EXPECT_EQ(run.exit_status, c.exit_status);
  std::vector<fs::path> installed;
  for (const std::string& name : c.installed) installed.push_back(dest / Utf8ToWide(name));
  std::sort(installed.begin(), installed.end());
  EXPECT_EQ(EntriesIn(dest), installed);
  int registrations = 0;
  for (const LoggedCall& call : ReadCallLog(folder.log())) registrations += call[0] == "RegistDll";
  EXPECT_EQ(registrations, c.registrations);
}

INSTANTIATE_TEST_SUITE_P(Descriptions, BadDescription, testing::ValuesIn(Cases()),
                         [](const auto& row) { return row.param.name; });

// Every entry number up to 32767 is read, and no higher one: Copy32768 names a missing file. All
// but the first find their copy up to date, which keeps the walk to its lookups and comparisons.
TEST(BadDescriptionLong, ThirtyTwoThousandSevenHundredSixtySevenEntries) {
  CaseFolder folder("entries_32767");
  WritePattern(folder.app() / L"a.dll", 100, 1);
  const std::string entry = "=a.dll,," + WideToUtf8(folder.Destination("dest").wstring()) + "\r\n";
  std::string bytes = "[BOOT]\r\n";
  for (int n = 1; n <= 32767; ++n) bytes += "Copy" + std::to_string(n) + entry;
  bytes += "Copy32768=missing.dll,,\r\n";
  WriteBytes(folder.app() / L"qxSetup.ini", bytes);

  TavrelProcess process(folder.exe(), folder.log());
  HWND form = WaitForWindow(process.id(), kForm1Class);
  ASSERT_TRUE(form) << "no main window";
  PressButton(form, kCommand1);
  const RunRecord run = AnswerMessagesUntilExit(process, std::chrono::seconds(150));

  ASSERT_EQ(run.messages.size(), 1u);
  EXPECT_EQ(WideToUtf8(run.messages[0].text), kComplete);
  EXPECT_EQ(run.exit_status, kCompleted);
  int comparisons = 0;
  for (const LoggedCall& call : ReadCallLog(folder.log()))
    comparisons += call[0] == "CompareVersion";
  EXPECT_EQ(comparisons, 32766);
}

}  // namespace
}  // namespace tavrel::e2e
