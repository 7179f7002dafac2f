#pragma once
// Each fuzz target defines its entry under this name: LLVMFuzzerTestOneInput for libFuzzer,
// or a name of its own when the seed replay links all targets into one program.

#include <cstddef>
#include <cstdint>

#ifndef PROVERON_FUZZ_ENTRY
#define PROVERON_FUZZ_ENTRY LLVMFuzzerTestOneInput
#endif

// A finding: libFuzzer reports the abort with the input that caused it.
[[noreturn]] void fuzzFailure(const char* what);
inline void fuzzCheck(bool holds, const char* what) {
    if (!holds) fuzzFailure(what);
}
