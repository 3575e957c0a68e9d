#pragma once

// What the fuzz targets assert. A broken property aborts with the place and the condition, so that
// libFuzzer keeps the input as a crash artifact; an assert() would vanish from a release build.

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                                                \
    do {                                                                                                     \
        if (!(condition)) {                                                                                  \
            std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition);            \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (false)
