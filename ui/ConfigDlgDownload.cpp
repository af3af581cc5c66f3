// Firmware download: Start Update, the image send and the end of a download.
#include "ui/CConfigDlg.h"

#include <algorithm>
#include <cstdio>
#include <new>

#include "platform/GetTickCount.h"
#include "platform/toolkit/MessageBox.h"
#include "ui/CUpdateSocket.h"

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
    // The connection object stays when its socket cannot be made, so every later Start
    // Update returns at the check above until the program is restarted, as the message says.
    if (!m_pDownload->Create()) {
        ReportFailure("Failed to create client socket: %d! Close and restart app.", WSAGetLastError());
        return;
    }
    if (!m_pDownload->Connect(m_strUpdateAddress.c_str(), m_network.downloadPort)) {
        ReportFailure("Failed to connect: %d.", WSAGetLastError());
        DropDownload();
        return;
    }

    if (m_pUdpEndpoint != nullptr)
        CloseUdpEndpoint();

    const auto header = FirmwareDownload::Header(m_firmwareImage, GetTickCount());

    const auto textEnd = std::find(m_firmwareImage.begin(), m_firmwareImage.end(), 0);
    m_strTrace.assign(m_firmwareImage.begin(), textEnd);
    m_strTrace += '\n';

    if (m_pDownload->Send(header.data(), static_cast<int>(header.size())) == SOCKET_ERROR) {
        const int error = WSAGetLastError();
        DropDownload();
        ReportFailure("Failed to send on client socket: %d", error);
        return;
    }
    m_pDownload->m_download.Announce();

    UpdateData(FALSE);
}

void CConfigDlg::SendImage()
{
    UpdateData(TRUE);

    // Only the image the header announced may go out, even if another file was loaded since.
    const FirmwareImage& image =
        m_pDownload != nullptr ? m_pDownload->m_download.ImageToSend(m_firmwareImage) : m_firmwareImage;
    if (image.empty()) {
        AfxMessageBox("Please Type the Strings to Send");
        return;
    }
    if (m_pDownload == nullptr)
        return;

    if (m_pDownload->Send(image.data(), static_cast<int>(image.size())) == SOCKET_ERROR) {
        const int error = WSAGetLastError();
        DropDownload();
        ReportFailure("Failed to send on client socket: %d", error);
        return;
    }

    if (m_pDownload->m_download.MarkImageSent()) {
        FirmwareImage().swap(m_firmwareImage);
        m_nImageLength = 0;
    }
    UpdateData(FALSE);
}

void CConfigDlg::CloseDownload()
{
    if (m_pDownload == nullptr)
        return;
    m_pDownload->ShutDown(SD_SEND);
    DropDownload();

    m_strReplyText.clear();
    UpdateData(FALSE);
}

void CConfigDlg::DropDownload()
{
    m_pDownload->Close();
    delete m_pDownload;
    m_pDownload = nullptr;
}

void CConfigDlg::OnDownloadReceived(const char* data, std::size_t count)
{
    const StatusAction action = m_pDownload->m_download.Receive(m_strReplyText, data, count);
    UpdateData(FALSE);

    // SendImage and CloseDownload may end the connection (CloseDownload always does):
    // after they return, nothing of it is touched.
    switch (action) {
    case StatusAction::SendImage:
        // A device repeating its request while the answer's message box is open would
        // otherwise stack one box on another until the stack runs out.
        if (m_bAnsweringImageRequest)
            break;
        m_bAnsweringImageRequest = true;
        SendImage();
        m_bAnsweringImageRequest = false;
        break;
    case StatusAction::Success:
        CloseDownload();
        AfxMessageBox("Success Program Download!");
        break;
    case StatusAction::Failure:
        CloseDownload();
        AfxMessageBox("Fail Program Download!");
        break;
    case StatusAction::None:
        break;
    }
}

void CConfigDlg::OnDownloadClosed()
{
    CUpdateSocket* const connection = m_pDownload;
    m_pDownload = nullptr;
    m_strReplyText.clear();
    UpdateData(FALSE);
    delete connection;
}

void CConfigDlg::OnDownloadConnectFailed(int error)
{
    ReportFailure("OnConnect error: %d", error);
    AfxMessageBox("Please close the application");
}
