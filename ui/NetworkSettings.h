#pragma once

#include <string>

#include "link/DevicePorts.h"

// Where the dialog talks to the devices. Only tests change these, to run on loopback ports.
struct NetworkSettings {
    unsigned localUdpPort = kDeviceUdpPort;
    std::string udpDestination = kLimitedBroadcast;
    unsigned remoteUdpPort = kDeviceUdpPort;
    unsigned downloadPort = kDeviceDownloadPort;
};
