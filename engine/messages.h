#pragma once

#include <string>
#include <string_view>

namespace tavrel {

// The texts the run shows, as the person reads them. The file messages of the copy write "file"
// in half-width katakana; the description file's message in full-width.
inline constexpr std::string_view kIniFileMissing = "INIファイルが見つかりません";
inline constexpr std::string_view kIniFileUnreadable = "INIファイルが読めません";
inline constexpr std::string_view kSetupComplete = "セットアップが完了しました。";
inline constexpr std::string_view kRegistrationFailed = "の登録に失敗しました";
inline constexpr std::string_view kCannotOpen = "ﾌｧｲﾙが開けません";
inline constexpr std::string_view kCannotCreate = "ﾌｧｲﾙが作成できません";
inline constexpr std::string_view kCannotRead = "ﾌｧｲﾙが読めません";
inline constexpr std::string_view kCannotWrite = "ﾌｧｲﾙに書き込めません";
inline constexpr std::string_view kLibraryUnreachable = "VOLSTRAK.dllが呼び出せません";

// A message over a second line; a line break in a message box is the single carriage return.
inline std::string TwoLines(std::string_view message, std::string_view second_line) {
  return std::string(message).append(1, '\r').append(second_line);
}

}  // namespace tavrel
