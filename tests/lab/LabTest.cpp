#include "LabTest.h"

#include <QHostAddress>
#include <QNetworkInterface>

#include <algorithm>

void LabTest::SetUp()
{
    std::string error;
    const auto environment = ReadLabEnvironment(error);
    ASSERT_TRUE(environment) << error;
    lab = *environment;
    // Outside the PC namespace the searches would go to whatever network the host has.
    ASSERT_TRUE(QNetworkInterface::allAddresses().contains(QHostAddress(lab.pcIp)))
        << DottedAddress(lab.pcIp) << " is not an address of this process's network: run through lab/lab.sh";
}

void LabTest::SearchAll()
{
    const int expected = static_cast<int>(lab.AllMacTexts().size());
    f.Click(IDC_SEARCH);
    ASSERT_TRUE(f.WaitForDevices(expected)) << "listed: " << f.DeviceList().size() << " of " << expected;
}

int LabTest::RowOf(const std::string& macText) const
{
    const std::vector<std::string> listed = f.DeviceList();
    const auto found = std::find(listed.begin(), listed.end(), macText);
    return found == listed.end() ? -1 : static_cast<int>(found - listed.begin());
}

DWORD LabTest::Shown(CIPAddressCtrl& box)
{
    DWORD address = 0;
    box.GetAddress(address);
    return address;
}
