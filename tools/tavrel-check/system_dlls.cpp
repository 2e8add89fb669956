#include "tools/tavrel-check/system_dlls.h"

#include <algorithm>
#include <string>

#include "text/ini_lines.h"

namespace tavrel {

namespace {

// The KnownDLLs of Windows 10 and 11 (the registry key
// HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\KnownDLLs), which the loader maps from the
// system's own copies, and the two DLLs that every process has loaded before its first import is
// resolved.
constexpr std::string_view kKnownDlls[] = {
    "advapi32.dll", "clbcatq.dll", "combase.dll",  "comdlg32.dll", "coml2.dll",    "difxapi.dll",
    "gdi32.dll",    "gdiplus.dll", "imagehlp.dll", "imm32.dll",    "kernel32.dll", "kernelbase.dll",
    "msctf.dll",    "msvcrt.dll",  "normaliz.dll", "nsi.dll",      "ntdll.dll",    "ole32.dll",
    "oleaut32.dll", "psapi.dll",   "rpcrt4.dll",   "sechost.dll",  "setupapi.dll", "shcore.dll",
    "shell32.dll",  "shlwapi.dll", "user32.dll",   "wldap32.dll",  "ws2_32.dll",
};

}  // namespace

bool IsWindowsSystemDll(std::string_view name) {
  const std::string folded = FoldIniName(name);
  return folded.starts_with("api-ms-win-") || folded.starts_with("ext-ms-win-") ||
         std::find(std::begin(kKnownDlls), std::end(kKnownDlls), folded) != std::end(kKnownDlls);
}

}  // namespace tavrel
