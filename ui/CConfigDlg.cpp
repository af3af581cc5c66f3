#include "ui/CConfigDlg.h"

#include <cstdio>
#include <utility>

#include "link/Crc.h"
#include "platform/toolkit/CMenu.h"
#include "platform/toolkit/CPaintDC.h"
#include "platform/toolkit/CRect.h"
#include "platform/toolkit/CWinApp.h"
#include "platform/toolkit/DataExchange.h"
#include "platform/toolkit/MessageBox.h"
#include "platform/toolkit/ResourceTable.h"
#include "ui/CAboutDlg.h"
#include "ui/OptionTables.h"
#include "ui/Resource.h"

CConfigDlg::CConfigDlg(CWnd* pParent, NetworkSettings network)
    : CDialog(IDD_CONFIG_DIALOG, pParent), m_network(std::move(network))
{
    m_hIcon = AfxGetApp()->LoadIcon(IDR_MAINFRAME);
}

DWORD CConfigDlg::CalcCrc(const unsigned char* data, unsigned length) const
{
    return ::CalcCrc(data, length);
}

void CConfigDlg::ReportFailure(const char* format, int error)
{
    std::snprintf(m_szMsg, sizeof m_szMsg, format, error);
    AfxMessageBox(m_szMsg);
}

void CConfigDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_UPDATE_IP, m_ctlUpdateIp);
    DDX_Control(pDX, IDC_RECORD_LIST, m_ctlRecordList);
    DDX_Control(pDX, IDC_PARITY, m_ctlParity);
    DDX_Control(pDX, IDC_FLOW_CONTROL, m_ctlFlowControl);
    DDX_Control(pDX, IDC_DATA_BITS, m_ctlDataBits);
    DDX_Control(pDX, IDC_BAUD_RATE, m_ctlBaudRate);
    DDX_Control(pDX, IDC_USE_DHCP, m_ctlUseDhcp);
    DDX_Control(pDX, IDC_DEVICE_LIST, m_ctlDeviceList);
    DDX_Control(pDX, IDC_GATEWAY, m_ctlGateway);
    DDX_Control(pDX, IDC_MASK, m_ctlMask);
    DDX_Control(pDX, IDC_IP, m_ctlIp);
    DDX_Text(pDX, IDC_MAC1, m_strMac1);
    DDV_MaxChars(pDX, m_strMac1, 2);
    DDX_Text(pDX, IDC_MAC2, m_strMac2);
    DDV_MaxChars(pDX, m_strMac2, 2);
    DDX_Text(pDX, IDC_MAC3, m_strMac3);
    DDV_MaxChars(pDX, m_strMac3, 2);
    DDX_Text(pDX, IDC_MAC4, m_strMac4);
    DDV_MaxChars(pDX, m_strMac4, 2);
    DDX_Text(pDX, IDC_MAC5, m_strMac5);
    DDV_MaxChars(pDX, m_strMac5, 2);
    DDX_Text(pDX, IDC_MAC6, m_strMac6);
    DDV_MaxChars(pDX, m_strMac6, 2);
    DDX_Text(pDX, IDC_PORT, m_nPort);
    DDV_MinMaxUInt(pDX, m_nPort, 1024, 50000);
    DDX_Check(pDX, IDC_USE_DHCP, m_nUseDhcp);
    DDX_Control(pDX, IDC_STOP_BITS, m_ctlStopBits);
    DDX_Text(pDX, IDC_UPDATE_FILE, m_strUpdateFile);
    DDX_Text(pDX, IDC_UPDATE_TRACE, m_strTrace);
    DDX_Text(pDX, IDC_VERSION, m_strVersion);
}

BEGIN_MESSAGE_MAP(CConfigDlg, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_WM_DESTROY()
    ON_BN_CLICKED(IDC_SEARCH, &CConfigDlg::OnSearch)
    ON_EN_UPDATE(IDC_MAC1, &CConfigDlg::OnUpdateMac1)
    ON_EN_UPDATE(IDC_MAC2, &CConfigDlg::OnUpdateMac2)
    ON_EN_UPDATE(IDC_MAC3, &CConfigDlg::OnUpdateMac3)
    ON_EN_UPDATE(IDC_MAC4, &CConfigDlg::OnUpdateMac4)
    ON_EN_UPDATE(IDC_MAC5, &CConfigDlg::OnUpdateMac5)
    ON_EN_UPDATE(IDC_MAC6, &CConfigDlg::OnUpdateMac6)
    ON_BN_CLICKED(IDC_SAVE, &CConfigDlg::OnSave)
    ON_BN_CLICKED(IDC_USE_DHCP, &CConfigDlg::OnUseDhcp)
    ON_LBN_SELCHANGE(IDC_DEVICE_LIST, &CConfigDlg::OnSelchangeDeviceList)
    ON_BN_CLICKED(IDC_START_UPDATE, &CConfigDlg::OnStartUpdate)
    ON_BN_CLICKED(IDC_BROWSE, &CConfigDlg::OnBrowse)
    ON_BN_CLICKED(IDC_EXIT, &CConfigDlg::OnCancel)
    ON_BN_CLICKED(IDC_MAC_CLEAR, &CConfigDlg::OnMacClear)
END_MESSAGE_MAP()

BOOL CConfigDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    const std::string aboutMenu = ResourceTable::LoadString(IDS_ABOUTBOX);
    if (!aboutMenu.empty()) {
        if (CMenu* sysMenu = GetSystemMenu(FALSE)) {
            sysMenu->AppendMenu(MF_SEPARATOR);
            sysMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, aboutMenu.c_str());
        }
    }

    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);

    m_ctlIp.ClearAddress();
    m_ctlMask.ClearAddress();
    m_ctlGateway.ClearAddress();
    m_ctlUpdateIp.ClearAddress();

    EmptyDeviceLists();

    const struct {
        CComboBox& box;
        const OptionTable& table;
    } options[] = {
        {m_ctlBaudRate, kBaudRateTable},
        {m_ctlDataBits, kDataBitsTable},
        {m_ctlParity, kParityTable},
        {m_ctlStopBits, kStopBitsTable},
        {m_ctlFlowControl, kFlowControlTable},
    };
    for (const auto& option : options)
        for (const char* entry : option.table.entries)
            option.box.AddString(entry);
    for (const auto& option : options)
        option.box.SetCurSel(option.table.selectedAtStart);

    return TRUE;
}

void CConfigDlg::OnSysCommand(UINT nID, LPARAM lParam)
{
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg dlgAbout;
        dlgAbout.DoModal();
    } else {
        CDialog::OnSysCommand(nID, lParam);
    }
}

void CConfigDlg::OnPaint()
{
    if (IsIconic()) {
        CPaintDC dc(this);
        SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);

        const int cxIcon = GetSystemMetrics(SM_CXICON);
        const int cyIcon = GetSystemMetrics(SM_CYICON);
        CRect rect;
        GetClientRect(&rect);
        const int x = (rect.Width() - cxIcon + 1) / 2;
        const int y = (rect.Height() - cyIcon + 1) / 2;
        dc.DrawIcon(x, y, m_hIcon);
    } else {
        CDialog::OnPaint();
    }
}

HCURSOR CConfigDlg::OnQueryDragIcon()
{
    return m_hIcon;
}
