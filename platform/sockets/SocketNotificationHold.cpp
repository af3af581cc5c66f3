#include "platform/sockets/SocketNotificationHold.h"

#include "platform/sockets/CAsyncSocketPrivate.h"

SocketNotificationHold::SocketNotificationHold()
{
    CAsyncSocketPrivate::BeginHold();
}

SocketNotificationHold::~SocketNotificationHold()
{
    CAsyncSocketPrivate::EndHold();
}

bool SocketNotificationHold::IsActive()
{
    return CAsyncSocketPrivate::HoldActive();
}
