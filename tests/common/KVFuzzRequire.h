// What the libFuzzer targets share.
//   Require   ends the run at a broken rule, so that libFuzzer keeps the input that broke it
#pragma once

#include <cstdlib>

inline void Require(bool condition) {
    if (!condition) std::abort();
}
