#pragma once

#include <QtGlobal>

#include <memory>
#include <string>
#include <vector>

#include "ui/CConfigDlg.h"
#include "link/NetworkSettings.h"

class QWidget;

/// The main dialog, created modeless, shown and active, for tests that drive it through its
/// widgets (object names as in the dialog template) and look at its members.
class DialogFixture {
public:
    explicit DialogFixture(const NetworkSettings& network = {});
    ~DialogFixture();

    DialogFixture(const DialogFixture&) = delete;
    DialogFixture& operator=(const DialogFixture&) = delete;

    CConfigDlg& dialog() { return *m_dialog; }
    QWidget* window() const;

    /// The control with this object name; a test failure and nullptr when there is none.
    QWidget* widget(const char* objectName) const;
    template <class T>
    T* widget(const char* objectName) const
    {
        return qobject_cast<T*>(widget(objectName));
    }

    /// Clicks the control with the left mouse button.
    void Click(const char* objectName);
    /// Clicks a device-list row with the mouse, as a user selects a device.
    void ClickDeviceListRow(int row);
    /// Lets the event loop run until the device list holds at least count entries.
    bool WaitForDevices(int count, int timeoutMs = 10000);

    std::vector<std::string> DeviceList() const;
    std::vector<std::string> RecordList() const;

private:
    std::unique_ptr<CConfigDlg> m_dialog;
};

/// Settings that send to 127.0.0.1:remotePort from a local UDP port nothing holds.
NetworkSettings LoopbackNetwork(quint16 remotePort);

/// A UDP port that nothing holds right now.
quint16 FreeUdpPort();
