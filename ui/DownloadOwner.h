#pragma once

#include <cstddef>

/// What the download connection tells the one who created it.
class DownloadOwner {
public:
    /// Bytes from the device, in the order they came.
    virtual void OnDownloadReceived(const char* data, std::size_t count) = 0;
    /// The device ended the connection. The owner forgets the connection and deletes it;
    /// the connection touches nothing of itself afterwards.
    virtual void OnDownloadClosed() = 0;
    /// The asynchronous connect reported an error.
    virtual void OnDownloadConnectFailed(int error) = 0;
    /// A failed socket call; format carries one %d for the socket error number.
    virtual void ReportFailure(const char* format, int error) = 0;

protected:
    ~DownloadOwner() = default;
};
