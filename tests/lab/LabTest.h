#pragma once
// Base of the lab tests: the lab's description, checked to be the network this process
// really sits in, and a dialog with the program's built-in network settings.

#include <gtest/gtest.h>

#include <string>

#include "DialogFixture.h"
#include "LabEnvironment.h"
#include "tests/support/MessageBoxRecorder.h"

class LabTest : public testing::Test {
protected:
    void SetUp() override;

    // Presses Search and waits until every device of the lab is listed.
    void SearchAll();
    // The device-list row of a MAC text; -1 when it is not listed.
    int RowOf(const std::string& macText) const;
    // The address an IP-address control shows.
    static DWORD Shown(CIPAddressCtrl& box);

    LabEnvironment lab;
    MessageBoxRecorder boxes;
    DialogFixture f;
};
