#include "description/setup_description.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <utility>

namespace tavrel {
namespace {

// Holds one value and remembers how it was asked for.
class OneValueProfile : public Profile {
 public:
  explicit OneValueProfile(std::string value) : value_(std::move(value)) {}

  std::string GetString(const std::string& section, const std::string& key, const std::string& path,
                        std::size_t buffer_bytes) override {
    asked_ = section + "|" + key + "|" + path + "|" + std::to_string(buffer_bytes);
    return value_;
  }

  const std::string& asked() const { return asked_; }

 private:
  std::string value_;
  std::string asked_;
};

TEST(ReadSetupValue, AsksForTheKeyInTheDescriptionThroughA1024ByteBuffer) {
  OneValueProfile profile("a.dll, b.dll ,$SYSTEM,REGIST");
  EXPECT_EQ(ReadSetupValue(profile, "C:\\Setup\\qxSetup.ini", "BOOT", "Copy12"),
            "a.dll, b.dll ,$SYSTEM,REGIST");
  EXPECT_EQ(profile.asked(), "BOOT|Copy12|C:\\Setup\\qxSetup.ini|1024");
}

}  // namespace
}  // namespace tavrel
