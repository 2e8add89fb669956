#pragma once

#include <cstdint>
#include <span>

#include "tests/faults/scenario.h"

namespace tavrel::faults {

// Any bytes make a scenario, so that a fuzzer's inputs reach every part of a run:
//   byte 0: bit 0 no description file, bit 1 a hidden one, bits 2-4 RegistDll, CompareVersion and
//           CopyFileDateTime cannot be reached;
//   byte 1: the disturbance: below 11 a failing file-system step of that kind, 11 a stop, else
//           none; byte 2: the step's call or the pump it lands on, counted from 1;
//   byte 3: which destinations fail to register, one bit for each of eight;
//   byte 4: the number of files (up to 8), then 5 bytes for each: its place, its size (2 bytes),
//           its attributes and the seed of its bytes;
//   the rest: the description, one line for each of Copy1, Copy2, ... (up to 64).
Scenario ScenarioFromBytes(std::span<const std::uint8_t> data);

}  // namespace tavrel::faults
