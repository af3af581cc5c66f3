#include "tests/cli/FakeDevice.h"

#include "link/Datagram.h"
#include "platform/sockets/SocketCalls.h"

using namespace lanvista::sockets;

namespace {

constexpr int kPollMs = 20;
constexpr std::uint32_t kSeed = 7;

void SendTo(SOCKET s, const std::string& reply, const sockaddr_in& to)
{
    SendBytesTo(s, reply.data(), static_cast<int>(reply.size()), 0,
                reinterpret_cast<const sockaddr*>(&to), sizeof to);
}

} // namespace

FakeDevice::FakeDevice(FakeSettings settings, FakeAnswers answers)
    : m_answers(std::move(answers)), m_settings(std::move(settings))
{
    m_socket = OpenSocket(SOCK_DGRAM);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    BindSocket(m_socket, address);
    SocketName(m_socket, address);
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { Serve(); });
}

FakeDevice::~FakeDevice()
{
    m_stop = true;
    m_thread.join();
    CloseSocket(m_socket);
}

std::vector<std::string> FakeDevice::received() const
{
    std::lock_guard lock(m_mutex);
    return m_received;
}

int FakeDevice::searchesReceived() const
{
    int count = 0;
    for (const std::string& datagram : received())
        count += ReadSearchRequest(datagram.data(), datagram.size()) ? 1 : 0;
    return count;
}

int FakeDevice::savesReceived() const
{
    int count = 0;
    for (const std::string& datagram : received())
        count += ReadSaveRequest(datagram.data(), datagram.size()) ? 1 : 0;
    return count;
}

FakeSettings FakeDevice::settings() const
{
    std::lock_guard lock(m_mutex);
    return m_settings;
}

void FakeDevice::Serve()
{
    std::string buffer(65536, '\0');
    while (!m_stop) {
        if (WaitReadyFor(m_socket, POLLIN, kPollMs) <= 0)
            continue;
        sockaddr_in from{};
        const int n = ReceiveBytes(m_socket, buffer.data(), static_cast<int>(buffer.size()), 0, true, &from);
        if (n < 0)
            continue;
        const std::string datagram = buffer.substr(0, static_cast<std::size_t>(n));
        {
            std::lock_guard lock(m_mutex);
            m_received.push_back(datagram);
        }
        Answer(datagram, from);
    }
}

void FakeDevice::Answer(const std::string& datagram, const sockaddr_in& from)
{
    std::string reply;
    if (const auto search = ReadSearchRequest(datagram.data(), datagram.size())) {
        const FakeSettings now = settings();
        if (!m_answers.search || (!search->all && search->mac12 != now.mac12))
            return;
        const std::uint32_t ip = now.dhcp ? m_answers.leaseIp.value_or(now.ip) : now.ip;
        reply = m_answers.searchReply.value_or(
            BuildSearchReply(now.mac12, ip, now.mask, now.gateway, now.port, now.dhcp, now.version, kSeed));
        if (m_answers.twinReply) {
            SendTo(m_socket, reply, from);
            reply = *m_answers.twinReply;
        }
    } else if (const auto save = ReadSaveRequest(datagram.data(), datagram.size())) {
        if (!m_answers.save || save->mac12 != settings().mac12)
            return;
        if (m_answers.ignoredSaves > 0) {
            --m_answers.ignoredSaves;
            return;
        }
        if (m_answers.applySave) {
            std::lock_guard lock(m_mutex);
            m_settings.ip = save->ip;
            m_settings.mask = save->mask;
            m_settings.gateway = save->gateway;
            m_settings.port = save->port;
            m_settings.dhcp = save->dhcp;
        }
        reply = BuildSaveReply(kSeed);
    } else {
        return;
    }
    SendTo(m_socket, reply, from);
}
