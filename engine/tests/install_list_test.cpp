#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/module1.h"
#include "engine/tests/fake_platform.h"

namespace tavrel {
namespace {

using fake::FakeBytes;
using fake::FakeFile;
using fake::FakePlatform;
using fake::ProgramEnded;

constexpr char kComplete[] = "セットアップが完了しました。";
constexpr char kSystemA[] = R"(C:\WINDOWS\system32\a.dll)";

class RunSetupTest : public testing::Test {
 protected:
  RunSetupTest() {
    fake_.files.AddFile(R"(C:\Setup\qxSetup.ini)", {});
    fake_.files.AddFolder(R"(C:\WINDOWS\system32)");
    AddSource("a.dll", "A");
    AddSource("b.dll", "B");
    AddSource("c.dll", "C");
  }

  void AddSource(const std::string& name, const std::string& bytes) {
    fake_.files.AddFile(R"(C:\Setup\)" + name, {.bytes = FakeBytes(bytes), .stamp = 100});
  }
  void SetEntry(int n, const std::string& value) {
    fake_.profile.sections["BOOT"]["Copy" + std::to_string(n)] = value;
  }

  ExitStatus Run() {
    try {
      engine_.RunSetup();
    } catch (const ProgramEnded& ended) {
      EXPECT_EQ(fake_.ui.open_files_at_end, 0);
      return ended.status;
    }
  }

  std::vector<std::string> Logged(const std::string& prefix) const { return fake_.Calls(prefix); }
  // Message `index` is `text` with the warning icon and the default title.
  void ExpectWarning(std::size_t index, const std::string& text) const {
    ASSERT_LT(index, fake_.ui.messages.size());
    EXPECT_EQ(fake_.ui.messages[index].text, text);
    EXPECT_EQ(fake_.ui.messages[index].icon, MessageIcon::kWarning);
    EXPECT_EQ(fake_.ui.messages[index].title, std::nullopt);
  }
  std::vector<std::string> MessageTexts() const {
    std::vector<std::string> texts;
    for (const fake::ShownMessage& message : fake_.ui.messages) texts.push_back(message.text);
    return texts;
  }

  FakePlatform fake_;
  Module1 engine_{fake_.View()};
};

TEST_F(RunSetupTest, WithoutTheDescriptionFileTellsAndEndsBeforeShowingProgress) {
  ASSERT_TRUE(fake_.files.Delete(R"(C:\Setup\qxSetup.ini)"));
  EXPECT_EQ(Run(), ExitStatus::kFailed);
  ASSERT_EQ(fake_.ui.messages.size(), 1u);
  ExpectWarning(0, "INIファイルが見つかりません");
  EXPECT_TRUE(Logged("ShowProgressWindow").empty());
  EXPECT_TRUE(Logged("GetString").empty());
  EXPECT_TRUE(engine_.Running());
}

TEST_F(RunSetupTest, ADescriptionThatCannotBeReadIsAFailureNotAnEmptyRun) {
  SetEntry(1, "a.dll,,$SYSTEM");
  fake_.files.FailAt(fake::Step::kOpenForReading, 1);
  EXPECT_EQ(Run(), ExitStatus::kFailed);
  ASSERT_EQ(fake_.ui.messages.size(), 1u);
  ExpectWarning(0, "INIファイルが読めません");
  EXPECT_TRUE(Logged("ShowProgressWindow").empty());
  EXPECT_TRUE(Logged("GetString").empty());
  EXPECT_FALSE(fake_.files.Contents(kSystemA));
}

TEST_F(RunSetupTest, AnEmptyDescriptionShowsProgressThenTheCompletionWithAnEmptyTitle) {
  EXPECT_EQ(Run(), ExitStatus::kCompleted);
  EXPECT_EQ(fake_.log,
            (std::vector<std::string>{
                R"(Exists C:\Setup\qxSetup.ini)", R"(OpenForReading C:\Setup\qxSetup.ini)",
                "ShowProgressWindow", "PumpEvents", "GetString BOOT Copy1", "UnloadProgressWindow",
                std::string("ShowMessage ") + kComplete, "EndProgram 0"}));
  ASSERT_EQ(fake_.ui.messages.size(), 1u);
  EXPECT_EQ(fake_.ui.messages[0].icon, MessageIcon::kNone);
  EXPECT_EQ(fake_.ui.messages[0].title, "");
  EXPECT_EQ(engine_.WinDir, R"(C:\WINDOWS)");
  EXPECT_EQ(engine_.SysDir, R"(C:\WINDOWS\system32)");
  EXPECT_EQ(engine_.AppPath, R"(C:\Setup)");
  EXPECT_EQ(engine_.IniPath, R"(C:\Setup\qxSetup.ini)");
}

TEST_F(RunSetupTest, TheWalkStopsAtTheFirstMissingKey) {
  SetEntry(1, "a.dll,,$SYSTEM");
  SetEntry(2, "b.dll,,$SYSTEM");
  SetEntry(4, "c.dll,,$SYSTEM");
  EXPECT_EQ(Run(), ExitStatus::kCompleted);
  EXPECT_EQ(Logged("GetString"),
            (std::vector<std::string>{"GetString BOOT Copy1", "GetString BOOT Copy2",
                                      "GetString BOOT Copy3"}));
  EXPECT_TRUE(fake_.files.Contents(R"(C:\WINDOWS\system32\b.dll)"));
  EXPECT_FALSE(fake_.files.Contents(R"(C:\WINDOWS\system32\c.dll)"));
}

TEST_F(RunSetupTest, AnEntryWithAnEmptyValueEndsTheWalk) {
  SetEntry(1, "");
  SetEntry(2, "a.dll,,$SYSTEM");
  EXPECT_EQ(Run(), ExitStatus::kCompleted);
  EXPECT_FALSE(fake_.files.Contents(kSystemA));
  EXPECT_EQ(MessageTexts(), std::vector<std::string>{kComplete});
}

TEST_F(RunSetupTest, AnEntryIsCopiedUnderItsSourceNameAndRegisteredWhenMarked) {
  SetEntry(1, "a.dll,,$SYSTEM,REGIST");
  EXPECT_EQ(Run(), ExitStatus::kCompleted);
  EXPECT_EQ(fake_.files.Contents(kSystemA), "A");
  EXPECT_EQ(Logged("RegistDll"),
            std::vector<std::string>{std::string("RegistDll ") + kSystemA + " -1"});
  EXPECT_EQ(MessageTexts(), std::vector<std::string>{kComplete});
}

TEST_F(RunSetupTest, ASubFolderOfTheWindowsDirectoryTakesTheDestinationName) {
  fake_.files.AddFolder(R"(C:\WINDOWS\sub)");
  SetEntry(1, R"(a.dll,b.ocx,$WIN\sub,REGIST)");
  EXPECT_EQ(Run(), ExitStatus::kCompleted);
  EXPECT_EQ(fake_.files.Contents(R"(C:\WINDOWS\sub\b.ocx)"), "A");
  EXPECT_EQ(Logged("RegistDll"), std::vector<std::string>{R"(RegistDll C:\WINDOWS\sub\b.ocx -1)"});
}

TEST_F(RunSetupTest, AnEmptyFolderFieldGivesAPathFromTheRoot) {
  fake_.files.AddFolder("");
  SetEntry(1, "a.dll");
  EXPECT_EQ(Run(), ExitStatus::kCompleted);
  EXPECT_EQ(fake_.files.Contents(R"(\a.dll)"), "A");
}

TEST_F(RunSetupTest, AProgramFolderAtTheRootOfADriveGivesDoubledSeparators) {
  fake_.directories.program = R"(C:\)";
  fake_.profile.path = R"(C:\\qxSetup.ini)";
  fake_.files.AddFile(R"(C:\\qxSetup.ini)", {});
  fake_.files.AddFile(R"(C:\\a.dll)", {.bytes = FakeBytes("root")});
  SetEntry(1, "a.dll,,$SYSTEM");
  EXPECT_EQ(Run(), ExitStatus::kCompleted);
  EXPECT_EQ(engine_.IniPath, R"(C:\\qxSetup.ini)");
  EXPECT_EQ(fake_.files.Contents(kSystemA), "root");
}

TEST_F(RunSetupTest, RegistrationIsAskedForAlsoWhenTheFileWasUpToDate) {
  fake_.files.AddFile(kSystemA, {.bytes = FakeBytes("kept"), .stamp = 200});
  SetEntry(1, "a.dll,,$SYSTEM,REGIST");
  EXPECT_EQ(Run(), ExitStatus::kCompleted);
  EXPECT_EQ(fake_.files.Contents(kSystemA), "kept");
  EXPECT_EQ(Logged("RegistDll").size(), 1u);
}

TEST_F(RunSetupTest, OnlyTheExactWordAsksForRegistration) {
  for (const std::string field : {" REGIST", "REGIST ", "regist", "Regist", "\"REGIST\"", ""}) {
    SetEntry(1, "a.dll,,$SYSTEM," + field);
    EXPECT_EQ(Run(), ExitStatus::kCompleted);
    EXPECT_TRUE(Logged("RegistDll").empty()) << "field 4 \"" << field << "\"";
  }
}

TEST_F(RunSetupTest, AFailedRegistrationIsToldAndTheWalkGoesOn) {
  SetEntry(1, "a.dll,,$SYSTEM,REGIST");
  SetEntry(2, "b.dll,,$SYSTEM");
  fake_.support.regist_results[kSystemA] = 0;
  EXPECT_EQ(Run(), ExitStatus::kCompleted);
  EXPECT_EQ(fake_.files.Contents(R"(C:\WINDOWS\system32\b.dll)"), "B");
  ASSERT_EQ(fake_.ui.messages.size(), 2u);
  ExpectWarning(0, std::string(kSystemA) + "の登録に失敗しました");
  EXPECT_EQ(fake_.ui.messages[1].text, kComplete);
}

TEST_F(RunSetupTest, AnUnreachableRegistDllEndsTheRun) {
  SetEntry(1, "a.dll,,$SYSTEM,REGIST");
  SetEntry(2, "b.dll,,$SYSTEM");
  fake_.support.unreachable.insert(SupportLibrary::Function::kRegistDll);
  EXPECT_EQ(Run(), ExitStatus::kFailed);
  ASSERT_EQ(fake_.ui.messages.size(), 1u);
  ExpectWarning(0, "VOLSTRAK.dllが呼び出せません\rRegistDll");
  EXPECT_TRUE(Logged("GetString BOOT Copy2").empty());
}

TEST_F(RunSetupTest, AFailedCopyEndsTheRunWithoutReadingFurtherOrCompleting) {
  SetEntry(1, "a.dll,,$SYSTEM");
  SetEntry(2, "missing.dll,,$SYSTEM");
  SetEntry(3, "c.dll,,$SYSTEM");
  EXPECT_EQ(Run(), ExitStatus::kFailed);
  EXPECT_EQ(MessageTexts(), std::vector<std::string>{"ﾌｧｲﾙが開けません\rC:\\Setup\\missing.dll"});
  EXPECT_TRUE(Logged("GetString BOOT Copy3").empty());
  EXPECT_TRUE(Logged("UnloadProgressWindow").empty());
  EXPECT_EQ(fake_.files.Contents(kSystemA), "A");
}

TEST_F(RunSetupTest, AStopAskedForDuringTheFirstPumpEndsTheRunBeforeAnyCopy) {
  SetEntry(1, "a.dll,,$SYSTEM");
  fake_.ui.on_pump = [this](int pump) {
    EXPECT_TRUE(engine_.Running());
    if (pump == 1) engine_.RequestStop();
  };
  EXPECT_EQ(Run(), ExitStatus::kStopped);
  EXPECT_FALSE(fake_.files.Contents(kSystemA));
  EXPECT_TRUE(fake_.ui.messages.empty());
}

TEST_F(RunSetupTest, AStopAskedForBeforeTheRunIsForgotten) {
  SetEntry(1, "a.dll,,$SYSTEM");
  engine_.RequestStop();
  EXPECT_EQ(Run(), ExitStatus::kCompleted);
  EXPECT_EQ(fake_.files.Contents(kSystemA), "A");
}

TEST_F(RunSetupTest, TheWalkEndsAfterEntry32767) {
  fake_.files.AddFile(R"(C:\WINDOWS\system32\a.dll)", {.bytes = FakeBytes(), .stamp = 100});
  for (int n = 1; n <= 32768; ++n) SetEntry(n, "a.dll,,$SYSTEM");
  EXPECT_EQ(Run(), ExitStatus::kCompleted);
  const std::vector<std::string> lookups = Logged("GetString");
  EXPECT_EQ(lookups.size(), 32767u);
  EXPECT_EQ(lookups.back(), "GetString BOOT Copy32767");
  EXPECT_EQ(MessageTexts(), std::vector<std::string>{kComplete});
}

}  // namespace
}  // namespace tavrel
