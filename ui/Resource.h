#pragma once

// Resource identifiers of the dialogs, strings and icon.
inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr unsigned IDS_ABOUTBOX = 101;
inline constexpr int IDD_CONFIG_DIALOG = 102;
inline constexpr unsigned IDP_SOCKETS_INIT_FAILED = 103;

// System-menu command of the About item; the low four bits stay clear for the platform.
inline constexpr unsigned IDM_ABOUTBOX = 0x0010;

inline constexpr int IDC_SEARCH = 1003;
inline constexpr int IDC_EXIT = 1005;
inline constexpr int IDC_MAC1 = 1011;
inline constexpr int IDC_MAC2 = 1012;
inline constexpr int IDC_MAC3 = 1013;
inline constexpr int IDC_MAC4 = 1014;
inline constexpr int IDC_MAC5 = 1015;
inline constexpr int IDC_MAC6 = 1016;
inline constexpr int IDC_DEVICE_LIST = 1017;
inline constexpr int IDC_PORT = 1021;
inline constexpr int IDC_IP = 1023;
inline constexpr int IDC_MASK = 1024;
inline constexpr int IDC_GATEWAY = 1025;
inline constexpr int IDC_SAVE = 1026;
inline constexpr int IDC_USE_DHCP = 1028;
inline constexpr int IDC_IP_LABEL = 1029;
inline constexpr int IDC_MASK_LABEL = 1030;
inline constexpr int IDC_GATEWAY_LABEL = 1031;
inline constexpr int IDC_RECORD_LIST = 1032;
inline constexpr int IDC_BAUD_RATE = 1033;
inline constexpr int IDC_DATA_BITS = 1034;
inline constexpr int IDC_PARITY = 1035;
inline constexpr int IDC_STOP_BITS = 1036;
inline constexpr int IDC_FLOW_CONTROL = 1037;
inline constexpr int IDC_UPDATE_FILE = 1038;
inline constexpr int IDC_START_UPDATE = 1039;
inline constexpr int IDC_UPDATE_TRACE = 1040;
inline constexpr int IDC_BROWSE = 1041;
inline constexpr int IDC_UPDATE_IP = 1044;
inline constexpr int IDC_VERSION = 1046;
inline constexpr int IDC_MAC_CLEAR = 1047;
