#pragma once
// Where the device servers listen, fixed in their firmware: every program that talks to them
// uses these.

// Search and save requests go to this UDP port, from this port, and the replies come back to it.
inline constexpr unsigned kDeviceUdpPort = 27700;
// The requests' destination: the limited broadcast.
inline constexpr char kLimitedBroadcast[] = "255.255.255.255";
// The firmware download's TCP port.
inline constexpr unsigned kDeviceDownloadPort = 26600;
