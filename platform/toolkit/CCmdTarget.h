#pragma once

#include "platform/toolkit/MessageMap.h"
#include "platform/toolkit/WinUser.h"

// Base of everything that has a message map: windows and the application object.
class CCmdTarget {
public:
    CCmdTarget() = default;
    virtual ~CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;

    virtual const AFX_MSGMAP* GetMessageMap() const;
    // Runs the command entry for (nID, nCode) found in this object's map chain.
    virtual BOOL OnCmdMsg(UINT nID, int nCode);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    // The first entry for message (and, for WM_COMMAND, code and id) in the chain.
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT message, UINT nCode, UINT nID) const;
};
