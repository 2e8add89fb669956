// A stand-in for VOLSTRAK.dll whose results reveal the arguments it was given.
#include <cstdint>
#include <cstdio>
#include <cstring>

#define PROBE_EXPORT extern "C" __declspec(dllexport)

// The byte count tells the ANSI form of a Japanese path (2 bytes a character) from UTF-8 (3).
PROBE_EXPORT std::int32_t __stdcall RegistDll(const char* path, std::int32_t flag) {
  return static_cast<std::int32_t>(std::strlen(path)) * flag;
}

#ifndef PROBE_REGIST_ONLY
PROBE_EXPORT std::int32_t __stdcall CompareVersion(const char* source, const char* destination,
                                                   std::int32_t* comparison) {
  *comparison = static_cast<std::int32_t>(std::strlen(source));
  return static_cast<std::int32_t>(std::strlen(destination));
}

// Writes the source path into the destination file, which shows the order and the code page.
PROBE_EXPORT std::int32_t __stdcall CopyFileDateTime(const char* destination, const char* source) {
  std::FILE* file = std::fopen(destination, "wb");
  if (!file) return 0;
  std::fputs(source, file);
  return std::fclose(file) == 0;
}
#endif
