#pragma once

#include <string>

#include "link/DevicePorts.h"

// Where a program talks to the devices: the devices' own ports and the limited broadcast.
// Only tests change these, to run on loopback ports; never a user option.
struct NetworkSettings {
    unsigned localUdpPort = kDeviceUdpPort;
    std::string udpDestination = kLimitedBroadcast;
    unsigned remoteUdpPort = kDeviceUdpPort;
    unsigned downloadPort = kDeviceDownloadPort;
};
