#include "tools/tavrel-check/tests/lookup_corpus.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace tavrel {

namespace {

const std::vector<std::string> kFirstFour = {"Copy1", "Copy2", "Copy3", "Copy4"};

std::string Utf16(const std::u16string& text, bool big_endian) {
  std::string bytes = big_endian ? "\xFE\xFF" : "\xFF\xFE";
  for (char16_t unit : text) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    bytes += big_endian ? high : low;
    bytes += big_endian ? low : high;
  }
  return bytes;
}

// "テスト.dll" and friends in code page 932; 0x955C ("表") and 0x835C ("ソ") end in the byte of
// "\".
constexpr char kTestDll[] = "\x83\x65\x83\x58\x83\x67.dll";
constexpr char kHyouSo[] = "\x95\x5C\x83\x5C";
constexpr char kHalfWidthKana[] = "\xB1\xB2\xB3\xDE";

}  // namespace

std::vector<LookupCase> LookupCorpus() {
  const std::string k1022(1022, 'a');
  return {
      {"table-rows",
       "[BOOT]\r\nCopy1=a.dll,,$SYSTEM,REGIST\r\nCopy2=b.ocx,c.ocx,$WIN\\sub,REGIST\r\n"
       "Copy3=d.dll\r\nCopy4=e.dll,,C:\\Fixed,regist\r\nCopy5=f.dll,, $WIN, REGIST ,x\r\n"
       "Copy7=g.dll\r\n",
       {"Copy1", "Copy2", "Copy3", "Copy4", "Copy5", "Copy6", "Copy7"}},
      {"case-and-spaces", "[boot]\r\n  COPY1 \t=\t a , b \t\r\ncopy2=\r\nCopy3 =x\r\n", kFirstFour},
      {"duplicates",
       "[BOOT]\r\nCopy1=first\r\nCOPY1=second\r\n[Other]\r\nCopy2=o\r\n[boot]\r\nCopy2="
       "later\r\nCopy1=later\r\n",
       kFirstFour},
      {"odd-keys",
       "[BOOT]\r\nCopy01=a\r\nCopy0=b\r\nCopy32768=c\r\nFile1=d\r\nCopy 2=e\r\nCopy3\r\n",
       {"Copy1", "Copy2", "Copy3", "Copy0", "Copy32768", "File1"}},
      {"before-any-section",
       "Copy1=outside\r\n[ BOOT ]\r\nCopy2=spaced\r\n[BOOT] ; note\r\nCopy3=after-note\r\n",
       kFirstFour},
      {"no-closing-bracket", "[BOOT\r\nCopy1=a\r\n[BOOT]\r\nCopy2=b\r\n", kFirstFour},
      {"quotes",
       "[BOOT]\r\nCopy1=\"a.dll,,$SYSTEM\"\r\nCopy2='b'\r\nCopy3=\"c'\r\nCopy4=\"\"\r\nCopy5=\"\r\n"
       "Copy6=\"x\"y\"\r\nCopy7= \"z\" \r\nCopy8=a\"b\"\r\n",
       {"Copy1", "Copy2", "Copy3", "Copy4", "Copy5", "Copy6", "Copy7", "Copy8"}},
      {"comments", "[BOOT]\r\n;Copy1=commented\r\nCopy1=a ; not a comment\r\n# x\r\nCopy2=b\r\n",
       kFirstFour},
      {"line-ends", "[BOOT]\nCopy1=lf\nCopy2=crlf\r\nCopy3=ctrl-z\x1A\n", kFirstFour},
      {"carriage-returns-only", "[BOOT]\rCopy1=a\rCopy2=b\r", kFirstFour},
      {"japanese",
       std::string("[BOOT]\r\nCopy1=") + kTestDll + ",,$SYSTEM,REGIST\r\nCopy2=" + kHyouSo +
           ".ocx,,$WIN\\" + kHyouSo + "\r\nCopy3=" + kHalfWidthKana +
           ".dll\r\nCopy4=\x81\x40x\x81\x40\r\n",
       kFirstFour},
      {"utf8-bom-first", "\xEF\xBB\xBF[BOOT]\r\nCopy1=a.dll\r\n", kFirstFour},
      {"utf8-bom-later", "\xEF\xBB\xBF[Other]\r\n[BOOT]\r\nCopy1=a.dll\r\n", kFirstFour},
      {"utf8-without-bom", "[BOOT]\r\nCopy1=\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88.dll\r\n",
       kFirstFour},
      {"utf16le",
       Utf16(u"[BOOT]\r\nCopy1=テスト.dll,,$SYSTEM,REGIST\r\nCopy2=表ソ\r\nCopy3=们😀|\r\n", false),
       kFirstFour},
      {"utf16be", Utf16(u"[BOOT]\r\nCopy1=テスト.dll\r\n", true), kFirstFour},
      {"lengths",
       "[BOOT]\r\nCopy1=" + std::string(1023, 'a') + "\r\nCopy2=" + std::string(1024, 'b') +
           "\r\nCopy3=" + std::string(5000, 'c') + "\r\nCopy4=" + k1022 + "\x83\x65" +
           "\r\nCopy5=" + std::string(1021, 'e') + "\x83\x65" + "\r\nCopy6=\"" +
           std::string(1023, 'f') + "\"\r\n" + "Copy7=\"" + std::string(1022, 'g') + "\"\r\n",
       {"Copy1", "Copy2", "Copy3", "Copy4", "Copy5", "Copy6", "Copy7"}},
      {"long-japanese",
       "[BOOT]\r\nCopy1=" +
           [] {
             std::string text;
             for (int i = 0; i < 600; ++i) text += "\x83\x65";
             return text;
           }() +
           "\r\n",
       {"Copy1"}},
      {"long-utf16",
       Utf16(u"[BOOT]\r\nCopy1=" + std::u16string(1000, u'テ') + u"\r\n", false),
       {"Copy1"}},
  };
}

std::vector<RecordedValue> ReadRecordedValues(const std::string& path) {
  std::vector<RecordedValue> values;
  std::ifstream file(path);
  std::string line;
  while (std::getline(file, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    RecordedValue value;
    std::getline(fields, value.name, '\t');
    std::getline(fields, value.key, '\t');
    std::getline(fields, value.windows_hex, '\t');
    std::string wine;
    if (std::getline(fields, wine, '\t') && wine.starts_with("wine="))
      value.wine_hex = wine.substr(5);
    values.push_back(value);
  }
  return values;
}

std::string Hex(const std::string& bytes) {
  std::string hex;
  for (unsigned char byte : bytes) {
    char pair[3];
    std::snprintf(pair, sizeof pair, "%02x", byte);
    hex += pair;
  }
  return hex.empty() ? "-" : hex;
}

}  // namespace tavrel
