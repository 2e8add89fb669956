#include "tools/tavrel-check/messages.h"

#include <cstddef>

namespace tavrel {

namespace {

struct Message {
  Code code;
  int variant;
  std::string_view english;
  std::string_view japanese;
};

constexpr Message kMessages[] = {
    {Code::kNoBootSection, 0, "The file has no [BOOT] section: nothing is installed.",
     "[BOOT] セクションがありません。何もインストールされません。"},
    {Code::kAfterGap, 0, "{1} is never read: the walk stops at {2}, which is missing.",
     "{1} は読まれません。{2} がないため、そこで読み取りが終わります。"},
    {Code::kAfterGap, 1, "{1} is never read: the walk stops at {2}, whose value is empty.",
     "{1} は読まれません。{2} の値が空のため、そこで読み取りが終わります。"},
    {Code::kUnreadKey, 0,
     "{1} (line {2}) is never asked for: only Copy1, Copy2, ... up to Copy32767, without leading "
     "zeros, are read.",
     "{1}（{2} 行目）は読まれません。読まれるのは Copy1, Copy2, ... Copy32767（先頭に 0 "
     "を付けない）"
     "だけです。"},
    {Code::kUnreadKey, 1,
     "{1} (line {2}) is in a second [BOOT] section, which the lookup never searches.",
     "{1}（{2} 行目）は 2 つ目の [BOOT] セクションにあり、読まれません。"},
    {Code::kDuplicateKey, 0,
     "{1} on line {2} is ignored: the key is already given on line {3}, and the first one is used.",
     "{2} 行目の {1} は無視されます。同じキーが {3} 行目にあり、最初のものが使われます。"},
    {Code::kKeywordCase, 0,
     "The folder \"{1}\" is not the keyword {2}, which must stand first and in upper case: it is "
     "used as a folder name as written.",
     "フォルダー \"{1}\" はキーワード {2} になりません（先頭に大文字で書く必要があります）。"
     "書かれたとおりのフォルダー名として使われます。"},
    {Code::kRegistNearMiss, 0,
     "The fourth field \"{1}\" is not exactly REGIST: the file is not registered.",
     "4 番目のフィールド \"{1}\" は REGIST と完全には一致しません。ファイルは登録されません。"},
    {Code::kExtraFields, 0, "More than four fields: \"{1}\" after the fourth comma is ignored.",
     "フィールドが 4 つを超えています。4 つ目のカンマより後の \"{1}\" は無視されます。"},
    {Code::kTooLong, 0,
     "The value is longer than 1023 bytes in the ANSI code page: it arrives cut in field {1}, "
     "after \"{2}\".",
     "値が ANSI コードページで 1023 バイトを超えています。フィールド {1} の \"{2}\" の後で切れて"
     "読まれます。"},
    {Code::kEncoding, static_cast<int>(EncodingProblem::Kind::kUtf8Mark),
     "The file starts with a UTF-8 byte-order mark, which Windows reads as text of line 1: it was "
     "probably saved as UTF-8. Save it as Shift-JIS.",
     "ファイルが UTF-8 のバイト順マークで始まっています。Windows はこれを 1 "
     "行目の文字として読みます。"
     "UTF-8 で保存されたようです。Shift-JIS で保存してください。"},
    {Code::kEncoding, static_cast<int>(EncodingProblem::Kind::kUtf16Mark),
     "The file is UTF-16 (it starts with a byte-order mark): an entry naming a file with "
     "characters that Shift-JIS lacks fails. Save it as Shift-JIS.",
     "ファイルが UTF-16 です（バイト順マークがあります）。Shift-JIS にない文字を含むファイル名の"
     "エントリは失敗します。Shift-JIS で保存してください。"},
    {Code::kEncoding, static_cast<int>(EncodingProblem::Kind::kUtf16BigEndianMark),
     "The file is UTF-16 big-endian, which Windows does not read as Unicode: it finds no [BOOT] "
     "section, and the installer stops with \"INIファイルが読めません\". Save it as Shift-JIS.",
     "ファイルが UTF-16 ビッグエンディアンです。Windows はこれを Unicode として読まないため "
     "[BOOT] セクションが見つからず、インストーラーは「INIファイルが読めません」で止まります。"
     "Shift-JIS で保存してください。"},
    {Code::kEncoding, static_cast<int>(EncodingProblem::Kind::kUtf8Text),
     "Line {1} holds UTF-8 text, which the installer reads as Shift-JIS and garbles: the file was "
     "probably saved as UTF-8.",
     "{1} 行目に UTF-8 の文字があり、Shift-JIS として読まれて文字化けします。UTF-8 で保存された"
     "ようです。"},
    {Code::kEncoding, static_cast<int>(EncodingProblem::Kind::kNotShiftJis),
     "Line {1} holds bytes that are not valid Shift-JIS: the file was probably saved as UTF-8.",
     "{1} 行目に Shift-JIS として正しくないバイトがあります。UTF-8 で保存されたようです。"},
    {Code::kEmptySource, 0,
     "The source file name (field 1) is empty: the source path names no file.",
     "コピー元ファイル名（フィールド 1）が空です。コピー元のパスはファイルを指しません。"},
    {Code::kMissingSource, 0, "The source file \"{1}\" is not in the folder.",
     "コピー元ファイル \"{1}\" がフォルダーにありません。"},
    {Code::kRelativeFolder, 0,
     "The destination folder \"{1}\" is not an absolute path: it depends on the current drive "
     "and folder of the installer.",
     "コピー先フォルダー \"{1}\" は絶対パスではありません。インストーラーのカレントドライブと"
     "フォルダーによって変わります。"},
    {Code::kRelativeFolder, 1,
     "The folder field is empty: the destination is \"{1}\", in the root of whatever drive is "
     "current.",
     "フォルダーのフィールドが空です。コピー先は \"{1}\"、その時のカレントドライブのルートです。"},
    {Code::kOtherMachine, 0,
     "\"{1}\" is built for {2}, not x86: a 32-bit installer puts it into the Windows or system "
     "folder that 32-bit programs see (SysWOW64), where none of them can load it.",
     "\"{1}\" は x86 ではなく {2} 用です。32 ビットのインストーラーは 32 ビットのプログラムが見る "
     "Windows フォルダーやシステムフォルダー（SysWOW64）に入れますが、そこのプログラムには読み込め"
     "ません。"},
    {Code::kOtherMachine, 1,
     "\"{1}\" is built for {2}, not x86: the 32-bit installer cannot load it, so its "
     "registration fails every time.",
     "\"{1}\" は x86 ではなく {2} 用です。32 ビットのインストーラーには読み込めないため、登録は"
     "必ず失敗します。"},
    {Code::kOtherMachine, 2,
     "\"{1}\" is built for {2}, not x64: the 64-bit installer beside the description puts it "
     "into the Windows or system folder that 64-bit programs see, where none of them can load it.",
     "\"{1}\" は x64 ではなく {2} 用です。説明ファイルと同じフォルダーの 64 ビットのインストーラー"
     "は 64 ビットのプログラムが見る Windows フォルダーやシステムフォルダーに入れますが、そこの"
     "プログラムには読み込めません。"},
    {Code::kOtherMachine, 3,
     "\"{1}\" is built for {2}, not x64: the 64-bit installer beside the description cannot "
     "load it, so its registration fails every time.",
     "\"{1}\" は x64 ではなく {2} 用です。説明ファイルと同じフォルダーの 64 ビットのインストーラー"
     "には読み込めないため、登録は必ず失敗します。"},
    {Code::kNotRegistrable, 0, "\"{1}\" is not a Windows image: its registration fails every time.",
     "\"{1}\" は Windows の実行形式ではありません。登録は必ず失敗します。"},
    {Code::kNotRegistrable, 1,
     "\"{1}\" is a program, not a DLL: its registration fails every time.",
     "\"{1}\" は DLL ではなくプログラムです。登録は必ず失敗します。"},
    {Code::kNotRegistrable, 2,
     "\"{1}\" exports no DllRegisterServer: its registration fails every time.",
     "\"{1}\" は DllRegisterServer をエクスポートしていません。登録は必ず失敗します。"},
    {Code::kNotRegistrable, 3,
     "\"{1}\" has a damaged import table: Windows cannot load it, so its registration fails every "
     "time.",
     "\"{1}\" のインポートテーブルが壊れています。Windows "
     "が読み込めないため、登録は必ず失敗します。"},
    {Code::kImportLater, 0,
     "\"{1}\" needs {2}, which Copy{3} installs only after this registration: the registration "
     "fails unless {2} is already on the machine.",
     "\"{1}\" が必要とする {2} は、この登録の後の Copy{3} で入ります。{2} がマシンに既になければ"
     "登録は失敗します。"},
    {Code::kImportMissing, 0,
     "\"{1}\" needs {2}, which is no Windows system DLL and which no entry installs beside it or "
     "into the system folder: it must already be on the machine, or the registration fails.",
     "\"{1}\" が必要とする {2} は Windows のシステム DLL ではなく、同じフォルダーにもシステム"
     "フォルダーにも入れるエントリがありません。マシンに既になければ登録は失敗します。"},
    {Code::kSameDestination, 0,
     "The destination \"{1}\" is also that of Copy{2}: this file is compared against the one "
     "that entry installed.",
     "コピー先 \"{1}\" は Copy{2} と同じです。このファイルはそのエントリが入れたファイルと"
     "比べられます。"},
    {Code::kRegistFixedFolder, 0,
     "The folder \"{1}\" lies outside the Windows folder and Program Files: the installer "
     "registers a file there only when administrators alone can change the folder on the target "
     "machine.",
     "フォルダー \"{1}\" は Windows フォルダーと Program Files の外にあります。インストール先の"
     "マシンでそのフォルダーを管理者だけが変更できる場合にしか、ファイルは登録されません。"},
    {Code::kNoVersion, 0,
     "\"{1}\" has no version resource: dates alone decide, so a rebuilt file with an older date "
     "never replaces an installed one.",
     "\"{1}\" にはバージョンリソースがありません。日付だけで判断されるため、作り直したファイルでも"
     "日付が古ければインストール済みのものを置き換えません。"},
};

constexpr ReportWords kEnglish{
    .description = "Description",
    .entries = "Entries",
    .registered = "registered",
    .warnings = "Warnings",
    .no_warnings = "No warnings.",
    .notes = "Notes",
    .no_description = "There is no qxSetup.ini in {1}.",
    .unreadable = "{1} cannot be read.",
    .usage =
        "usage: tavrel-check [--json] [--windir DIR] [--sysdir DIR] [FOLDER]\n"
        "       tavrel-check --help | --version",
};

constexpr ReportWords kJapanese{
    .description = "説明ファイル",
    .entries = "エントリ",
    .registered = "登録する",
    .warnings = "警告",
    .no_warnings = "警告はありません。",
    .notes = "注記",
    .no_description = "{1} に qxSetup.ini がありません。",
    .unreadable = "{1} を読み取れません。",
    .usage =
        "使い方: tavrel-check [--json] [--windir フォルダー] [--sysdir フォルダー] [フォルダー]\n"
        "        tavrel-check --help | --version",
};

}  // namespace

const ReportWords& WordsFor(Language language) {
  return language == Language::kJapanese ? kJapanese : kEnglish;
}

std::string DescribeFinding(const Finding& finding, Language language) {
  for (const Message& message : kMessages) {
    if (message.code == finding.code && message.variant == finding.variant) {
      return FillIn(language == Language::kJapanese ? message.japanese : message.english,
                    finding.args);
    }
  }
  return std::string(CodeName(finding.code));
}

std::string FillIn(std::string_view pattern, const std::vector<std::string>& args) {
  std::string text;
  for (std::size_t at = 0; at < pattern.size(); ++at) {
    const bool placeholder = pattern[at] == '{' && at + 2 < pattern.size() &&
                             pattern[at + 2] == '}' && pattern[at + 1] >= '1' &&
                             pattern[at + 1] <= '9';
    const auto index = placeholder ? static_cast<std::size_t>(pattern[at + 1] - '1') : 0;
    if (placeholder && index < args.size()) {
      text += args[index];
      at += 2;
    } else {
      text += pattern[at];
    }
  }
  return text;
}

}  // namespace tavrel
