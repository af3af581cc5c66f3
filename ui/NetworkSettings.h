#pragma once

#include <string>

// Where the dialog talks to the devices. Only tests change these, to run on loopback ports.
struct NetworkSettings {
    unsigned localUdpPort = 27700;
    std::string udpDestination = "255.255.255.255";
    unsigned remoteUdpPort = 27700;
    unsigned downloadPort = 26600;
};
