#pragma once

#include <random>

#include "tests/faults/scenario.h"

namespace tavrel::faults {

// A description of up to six entries over a disk of sources and older, newer and equal
// destinations, with support-library answers, and no disturbance yet.
Scenario RandomScenario(std::mt19937& random);

}  // namespace tavrel::faults
