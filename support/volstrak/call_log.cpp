// The call log of the logging test build.
//
// Format: one line per exported call, appended to the file that the environment variable
// VOLSTRAK_TEST_LOG names (nothing is written when it is unset or empty). The file is UTF-8, each
// line ends in "\n" alone, and its fields are joined by "|", which no Windows path can hold:
//   RegistDll|<path>|<flag>|<result>
//   CompareVersion|<source>|<destination>|<result>|<comparison>
//   CopyFileDateTime|<destination>|<source>|<result>
// Paths are the ANSI arguments converted to UTF-8 ("?" when null or invalid in the code page);
// numbers are signed decimals. <comparison> is the value the out-parameter holds after the call,
// so it shows the caller's own value when no comparison was made ("?" for a null pointer).
// Example: CompareVersion|C:\a\x.dll|C:\b\x.dll|1|-1

#include "support/volstrak/call_log.h"

#include <windows.h>

#include <optional>

#include "platform/win32/text_conversion.h"
#include "support/volstrak/ansi_text.h"
#include "support/volstrak/handles.h"

namespace tavrel::volstrak {
void LogCall(std::initializer_list<std::string_view> fields) {
  wchar_t path[MAX_PATH * 4];
  const DWORD length = GetEnvironmentVariableW(L"VOLSTRAK_TEST_LOG", path, std::size(path));
  if (length == 0 || length >= std::size(path)) return;
  std::string line;
  for (std::string_view field : fields) line.append(line.empty() ? "" : "|").append(field);
  line += '\n';
  // FILE_APPEND_DATA alone makes every write land at the end of the file, so lines from
  // several processes never overwrite one another.
  const UniqueHandle file =
      OpenedFile(CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  if (file) WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

std::string LogText(const char* ansi_path) {
  const std::optional<std::wstring> wide = WidenAnsi(ansi_path);
  return wide ? WideToUtf8(*wide).value_or("?") : "?";
}

}  // namespace tavrel::volstrak
