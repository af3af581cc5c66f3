// Firmware download: Start Update, the image send and the end of a download.
#include "ui/CConfigDlg.h"

#include <algorithm>
#include <cstdio>
#include <new>

#include "platform/GetTickCount.h"
#include "platform/toolkit/MessageBox.h"
#include "ui/CUpdateSocket.h"
#include "update/DownloadHeader.h"

void CConfigDlg::OnStartUpdate()
{
    UpdateData(TRUE);

    if (m_ctlUpdateIp.IsBlank()) {
        AfxMessageBox("Please Type the IP Address");
        return;
    }
    DWORD address = 0;
    m_ctlUpdateIp.GetAddress(address);
    char dotted[16];
    std::snprintf(dotted, sizeof dotted, "%d.%d.%d.%d", static_cast<int>((address >> 24) & 0xFF),
                  static_cast<int>((address >> 16) & 0xFF), static_cast<int>((address >> 8) & 0xFF),
                  static_cast<int>(address & 0xFF));
    m_strUpdateAddress = dotted;

    if (m_pDownload != nullptr)
        return;

    m_pDownload = new (std::nothrow) CUpdateSocket(this);
    if (m_pDownload == nullptr) {
        AfxMessageBox("Failed to allocate client socket! Close and restart app.");
        return;
    }
    if (!m_pDownload->Create()) {
        std::snprintf(m_szMsg, sizeof m_szMsg, "Failed to create client socket: %d! Close and restart app.",
                      WSAGetLastError());
        AfxMessageBox(m_szMsg);
        return;
    }
    if (!m_pDownload->Connect(m_strUpdateAddress.c_str(), m_network.downloadPort)) {
        std::snprintf(m_szMsg, sizeof m_szMsg, "Failed to connect: %d.", WSAGetLastError());
        AfxMessageBox(m_szMsg);
        m_pDownload->Close();
        delete m_pDownload;
        m_pDownload = nullptr;
        return;
    }

    if (m_pUdpEndpoint != nullptr)
        CloseUdpEndpoint();

    const unsigned char* image = m_nImageLength != 0 ? m_firmwareImage.data() : nullptr;
    const auto header = BuildDownloadHeader(image, m_nImageLength, GetTickCount());

    const auto textEnd = std::find(m_firmwareImage.begin(), m_firmwareImage.end(), 0);
    m_strTrace.assign(m_firmwareImage.begin(), textEnd);
    m_strTrace += '\n';

    if (m_pDownload->Send(header.data(), static_cast<int>(header.size())) == SOCKET_ERROR) {
        std::snprintf(m_szMsg, sizeof m_szMsg, "Failed to send on client socket: %d", WSAGetLastError());
        m_pDownload->Close();
        delete m_pDownload;
        m_pDownload = nullptr;
        AfxMessageBox(m_szMsg);
        return;
    }
    m_pDownload->m_announcedImage.Announce();

    UpdateData(FALSE);
}

void CConfigDlg::SendImage()
{
    UpdateData(TRUE);

    // Only the image the header announced may go out, even if another file was loaded since.
    const std::vector<unsigned char>& image =
        m_pDownload != nullptr ? m_pDownload->m_announcedImage.ToSend(m_firmwareImage) : m_firmwareImage;
    if (image.empty()) {
        AfxMessageBox("Please Type the Strings to Send");
        return;
    }
    if (m_pDownload == nullptr)
        return;

    if (m_pDownload->Send(image.data(), static_cast<int>(image.size())) == SOCKET_ERROR) {
        std::snprintf(m_szMsg, sizeof m_szMsg, "Failed to send on client socket: %d", WSAGetLastError());
        m_pDownload->Close();
        delete m_pDownload;
        m_pDownload = nullptr;
        AfxMessageBox(m_szMsg);
        return;
    }

    if (m_pDownload->m_announcedImage.MarkSent()) {
        std::vector<unsigned char>().swap(m_firmwareImage);
        m_nImageLength = 0;
    }
    UpdateData(FALSE);
}

void CConfigDlg::CloseDownload()
{
    if (m_pDownload == nullptr)
        return;
    m_pDownload->ShutDown(SD_SEND);
    m_pDownload->Close();
    delete m_pDownload;
    m_pDownload = nullptr;

    m_strReplyText.clear();
    UpdateData(FALSE);
}
