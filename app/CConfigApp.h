#pragma once

#include "platform/toolkit/CWinApp.h"

// The application: starts the socket layer and runs the main dialog as its whole life.
class CConfigApp : public CWinApp {
public:
    CConfigApp();

    BOOL InitInstance() override;

    DECLARE_MESSAGE_MAP()
};
