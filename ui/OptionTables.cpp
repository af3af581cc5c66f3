#include "ui/OptionTables.h"

namespace {

constexpr const char* kBaudRates[] = {"4800", "9600", "19200", "38400", "57600", "115200", "230400", "460800", "921600"};
// Nine, not seven: the devices offer 8 or 9 data bits.
constexpr const char* kDataBits[] = {"8", "9"};
constexpr const char* kParities[] = {"None", "Odd", "Even"};
constexpr const char* kStopBits[] = {"1", "2"};
constexpr const char* kFlowControls[] = {"None", "RTS/CTS"};

}  // namespace

const OptionTable kBaudRateTable{kBaudRates, 5};
const OptionTable kDataBitsTable{kDataBits, 0};
const OptionTable kParityTable{kParities, 0};
const OptionTable kStopBitsTable{kStopBits, 0};
const OptionTable kFlowControlTable{kFlowControls, 1};
