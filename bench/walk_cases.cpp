#include "bench/walk_cases.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "bench/timing.h"
#include "platform/win32/text_conversion.h"
#include "ui/message_loop.h"

namespace tavrel::bench {
namespace {

using CompareVersionFunction = std::int32_t(__stdcall*)(const char*, const char*, std::int32_t*);

// The paths of every entry, made before the clock starts, so that the bare loop holds nothing
// but the calls.
struct EntryPaths {
  std::vector<std::string> keys;
  std::vector<std::string> ansi_sources, ansi_destinations;
  std::vector<std::wstring> wide_sources, wide_destinations;
  std::string ansi_ini;
};

EntryPaths PathsOf(const WalkFiles& files) {
  EntryPaths paths;
  paths.ansi_ini = Utf8ToAnsi(files.app_folder + "\\qxSetup.ini").value();
  for (int n = 1; n <= files.entries; ++n) {
    const std::string name = "\\f" + std::to_string(n) + ".dll";
    paths.keys.push_back("Copy" + std::to_string(n));
    paths.ansi_sources.push_back(Utf8ToAnsi(files.app_folder + name).value());
    paths.ansi_destinations.push_back(Utf8ToAnsi(files.destination_folder + name).value());
    paths.wide_sources.push_back(Utf8ToWide(files.app_folder + name).value());
    paths.wide_destinations.push_back(Utf8ToWide(files.destination_folder + name).value());
  }
  return paths;
}

// CompareVersion of the library that the engine loaded: the same module, found by name.
CompareVersionFunction LibraryCompareVersion(BenchPlatform& platform) {
  const std::string library = platform.directories.ProgramFolder().value() + "\\VOLSTRAK.dll";
  const HMODULE module = LoadLibraryW(Utf8ToWide(library).value().c_str());
  const FARPROC function = module ? GetProcAddress(module, "CompareVersion") : nullptr;
  if (!function) {
    std::fprintf(stderr, "tavrel_bench: no CompareVersion in %s\n", library.c_str());
    std::exit(1);
  }
  return reinterpret_cast<CompareVersionFunction>(reinterpret_cast<void*>(function));
}

bool LookUp(const EntryPaths& paths, std::size_t i) {
  char value[1024];
  GetPrivateProfileStringA("BOOT", paths.keys[i].c_str(), "", value, sizeof value,
                           paths.ansi_ini.c_str());
  return value[0] != '\0';
}

bool StampsOf(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  return GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) != FALSE;
}

bool ExistsByDirectoryLookup(const std::wstring& path) {
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW(path.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return true;
}

[[noreturn]] void NotUpToDate(const EntryPaths& paths, std::size_t i) {
  std::fprintf(stderr, "tavrel_bench: entry %s is not an up-to-date pair of files\n",
               paths.keys[i].c_str());
  std::exit(1);
}

// Every entry is checked, so that the engine's walk, timed over the same files, copies nothing:
// a pair of the same version, or of files without one, whose dates then decide (and whose stamps
// the engine reads by name, opening nothing).
void BareWalk(const EntryPaths& paths, CompareVersionFunction compare_version) {
  for (std::size_t i = 0; i < paths.keys.size(); ++i) {
    std::int32_t comparison = 1;
    const bool found = LookUp(paths, i) && StampsOf(paths.wide_destinations[i]);
    const std::int32_t compared = compare_version(paths.ansi_sources[i].c_str(),
                                                  paths.ansi_destinations[i].c_str(), &comparison);
    if (!found || (compared == 1 ? comparison != 0 : compared != 0) ||
        !StampsOf(paths.wide_sources[i]) || !StampsOf(paths.wide_destinations[i])) {
      NotUpToDate(paths, i);
    }
    PumpPendingMessages();
  }
}

}  // namespace

std::string MeasureWalk(BenchPlatform& platform, const WalkFiles& files, int runs) {
  const EntryPaths paths = PathsOf(files);
  const CompareVersionFunction compare_version = LibraryCompareVersion(platform);
  Module1& engine = platform.engine;
  engine.AppPath = files.app_folder;
  engine.IniPath = files.app_folder + "\\qxSetup.ini";
  std::vector<Case> cases = {{"bare loop: lookup, existence, CompareVersion, two stamps, pump", {}},
                             {"InstallList", {}}};
  MeasureInTurn(cases, {[&] { BareWalk(paths, compare_version); }, [&] { engine.InstallList(); }},
                runs);
  return Table(cases, 0, paths.keys.size());
}

std::string MeasureWalkCalls(BenchPlatform& platform, const WalkFiles& files, int runs) {
  const EntryPaths paths = PathsOf(files);
  const CompareVersionFunction compare_version = LibraryCompareVersion(platform);
  const HMODULE version_library = LoadLibraryW(L"version.dll");
  using SizeFunction = DWORD(WINAPI*)(const wchar_t*, DWORD*);
  const auto version_info_size = reinterpret_cast<SizeFunction>(
      reinterpret_cast<void*>(GetProcAddress(version_library, "GetFileVersionInfoSizeW")));
  struct CallKind {
    const char* name;
    std::function<void(std::size_t)> call;
  };
  const CallKind kinds[] = {
      {"GetPrivateProfileStringA", [&](std::size_t i) { LookUp(paths, i); }},
      {"GetFileAttributesExW (existence, one stamp)",
       [&](std::size_t i) { StampsOf(paths.wide_destinations[i]); }},
      {"FindFirstFileW + FindClose (existence by directory lookup)",
       [&](std::size_t i) { ExistsByDirectoryLookup(paths.wide_destinations[i]); }},
      {"CompareVersion (our VOLSTRAK.dll, two files)",
       [&](std::size_t i) {
         std::int32_t comparison = 0;
         compare_version(paths.ansi_sources[i].c_str(), paths.ansi_destinations[i].c_str(),
                         &comparison);
       }},
      {"GetFileVersionInfoSizeW (version.dll, one file)",
       [&](std::size_t i) {
         DWORD handle = 0;
         if (version_info_size) version_info_size(paths.wide_destinations[i].c_str(), &handle);
       }},
      {"pump pass", [&](std::size_t) { platform.ui.PumpEvents(); }},
  };
  std::vector<Case> cases;
  std::vector<std::function<void()>> works;
  for (const CallKind& kind : kinds) {
    cases.push_back({kind.name, {}});
    works.push_back([&] {
      for (std::size_t i = 0; i < paths.keys.size(); ++i) kind.call(i);
    });
  }
  MeasureInTurn(cases, works, runs);
  return Table(cases, 0, paths.keys.size());
}

}  // namespace tavrel::bench
