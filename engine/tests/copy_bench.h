#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>

#include "engine/module1.h"
#include "engine/tests/fake_platform.h"

namespace tavrel {

// One copy from C:\Setup\a.dll to C:\WINDOWS\a.dll on a fresh fake platform.
struct CopyBench {
  static constexpr char kSource[] = R"(C:\Setup\a.dll)";
  static constexpr char kDestination[] = R"(C:\WINDOWS\a.dll)";

  CopyBench() { fake.files.AddFolder(R"(C:\WINDOWS)"); }

  void AddSource(fake::FakeBytes bytes, FileTime stamp = 200) {
    fake.files.AddFile(kSource, {.bytes = std::move(bytes), .stamp = stamp});
  }
  void AddDestination(const std::string& bytes, FileTime stamp = 100) {
    fake.files.AddFile(kDestination, {.bytes = fake::FakeBytes(bytes), .stamp = stamp});
  }
  CopyResult Copy() { return engine.CopyIfNewer(kSource, kDestination); }
  std::optional<std::string> Destination() const { return fake.files.Contents(kDestination); }

  fake::FakePlatform fake;
  Module1 engine{fake.View()};
};

// Names each case of a parameterised test after its `name`.
struct NameOfCase {
  template <class Case>
  std::string operator()(const testing::TestParamInfo<Case>& named) const {
    return named.param.name;
  }
};

}  // namespace tavrel
