#include "platform/toolkit/CIPAddressCtrl.h"

BOOL CIPAddressCtrl::IsBlank() const
{
    return const_cast<CIPAddressCtrl*>(this)->SendMessage(IPM_ISBLANK) != 0 ? TRUE : FALSE;
}

void CIPAddressCtrl::ClearAddress()
{
    SendMessage(IPM_CLEARADDRESS);
}

int CIPAddressCtrl::GetAddress(DWORD& dwAddress)
{
    dwAddress = 0;
    return static_cast<int>(SendMessage(IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&dwAddress)));
}

int CIPAddressCtrl::GetAddress(BYTE& nField0, BYTE& nField1, BYTE& nField2, BYTE& nField3)
{
    DWORD address = 0;
    const int filled = GetAddress(address);
    nField0 = HIBYTE(HIWORD(address));
    nField1 = LOBYTE(HIWORD(address));
    nField2 = HIBYTE(LOWORD(address));
    nField3 = LOBYTE(LOWORD(address));
    return filled;
}

void CIPAddressCtrl::SetAddress(DWORD dwAddress)
{
    SendMessage(IPM_SETADDRESS, 0, static_cast<LPARAM>(dwAddress));
}

void CIPAddressCtrl::SetAddress(BYTE nField0, BYTE nField1, BYTE nField2, BYTE nField3)
{
    SetAddress(MAKELONG(MAKEWORD(nField3, nField2), MAKEWORD(nField1, nField0)));
}
