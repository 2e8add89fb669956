#pragma once

// The crash scenarios' build of Tavrel.exe (tests/e2e) is compiled with TAVREL_KILL_POINTS: it
// ends itself, as a kill would, at the step of a copy that TAVREL_KILL_AT names. In the product
// a kill point is nothing at all.
#ifdef TAVREL_KILL_POINTS

#include <windows.h>

#include <cstring>

#define TAVREL_KILL_POINT(step) ::tavrel::KillPoint(step)

namespace tavrel {

inline void KillPoint(const char* step) {
  char named[32] = "";
  const DWORD length = GetEnvironmentVariableA("TAVREL_KILL_AT", named, sizeof named);
  if (length > 0 && length < sizeof named && std::strcmp(named, step) == 0) {
    TerminateProcess(GetCurrentProcess(), 99);
  }
}

}  // namespace tavrel

#else
#define TAVREL_KILL_POINT(step)
#endif
