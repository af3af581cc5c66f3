#pragma once

struct DeviceRecord;
struct NetworkSettings;

/// What the UDP endpoint tells the one who created it, in the order it happens.
class UdpEndpointOwner {
public:
    /// Where requests go.
    virtual const NetworkSettings& Network() const = 0;
    /// A verified search reply.
    virtual void OnSearchReply(const DeviceRecord& record) = 0;
    /// A verified save reply.
    virtual void OnSaveReply() = 0;
    /// A failed socket call; format carries one %d for the socket error number.
    virtual void ReportFailure(const char* format, int error) = 0;

protected:
    ~UdpEndpointOwner() = default;
};
