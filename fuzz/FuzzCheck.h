#pragma once
// A broken invariant in a fuzz target: abort, so that libFuzzer keeps the input.

#include "fuzz/Findings.h"

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                        \
    do {                                                                             \
        if (!(condition)) {                                                          \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                            \
        }                                                                            \
    } while (false)

// Prints every rule the input broke and aborts when there is any.
inline void AbortOnFindings(const Findings& findings)
{
    for (const std::string& finding : findings)
        std::fprintf(stderr, "check failed: %s\n", finding.c_str());
    if (!findings.empty())
        std::abort();
}
