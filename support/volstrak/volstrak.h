#pragma once

// The three exports of our VOLSTRAK.dll. Paths arrive in the ANSI code page. On x86 the
// functions are __stdcall (WINAPI) and still exported undecorated (volstrak.def).

#include <windows.h>

#include <cstdint>

extern "C" {

// Registers the DLL at `path` through its DllRegisterServer when `flag` is non-zero (the
// installer passes -1), or unregisters it through its DllUnregisterServer when `flag` is 0.
// 1 on success; 0 when the file is missing, is not a loadable DLL of this architecture, lacks the
// function, or the function returns a failing HRESULT.
std::int32_t WINAPI RegistDll(const char* path, std::int32_t flag);

// 1 when both files carry a version resource and their file versions were compared:
// `*comparison` is then 1, 0 or -1 as the source's version is higher than, equal to or lower than
// the destination's. 0 when no comparison could be made; `*comparison` is then left untouched.
std::int32_t WINAPI CompareVersion(const char* source, const char* destination,
                                   std::int32_t* comparison);

// Gives the destination the source's creation, last-access and last-write times.
// 1 on success, 0 when either file cannot be reached; the destination is never created.
std::int32_t WINAPI CopyFileDateTime(const char* destination, const char* source);

}  // extern "C"
