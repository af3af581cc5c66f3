#pragma once
// The rules an input broke, collected instead of aborting on the first, so that a fuzz
// target and the corpus test run one set of checks: the target aborts on any finding, the
// test reports them.

#include <string>
#include <vector>

using Findings = std::vector<std::string>;

#define CHECK_RULE(findings, condition)                                                           \
    do {                                                                                          \
        if (!(condition))                                                                         \
            (findings).push_back(std::string(__FILE__) + ":" + std::to_string(__LINE__) + ": " + #condition); \
    } while (false)
