#include "tests/devsim/ReplyFields.h"

#include "link/Datagram.h"

ReplyFields ReadReplyFields(const std::string& reply)
{
    ReplyFields fields;
    fields.mac12 = reply.substr(kMacOffset, 12);
    fields.ip = AddressFieldOf(reply, kIpOffset).value_or(0);
    fields.mask = AddressFieldOf(reply, kMaskOffset).value_or(0);
    fields.gateway = AddressFieldOf(reply, kGatewayOffset).value_or(0);
    fields.port = PortFieldOf(reply).value_or(0);
    fields.dhcp = DhcpFlagOf(reply).value_or(false);
    fields.version = VersionOf(reply).value_or(std::string());
    return fields;
}
