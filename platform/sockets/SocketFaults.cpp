#include "platform/sockets/InjectedFault.h"

#include <array>
#include <atomic>
#include <mutex>

namespace lanvista::sockets {

namespace {

struct ArmedFault {
    bool armed = false;
    int error = 0;
    int skip = 0;
    int times = 0;
};

constexpr std::size_t kCallKinds = static_cast<std::size_t>(SocketCall::Receive) + 1;

std::mutex g_faultMutex;
std::array<ArmedFault, kCallKinds> g_faults;
// Spares every call the lock while no test has armed anything.
std::atomic<bool> g_faultsArmed{false};

}  // namespace

bool Injected(SocketCall call, int& error)
{
    if (!g_faultsArmed.load(std::memory_order_acquire))
        return false;
    const std::lock_guard<std::mutex> lock(g_faultMutex);
    ArmedFault& fault = g_faults[static_cast<std::size_t>(call)];
    if (!fault.armed)
        return false;
    if (fault.skip > 0) {
        --fault.skip;
        return false;
    }
    error = fault.error;
    if (--fault.times <= 0)
        fault.armed = false;
    return true;
}

void InjectSocketFaultForTesting(const SocketFault& fault)
{
    const std::lock_guard<std::mutex> lock(g_faultMutex);
    g_faults[static_cast<std::size_t>(fault.call)] = {fault.times > 0, fault.error, fault.skip, fault.times};
    g_faultsArmed.store(true, std::memory_order_release);
}

void ClearSocketFaultsForTesting()
{
    const std::lock_guard<std::mutex> lock(g_faultMutex);
    g_faults = {};
    g_faultsArmed.store(false, std::memory_order_release);
}

}  // namespace lanvista::sockets
