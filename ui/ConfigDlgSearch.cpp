// Search: a fresh endpoint and one search request for all devices or the one typed in.
#include "ui/CConfigDlg.h"

#include <array>
#include <new>
#include <optional>

#include "ui/CUdpAsySk.h"
#include "link/Datagram.h"
#include "platform/GetTickCount.h"
#include "platform/toolkit/MessageBox.h"
#include "platform/toolkit/SingleByteText.h"

namespace {

constexpr long kAllNotifications = FD_READ | FD_WRITE | FD_OOB | FD_ACCEPT | FD_CONNECT | FD_CLOSE;

// Room for a burst of replies from a whole segment; the system caps it at what an
// unprivileged process may have.
constexpr int kReceiveBufferBytes = 4 * 1024 * 1024;

// What made an endpoint's set-up fail: the message and the socket error number of the call.
struct SetUpFailure {
    const char* format = nullptr;
    int error = 0;
};

// Creates, binds and enables broadcast on the endpoint; a failure names the call that failed.
std::optional<SetUpFailure> SetUpEndpoint(CUdpAsySk& endpoint, UINT localPort)
{
    if (!endpoint.Create(localPort, SOCK_DGRAM, kAllNotifications, nullptr))
        return SetUpFailure{"Fail to create UDP socket: %d! Close and restart app.", WSAGetLastError()};

    const int broadcast = 1;
    if (!endpoint.SetSockOpt(SO_BROADCAST, &broadcast, sizeof broadcast, SOL_SOCKET))
        return SetUpFailure{"SetSockOpt failed to set SO_BROADCAST: %d", WSAGetLastError()};

    int readBack = 0;
    int length = sizeof readBack;
    if (!endpoint.GetSockOpt(SO_BROADCAST, &readBack, &length, SOL_SOCKET) && readBack == 0)
        return SetUpFailure{"GetSockOpt failed to get SO_BROADCAST: %d", WSAGetLastError()};

    // Best effort: a smaller buffer only means that replies of a large burst may be lost.
    endpoint.SetSockOpt(SO_RCVBUF, &kReceiveBufferBytes, sizeof kReceiveBufferBytes, SOL_SOCKET);
    return std::nullopt;
}

}  // namespace

void CConfigDlg::OnSearch()
{
    if (m_pUdpEndpoint)
        CloseUdpEndpoint();

    // One datagram byte per character the boxes hold.
    const std::array<std::string, 6> macStrings{SingleByteText(m_strMac1), SingleByteText(m_strMac2),
                                                SingleByteText(m_strMac3), SingleByteText(m_strMac4),
                                                SingleByteText(m_strMac5), SingleByteText(m_strMac6)};
    m_strOutgoing = BuildSearchRequest(macStrings, GetTickCount());

    m_pUdpEndpoint = new (std::nothrow) CUdpAsySk(this);
    if (!m_pUdpEndpoint) {
        AfxMessageBox("Fail to allocate UDP socket! Close and restart app.");
        return;
    }
    m_pUdpEndpoint->m_strSendText.clear();
    m_pUdpEndpoint->m_nSentCount = 0;
    m_pUdpEndpoint->m_nSendLength = 0;

    if (const auto failure = SetUpEndpoint(*m_pUdpEndpoint, m_network.localUdpPort)) {
        delete m_pUdpEndpoint;
        m_pUdpEndpoint = nullptr;
        ReportFailure(failure->format, failure->error);
        return;
    }

    m_pUdpEndpoint->m_nSentCount = 0;
    m_pUdpEndpoint->m_strSendText = m_strOutgoing;
    m_pUdpEndpoint->m_nSendLength = static_cast<int>(kDatagramSize);
    m_pUdpEndpoint->m_nSendMode = 0;
    m_pUdpEndpoint->SendPending();
    m_strOutgoing.clear();

    UpdateData(FALSE);
}

void CConfigDlg::CloseUdpEndpoint()
{
    if (!m_pUdpEndpoint)
        return;

    TearDownUdpEndpoint();
    EmptyDeviceLists();
}

void CConfigDlg::TearDownUdpEndpoint()
{
    m_strCurrentRecord.clear();
    m_strOutgoing.clear();
    UpdateData(FALSE);

    m_pUdpEndpoint->Close();
    delete m_pUdpEndpoint;
    m_pUdpEndpoint = nullptr;

    m_nUseDhcp = 0;
}

void CConfigDlg::EmptyDeviceLists()
{
    for (int i = m_ctlDeviceList.GetCount() - 1; i >= 0; --i)
        m_ctlDeviceList.DeleteString(static_cast<UINT>(i));
    for (int i = m_ctlRecordList.GetCount() - 1; i >= 0; --i)
        m_ctlRecordList.DeleteString(static_cast<UINT>(i));
}
