#pragma once

#include <string_view>

namespace tavrel {

// A DLL that every Windows has loaded or maps from its own copy, whatever folder a program
// looks in: the KnownDLLs, ntdll and kernelbase, and the API sets (api-ms-win-*, ext-ms-win-*).
// Letter case ignored.
bool IsWindowsSystemDll(std::string_view name);

}  // namespace tavrel
