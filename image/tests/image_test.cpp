#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "image/pe_headers.h"
#include "image/pe_names.h"
#include "image/tests/image_builder.h"
#include "image/version_resource.h"

namespace tavrel {
namespace {

std::string Joined(const std::optional<std::vector<std::string>>& names) {
  if (!names) return "?";
  std::string text;
  for (const std::string& name : *names) text += (text.empty() ? "" : ",") + name;
  return text.empty() ? "-" : text;
}

// What the reader makes of an image, in the words of images.txt.
std::string Summary(const std::string& bytes) {
  const MemoryBytes file(bytes);
  const std::optional<PeHeaders> headers = ReadPeHeaders(file);
  if (!headers) return "unreadable";
  std::ostringstream text;
  text << std::hex << headers->machine << (headers->IsDll() ? " dll" : " exe")
       << " imports=" << Joined(ReadImportNames(file, *headers))
       << " delay=" << Joined(ReadDelayImportNames(file, *headers))
       << " exports=" << Joined(ReadExportNames(file, *headers)) << " version=";
  const std::optional<std::uint64_t> version = ReadFixedFileVersion(file, *headers);
  if (!version) return text.str() + "-";
  for (int shift = 48; shift >= 0; shift -= 16)
    text << std::dec << (*version >> shift & 0xFFFF) << (shift ? "." : "");
  return text.str();
}

// Each row of images.txt: an image built from its spec, patched ("OFFSET=HEX BYTES"), and what
// the reader makes of it.
TEST(ImageReader, ReadsWhatEachImageHolds) {
  std::ifstream rows(TAVREL_IMAGE_TEST_DATA "/images.txt");
  ASSERT_TRUE(rows);
  int count = 0;
  for (std::string row; std::getline(rows, row);) {
    if (row.empty() || row[0] == '#') continue;
    std::istringstream fields(row);
    std::string what, spec, patch, expected;
    std::getline(fields, what, '\t');
    std::getline(fields, spec, '\t');
    std::getline(fields, patch, '\t');
    std::getline(fields, expected, '\t');
    std::string image = BuildImage(ParseImageSpec(spec));
    std::istringstream patches(patch);
    for (std::string one; patches >> one;) {
      const std::size_t equals = one.find('=');
      std::size_t at = std::stoul(one.substr(0, equals), nullptr, 16);
      if (equals == std::string::npos) {
        image.resize(at);  // a bare offset cuts the file there
        continue;
      }
      for (std::size_t i = equals + 1; i + 1 < one.size(); i += 2, ++at)
        image.at(at) = static_cast<char>(std::stoul(one.substr(i, 2), nullptr, 16));
    }
    EXPECT_EQ(Summary(image), expected) << what;
    ++count;
  }
  EXPECT_GT(count, 10);
}

// A file cut anywhere is read as far as it goes, never past its end (the sanitizers watch).
TEST(ImageReader, EveryCutOfAnImageIsReadWithinIt) {
  const std::string image = BuildImage(ParseImageSpec(
      "import=a.dll delay=b.dll export=DllRegisterServer version=1.2.3.4"));
  const std::string whole = Summary(image);
  for (std::size_t size = 0; size < image.size(); ++size) {
    EXPECT_NE(Summary(image.substr(0, size)), whole) << size;
  }
}

}  // namespace
}  // namespace tavrel
