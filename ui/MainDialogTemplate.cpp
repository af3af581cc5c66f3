#include "ui/ResourceTemplates.h"

#include "ui/Resource.h"

#include "lanvista/Version.h"

namespace {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kButton = kChild | WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kMacEdit = kChild | WS_BORDER | WS_TABSTOP | ES_CENTER | ES_UPPERCASE | ES_AUTOHSCROLL;
constexpr DWORD kLabel = kChild | WS_GROUP | SS_LEFT;
constexpr DWORD kHiddenLabel = WS_CHILD | WS_DISABLED | WS_GROUP | SS_LEFT;
constexpr DWORD kGroup = kChild | BS_GROUPBOX;
constexpr DWORD kIpAddress = kChild | WS_TABSTOP;
constexpr DWORD kList = WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
constexpr DWORD kHiddenCombo = WS_CHILD | WS_DISABLED | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWN;

using K = ControlKind;

// Template order is also the tab order.
constexpr DialogControlTemplate kControls[] = {
    {K::PushButton, IDC_SEARCH, "searchButton", "Search", 108, 17, 62, 17, kButton, 0},
    {K::PushButton, IDC_EXIT, "exitButton", "Exit", 130, 181, 62, 17, kButton, 0},
    {K::Edit, IDC_MAC1, "mac1", "", 8, 21, 14, 14, kMacEdit, 0},
    {K::Edit, IDC_MAC2, "mac2", "", 23, 21, 14, 14, kMacEdit, 0},
    {K::Edit, IDC_MAC3, "mac3", "", 38, 21, 14, 14, kMacEdit, 0},
    {K::Edit, IDC_MAC4, "mac4", "", 53, 21, 14, 14, kMacEdit, 0},
    {K::Edit, IDC_MAC5, "mac5", "", 68, 21, 14, 14, kMacEdit, 0},
    {K::Edit, IDC_MAC6, "mac6", "", 83, 21, 14, 14, kMacEdit, 0},
    {K::ListBox, IDC_DEVICE_LIST, "deviceList", "", 8, 81, 92, 94, kChild | kList, 0},
    {K::GroupBox, IDC_STATIC, "informationGroup", "Information", 3, 52, 208, 151, kGroup, 0},
    {K::Edit, IDC_PORT, "portBox", "", 105, 161, 40, 14, kChild | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 0},
    {K::Static, IDC_IP_LABEL, "ipLabel", "IP Address", 105, 65, 36, 8, kLabel, 0},
    {K::Static, IDC_MASK_LABEL, "maskLabel", "SUBNET Mask", 105, 93, 49, 8, kLabel, 0},
    {K::Static, IDC_GATEWAY_LABEL, "gatewayLabel", "Gateway", 105, 121, 30, 8, kLabel, 0},
    {K::Static, IDC_STATIC, "portLabel", "Port", 105, 150, 14, 8, kLabel, 0},
    {K::IpAddress, IDC_IP, "ipBox", "", 105, 75, 100, 14, kIpAddress, 0},
    {K::IpAddress, IDC_MASK, "maskBox", "", 105, 103, 100, 14, kIpAddress, 0},
    {K::IpAddress, IDC_GATEWAY, "gatewayBox", "", 105, 132, 100, 14, kIpAddress, 0},
    {K::PushButton, IDC_SAVE, "saveButton", "Save", 26, 181, 62, 17, kButton, 0},
    {K::CheckBox, IDC_USE_DHCP, "dhcpBox", "Use DHCP", 155, 163, 50, 10,
     kChild | WS_DISABLED | WS_TABSTOP | BS_AUTOCHECKBOX, 0},
    {K::ListBox, IDC_RECORD_LIST, "recordList", "", 143, 148, 180, 50, WS_CHILD | WS_DISABLED | kList, 0},
    {K::GroupBox, IDC_STATIC, "serialGroup", "Serial Interface", 3, 111, 116, 92, WS_CHILD | WS_DISABLED | BS_GROUPBOX, 0},
    {K::ComboBox, IDC_BAUD_RATE, "baudRateBox", "", 67, 123, 48, 68, kHiddenCombo, 0},
    {K::ComboBox, IDC_DATA_BITS, "dataBitsBox", "", 67, 139, 48, 38, kHiddenCombo, 0},
    {K::ComboBox, IDC_PARITY, "parityBox", "", 67, 155, 48, 49, kHiddenCombo, 0},
    {K::ComboBox, IDC_STOP_BITS, "stopBitsBox", "", 67, 171, 48, 41, kHiddenCombo, 0},
    {K::ComboBox, IDC_FLOW_CONTROL, "flowControlBox", "", 67, 187, 48, 47, kHiddenCombo, 0},
    {K::Static, IDC_STATIC, "baudRateLabel", "Baud rate:", 10, 127, 49, 8, kHiddenLabel, 0},
    {K::Static, IDC_STATIC, "parityLabel", "Parity:", 10, 159, 49, 8, kHiddenLabel, 0},
    {K::Static, IDC_STATIC, "dataBitsLabel", "Data bits:", 10, 143, 49, 8, kHiddenLabel, 0},
    {K::Static, IDC_STATIC, "stopBitsLabel", "Stop bits:", 10, 175, 49, 8, kHiddenLabel, 0},
    {K::Static, IDC_STATIC, "flowControlLabel", "Flow Control:", 10, 191, 53, 8, kHiddenLabel, 0},
    {K::GroupBox, IDC_STATIC, "updateGroup", "F/W Update", 215, 52, 108, 125, kGroup, WS_EX_RIGHT},
    {K::Edit, IDC_UPDATE_FILE, "updateFileBox", "", 217, 132, 100, 14,
     kChild | ES_READONLY | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 0},
    {K::PushButton, IDC_START_UPDATE, "startUpdateButton", "Start Update", 252, 151, 65, 17, kButton, 0},
    {K::Edit, IDC_UPDATE_TRACE, "updateTraceBox", "", 211, 179, 103, 16,
     WS_CHILD | WS_DISABLED | ES_MULTILINE | WS_BORDER | WS_VSCROLL | WS_TABSTOP, 0},
    {K::PushButton, IDC_BROWSE, "browseButton", "Browse", 252, 95, 65, 17, kButton, 0},
    {K::Static, IDC_STATIC, "updateIpLabel", "IP Address", 217, 62, 41, 8, kLabel, 0},
    {K::Static, IDC_STATIC, "updateFileLabel", "Update File Name", 217, 118, 65, 8, kLabel, 0},
    {K::IpAddress, IDC_UPDATE_IP, "updateIpBox", "", 217, 75, 100, 14, kIpAddress, 0},
    {K::Static, IDC_STATIC, "versionLabel", "F/W Version:", 9, 68, 49, 8, kLabel, 0},
    {K::Edit, IDC_VERSION, "versionBox", "", 59, 65, 38, 12,
     kChild | WS_DISABLED | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 0},
    {K::PushButton, IDC_MAC_CLEAR, "macClearButton", "MAC Clear", 179, 17, 62, 17, kButton, 0},
    {K::GroupBox, IDC_STATIC, "macGroup", "MAC Address", 3, 3, 247, 43, kGroup, 0},
};

}  // namespace

const DialogTemplate kMainDialogTemplate{
    IDD_CONFIG_DIALOG,
    "Lanvista(Ver " LANVISTA_VERSION ")",
    0, 0, 326, 206,
    DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU,
    WS_EX_APPWINDOW,
    "Lucida Console", 9,
    kControls,
};
