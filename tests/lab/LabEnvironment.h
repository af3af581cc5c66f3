#pragma once
// What lab/lab.sh tells the command it runs: the PC's own address and the simulated devices
// on the other side of the link.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct LabDevice {
    std::string macText;  // as the device list shows it: "02:4C:56:00:00:01"
    std::uint32_t ip;     // first octet in the most significant byte
};

// An adapter of the PC: its interface name and address.
struct LabAdapter {
    std::string name;
    std::uint32_t ip;
};

struct LabEnvironment {
    std::uint32_t pcIp = 0;
    std::vector<LabDevice> devices;  // the main simulator's, in MAC order
    LabDevice nakDevice;             // answers every download with a NAK
    std::vector<LabDevice> secondDevices;  // on the second segment, when the lab has one
    std::vector<LabAdapter> adapters;      // the PC's adapters that are up
    std::vector<LabAdapter> downAdapters;  // those that start down
    std::string defaultAdapter;            // the adapter of the default route

    // Everything that answers a search for all devices, sorted.
    std::vector<std::string> AllMacTexts() const;
};

// The lab's description from the environment; std::nullopt and the reason when a variable
// is missing or malformed (the test was not started through the lab).
std::optional<LabEnvironment> ReadLabEnvironment(std::string& error);

// "a.b.c.d" of an address held first octet first.
std::string DottedAddress(std::uint32_t address);
