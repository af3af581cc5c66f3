// The device list and its hidden record list, and the display of one device record.
#include "ui/CConfigDlg.h"

#include "link/DeviceRecord.h"

void CConfigDlg::OnSearchReply(const DeviceRecord& record)
{
    m_strCurrentRecord = record.text;
    m_ctlRecordList.AddString(record.text.c_str());
    ShowDeviceRecord(true);
    UpdateData(FALSE);
}

void CConfigDlg::ShowDeviceRecord(bool addToList)
{
    if (!addToList) {
        const int selected = m_ctlDeviceList.GetCurSel();
        if (selected == LB_ERR)
            return;
        m_ctlRecordList.GetText(selected, m_strCurrentRecord);
    }

    const auto device = DecodeDeviceRecord(m_strCurrentRecord);
    if (!device)
        return;

    if (addToList)
        m_ctlDeviceList.AddString(device->macText.c_str());

    m_ctlIp.SetAddress(device->ip);
    m_ctlMask.SetAddress(device->mask);
    m_ctlGateway.SetAddress(device->gateway);

    m_nPort = device->port;

    if (device->dhcp) {
        m_nUseDhcp = 1;
        m_ctlUseDhcp.SetCheck(1);
        ApplyAddressLock(true);
    } else {
        m_nUseDhcp = 0;
        m_ctlUseDhcp.SetCheck(0);
        ApplyAddressLock(false);
    }

    if (device->version)
        m_strVersion = *device->version;

    UpdateData(FALSE);
}

void CConfigDlg::OnSelchangeDeviceList()
{
    UpdateData(TRUE);
    ShowDeviceRecord(false);
    UpdateData(FALSE);
}
