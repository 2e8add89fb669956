#pragma once

// The logging test build (compiled with VOLSTRAK_CALL_LOG) records every exported call; the
// production build compiles the calls to LogCall away. The line format is described in
// call_log.cpp.

#include <initializer_list>
#include <string>
#include <string_view>

namespace tavrel::volstrak {

#ifdef VOLSTRAK_CALL_LOG
inline constexpr bool kCallLog = true;
#else
inline constexpr bool kCallLog = false;
#endif

// Appends one line made of `fields` to the file named by VOLSTRAK_TEST_LOG, when it is set.
void LogCall(std::initializer_list<std::string_view> fields);

// An ANSI path as UTF-8 for the log; "?" stands for a null path or one invalid in the code page.
std::string LogText(const char* ansi_path);

}  // namespace tavrel::volstrak
