#pragma once
// The exit codes of lanvista-cli, as --help and the manual page list them.

enum ExitCode : int {
    kExitSuccess = 0,
    kExitDevice = 1,      // the device reported failure, did not answer, or kept other values
    kExitUsage = 2,       // bad command line; nothing was sent
    kExitNetwork = 3,     // the UDP port is in use or a socket could not be set up
    kExitImage = 4,       // the firmware image was refused by its name or could not be read
    kExitConnection = 5,  // the download connection was refused, timed out or closed early
    kExitOutput = 6,      // the results could not be written to stdout
};
