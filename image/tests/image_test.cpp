#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "image/pe_names.h"
#include "image/tests/image_builder.h"
#include "image/version_resource.h"

namespace tavrel {
namespace {

// What the reader makes of an image, in the words of images.txt.
std::string Summary(const std::string& bytes) {
  const MemoryBytes file(bytes);
  const std::optional<PeHeaders> headers = ReadPeHeaders(file);
  if (!headers) return "unreadable";
  std::ostringstream text;
  text << std::hex << headers->machine << (headers->IsDll() ? " dll" : " exe");
  const auto names = {std::pair{" imports=", ReadImportNames(file, *headers)},
                      {" delay=", ReadDelayImportNames(file, *headers)},
                      {" exports=", ReadExportNames(file, *headers)}};
  for (const auto& [title, list] : names) {
    std::string joined = list ? (list->empty() ? "-" : "") : "?";
    for (const std::string& name : list.value_or(std::vector<std::string>{}))
      joined += (joined.empty() ? "" : ",") + name;
    text << title << joined;
  }
  const std::optional<std::uint64_t> version = ReadFixedFileVersion(file, *headers);
  text << std::dec << " version=" << (version ? "" : "-");
  for (int shift = 48; version && shift >= 0; shift -= 16)
    text << (*version >> shift & 0xFFFF) << (shift ? "." : "");
  return text.str();
}

// Each row of images.txt: an image built from its words, patched, and what the reader makes of it.
TEST(ImageReader, ReadsWhatEachImageHolds) {
  std::ifstream rows(TAVREL_IMAGE_TEST_DATA "/images.txt");
  int count = 0;
  for (std::string row, what, words, patches, expected; std::getline(rows, row); ++count) {
    if (row.empty() || row[0] == '#') continue;
    std::istringstream fields(row);
    std::getline(std::getline(std::getline(fields, what, '\t'), words, '\t'), patches, '\t');
    std::getline(fields, expected);
    std::string image = BuildImage(words);
    std::istringstream patch(patches);
    for (std::string one; patch >> one;) {  // OFFSET=BYTES writes, a bare OFFSET cuts
      std::size_t at = std::stoul(one, nullptr, 16);
      if (one.find('=') == std::string::npos) image.resize(at);
      for (std::size_t i = one.find('=') + 1; i && i + 1 < one.size(); i += 2)
        image.at(at++) = static_cast<char>(std::stoul(one.substr(i, 2), nullptr, 16));
    }
    EXPECT_EQ(Summary(image), expected) << what;
  }
  EXPECT_GT(count, 30);
}

// A file cut anywhere is read as far as it goes, never past its end (the sanitizers watch).
TEST(ImageReader, EveryCutOfAnImageIsReadWithinIt) {
  const std::string image =
      BuildImage("import=a.dll delay=b.dll export=DllRegisterServer version=1.2.3.4");
  for (std::size_t size = 0; size < image.size(); ++size) {
    EXPECT_NE(Summary(image.substr(0, size)), Summary(image)) << size;
  }
}

}  // namespace
}  // namespace tavrel
