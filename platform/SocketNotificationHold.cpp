#include "platform/SocketNotificationHold.h"

#include "platform/CAsyncSocketPrivate.h"

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
