#pragma once

#include <span>

// Entries of the serial option boxes and the entry each shows at start.
struct OptionTable {
    std::span<const char* const> entries;
    int selectedAtStart;
};

extern const OptionTable kBaudRateTable;
extern const OptionTable kDataBitsTable;
extern const OptionTable kParityTable;
extern const OptionTable kStopBitsTable;
extern const OptionTable kFlowControlTable;
