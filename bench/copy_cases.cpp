#include "bench/copy_cases.h"

#include <psapi.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench/timing.h"
#include "platform/win32/scoped_handle.h"
#include "platform/win32/text_conversion.h"
#include "ui/message_loop.h"

namespace tavrel::bench {
namespace {

constexpr DWORD kChunkBytes = 16384;

[[noreturn]] void Fail(const char* what, const std::string& path) {
  std::fprintf(stderr, "tavrel_bench: %s: %s (error %lu)\n", what, path.c_str(), GetLastError());
  std::exit(1);
}

std::uint64_t LengthOf(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(Converted(Utf8ToWide(path)).c_str(), GetFileExInfoStandard, &data)) {
    Fail("cannot measure", path);
  }
  return std::uint64_t{data.nFileSizeHigh} << 32 | data.nFileSizeLow;
}

// Checks, outside the timed part, that the copy has the source's length, then deletes it: each
// copy must start with no destination, or CopyIfNewer would find it up to date.
void CheckAndDeleteCopy(const std::string& source, const std::string& destination) {
  if (LengthOf(destination) != LengthOf(source)) Fail("copy has the wrong length", destination);
  if (!DeleteFileW(Converted(Utf8ToWide(destination)).c_str())) Fail("cannot delete", destination);
}

void CopyByEngine(BenchPlatform& platform, const std::string& source,
                  const std::string& destination) {
  if (platform.engine.CopyIfNewer(source, destination) != 1) Fail("CopyIfNewer failed", source);
}

void CopyByBareLoop(const std::string& source, const std::string& destination) {
  ScopedHandle input(CreateFileW(Converted(Utf8ToWide(source)).c_str(), GENERIC_READ,
                                 FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                 nullptr));
  ScopedHandle output(CreateFileW(Converted(Utf8ToWide(destination)).c_str(), GENERIC_WRITE, 0,
                                  nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!input.valid() || !output.valid()) Fail("cannot open", source);
  std::vector<char> buffer(kChunkBytes);
  for (;;) {
    DWORD read = 0, written = 0;
    if (!ReadFile(input.get(), buffer.data(), kChunkBytes, &read, nullptr)) Fail("read", source);
    if (read == 0) break;
    if (!WriteFile(output.get(), buffer.data(), read, &written, nullptr) || written != read) {
      Fail("write", destination);
    }
    PumpPendingMessages();
  }
}

void CopyByCopyFile(const std::string& source, const std::string& destination) {
  if (!CopyFileW(Converted(Utf8ToWide(source)).c_str(), Converted(Utf8ToWide(destination)).c_str(),
                 FALSE)) {
    Fail("CopyFileW failed", source);
  }
}

}  // namespace

std::string MeasurePump(BenchPlatform& platform, int passes, int runs) {
  std::vector<Case> cases = {{"pump pass, nothing pending", {}}};
  MeasureInTurn(cases, {[&] {
                  for (int pass = 0; pass < passes; ++pass) platform.ui.PumpEvents();
                }},
                runs);
  return Table(cases, 0, static_cast<std::size_t>(passes));
}

std::string MeasureCopy(BenchPlatform& platform, const std::string& source,
                        const std::string& folder, int runs) {
  const std::string destination = folder + "\\copy.bin";
  std::vector<Case> cases = {{"bare 16 KiB ReadFile/WriteFile loop, pump per chunk", {}},
                             {"CopyIfNewer", {}},
                             {"CopyFileW", {}}};
  MeasureInTurn(cases,
                {[&] { CopyByBareLoop(source, destination); },
                 [&] { CopyByEngine(platform, source, destination); },
                 [&] { CopyByCopyFile(source, destination); }},
                runs, [&] { CheckAndDeleteCopy(source, destination); });
  return Table(cases, 0, 0);
}

std::string MeasureCopyMemory(BenchPlatform& platform, const std::string& source,
                              const std::string& folder) {
  const std::string destination = folder + "\\memory.bin";
  CopyByEngine(platform, source, destination);
  CheckAndDeleteCopy(source, destination);
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) {
    Fail("GetProcessMemoryInfo", source);
  }
  char row[160];
  // SIZE_T is unsigned long on i686, not size_t: widen everything to one known type.
  std::snprintf(row, sizeof row, "| %llu | %llu | %llu |\n",
                static_cast<unsigned long long>(LengthOf(source)),
                static_cast<unsigned long long>(counters.PeakWorkingSetSize),
                static_cast<unsigned long long>(counters.PeakPagefileUsage));
  return row;
}

}  // namespace tavrel::bench
