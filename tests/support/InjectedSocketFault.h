#pragma once

#include "platform/sockets/SocketFaults.h"

/// Arms a fault of the socket layer for a scope; at its end every fault is disarmed, so a
/// fault a test did not use up cannot reach the next test.
class InjectedSocketFault {
public:
    explicit InjectedSocketFault(const lanvista::sockets::SocketFault& fault)
    {
        lanvista::sockets::InjectSocketFaultForTesting(fault);
    }
    ~InjectedSocketFault() { lanvista::sockets::ClearSocketFaultsForTesting(); }

    InjectedSocketFault(const InjectedSocketFault&) = delete;
    InjectedSocketFault& operator=(const InjectedSocketFault&) = delete;
};
