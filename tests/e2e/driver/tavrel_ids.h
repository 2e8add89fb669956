#pragma once

#include <windows.h>

namespace tavrel::e2e {

// What the program and its tests agree on: window classes, control IDs, exit statuses.
inline constexpr wchar_t kForm1Class[] = L"Tavrel.Form1";
inline constexpr wchar_t kFrmWaitClass[] = L"Tavrel.frmWait";
inline constexpr int kCommand1 = 101;
inline constexpr int kCommand2 = 102;
inline constexpr int kLabel1 = 103;
inline constexpr int kProgressLabel = 201;
inline constexpr DWORD kCompleted = 0;
inline constexpr DWORD kFailed = 1;
inline constexpr DWORD kStopped = 2;

}  // namespace tavrel::e2e
