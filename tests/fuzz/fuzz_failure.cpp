#include "fuzz_entry.h"

#include <cstdio>
#include <cstdlib>

void fuzzFailure(const char* what) {
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}
