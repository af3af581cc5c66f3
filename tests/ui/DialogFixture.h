#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ui/CConfigDlg.h"
#include "ui/Resource.h"
#include "link/NetworkSettings.h"

#ifndef _WIN32
class QWidget;
#endif

/// The main dialog, created modeless, shown and active, for tests that drive it through the
/// layer (controls by their ids in ui/Resource.h, input through the driver) and look at its
/// members.
class DialogFixture {
public:
    explicit DialogFixture(const NetworkSettings& network = {});
    ~DialogFixture();

    DialogFixture(const DialogFixture&) = delete;
    DialogFixture& operator=(const DialogFixture&) = delete;

    CConfigDlg& dialog() { return *m_dialog; }

    /// The window of the control with this id; a test failure and nullptr when there is none.
    HWND control(int id) const;
    /// The control's text, as the layer reads it.
    std::string Text(int id) const;
    BOOL IsEnabled(int id) const;

    /// Clicks the control with the left mouse button.
    void Click(int id);
    /// Clicks a device-list row with the mouse, as a user selects a device.
    void ClickDeviceListRow(int row);
    /// Lets the event loop run until the device list holds at least count entries.
    bool WaitForDevices(int count, int timeoutMs = 10000);

    std::vector<std::string> DeviceList() const;
    std::vector<std::string> RecordList() const;

#ifndef _WIN32
    /// The Qt widgets behind the dialog, for the Linux-only suites that check what only the
    /// Qt backend has (object names, accessibility, a grab of the window).
    QWidget* window() const;
    /// The control with this object name; a test failure and nullptr when there is none.
    QWidget* widget(const char* objectName) const;
    template <class T>
    T* widget(const char* objectName) const
    {
        return qobject_cast<T*>(widget(objectName));
    }
#endif

private:
    std::unique_ptr<CConfigDlg> m_dialog;
};

/// Settings that send to 127.0.0.1:remotePort from a local UDP port nothing holds.
NetworkSettings LoopbackNetwork(std::uint16_t remotePort);

/// A UDP port that nothing holds right now.
std::uint16_t FreeUdpPort();
