#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/toolkit/CButton.h"
#include "platform/toolkit/CComboBox.h"
#include "platform/toolkit/CDialog.h"
#include "platform/toolkit/CIPAddressCtrl.h"
#include "platform/toolkit/CListBox.h"
#include "ui/DownloadOwner.h"
#include "link/NetworkSettings.h"
#include "ui/UdpEndpointOwner.h"
#include "update/FirmwareImage.h"

class CUdpAsySk;
class CUpdateSocket;
struct DeviceRecord;

// The main dialog: discovery, configuration and firmware update of the device servers.
// It owns the UDP endpoint and the download connection, which report back through the
// two owner interfaces. The public members follow the declaration order of the dialog's
// definition; the private ones after them are this program's own.
class CConfigDlg : public CDialog, public UdpEndpointOwner, public DownloadOwner {
public:
    explicit CConfigDlg(CWnd* pParent = nullptr, NetworkSettings network = {});

    // Checksum of datagrams and downloads; kept on the dialog because the endpoint and the
    // download reach it through their owner.
    DWORD CalcCrc(const unsigned char* data, unsigned length) const;

    // What the UDP endpoint reports.
    void OnSearchReply(const DeviceRecord& record) override;
    void OnSaveReply() override;

    // What the download connection reports.
    void OnDownloadReceived(const char* data, std::size_t count) override;
    void OnDownloadClosed() override;
    void OnDownloadConnectFailed(int error) override;

    // Formats the failed call's message with its socket error number into the message
    // buffer and shows it.
    void ReportFailure(const char* format, int error) override;

    void ShowDeviceRecord(bool addToList);
    void CloseUdpEndpoint();
    void SendImage();
    void CloseDownload();

    const NetworkSettings& Network() const override { return m_network; }

    std::string m_strEditedRecord;
    std::uint32_t m_nImageLength = 0;
    std::string m_strCurrentRecord;
    std::string m_strOutgoing;
    FirmwareImage m_firmwareImage;
    std::string m_strReplyText;
    std::string m_strUpdateAddress;
    char m_szMsg[256];
    CUdpAsySk* m_pUdpEndpoint = nullptr;
    CUpdateSocket* m_pDownload = nullptr;
    CIPAddressCtrl m_ctlUpdateIp;
    CListBox m_ctlRecordList;
    CComboBox m_ctlParity;
    CComboBox m_ctlFlowControl;
    CComboBox m_ctlDataBits;
    CComboBox m_ctlBaudRate;
    CButton m_ctlUseDhcp;
    CListBox m_ctlDeviceList;
    CIPAddressCtrl m_ctlGateway;
    CIPAddressCtrl m_ctlMask;
    CIPAddressCtrl m_ctlIp;
    std::string m_strMac1;
    std::string m_strMac2;
    std::string m_strMac3;
    std::string m_strMac4;
    std::string m_strMac5;
    std::string m_strMac6;
    UINT m_nPort = 9100;
    int m_nUseDhcp = 0;
    CComboBox m_ctlStopBits;
    std::string m_strUpdateFile;
    std::string m_strTrace;
    std::string m_strVersion;
    HICON m_hIcon;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void OnCancel() override;

    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnDestroy();

    void OnSearch();
    void OnUpdateMac1();
    void OnUpdateMac2();
    void OnUpdateMac3();
    void OnUpdateMac4();
    void OnUpdateMac5();
    void OnUpdateMac6();
    void OnSave();
    void OnUseDhcp();
    void OnSelchangeDeviceList();
    void OnStartUpdate();
    void OnBrowse();
    void OnMacClear();

    DECLARE_MESSAGE_MAP()

private:
    void OnUpdateMac(int box);
    void ApplyAddressLock(bool dhcpOn);
    // CloseUdpEndpoint's steps before it empties the lists; Exit keeps the lists.
    void TearDownUdpEndpoint();
    // Deletes every entry, last first, of the device list and then of the record list.
    void EmptyDeviceLists();

    // Closes and deletes the download connection.
    void DropDownload();

    NetworkSettings m_network;

    // Set while SendImage answers an image request. A request that arrives meanwhile,
    // inside its message box, is not answered again.
    bool m_bAnsweringImageRequest = false;

    // Puts the edited record in the place of the saved device's pair after a save reply.
    void ReplaceSavedDevice();

    static constexpr int kMaxWaitingSaveReplies = 8;
    bool m_bSaveCompleteOpen = false;
    int m_nWaitingSaveReplies = 0;
};
