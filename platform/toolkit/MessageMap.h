#pragma once
// Static message maps. Each class's map is a table of entries chained to its base
// class's map; an entry names the message (and for commands the notification code and
// control id) and a thunk that unpacks the parameters into the handler's signature.
//
// Handlers are named with their class: ON_BN_CLICKED(1003, &CMyDlg::OnSearch).
// A virtual handler named through a base class is called through virtual dispatch.

#include "platform/toolkit/WinUser.h"

class CCmdTarget;

using AFX_PMSG_THUNK = LRESULT (*)(CCmdTarget* pTarget, WPARAM wParam, LPARAM lParam);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;
    UINT nCode;
    UINT nID;
    UINT nLastID;
    AFX_PMSG_THUNK pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

namespace afx_thunk {
template <class T, auto F>
LRESULT VoidVoid(CCmdTarget* p, WPARAM, LPARAM)
{
    (static_cast<T*>(p)->*F)();
    return 0;
}

template <class T, auto F>
LRESULT VoidUintLparam(CCmdTarget* p, WPARAM w, LPARAM l)
{
    (static_cast<T*>(p)->*F)(static_cast<UINT>(w), l);
    return 0;
}

template <class T, auto F>
LRESULT HandleVoid(CCmdTarget* p, WPARAM, LPARAM)
{
    return reinterpret_cast<LRESULT>((static_cast<T*>(p)->*F)());
}
} // namespace afx_thunk

#define DECLARE_MESSAGE_MAP()                                  \
protected:                                                     \
    static const AFX_MSGMAP* GetThisMessageMap();              \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                     \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                                \
    {                                                                              \
        using ThisClass [[maybe_unused]] = theClass;                               \
        using TheBaseClass = baseClass;                                            \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                          \
            { 0, 0, 0, 0, nullptr }                                                \
        };                                                                         \
        static const AFX_MSGMAP messageMap = { &TheBaseClass::GetThisMessageMap, &_messageEntries[0] }; \
        return &messageMap;                                                        \
    }

#define ON_COMMAND(id, memberFxn) \
    { WM_COMMAND, 0, static_cast<UINT>(id), static_cast<UINT>(id), &afx_thunk::VoidVoid<ThisClass, memberFxn> },
#define ON_CONTROL(wNotifyCode, id, memberFxn)                                      \
    { WM_COMMAND, static_cast<UINT>(wNotifyCode), static_cast<UINT>(id), static_cast<UINT>(id), \
      &afx_thunk::VoidVoid<ThisClass, memberFxn> },
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn) ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)

#define ON_WM_SYSCOMMAND() \
    { WM_SYSCOMMAND, 0, 0, 0, &afx_thunk::VoidUintLparam<ThisClass, &ThisClass::OnSysCommand> },
#define ON_WM_PAINT() \
    { WM_PAINT, 0, 0, 0, &afx_thunk::VoidVoid<ThisClass, &ThisClass::OnPaint> },
#define ON_WM_QUERYDRAGICON() \
    { WM_QUERYDRAGICON, 0, 0, 0, &afx_thunk::HandleVoid<ThisClass, &ThisClass::OnQueryDragIcon> },
#define ON_WM_DESTROY() \
    { WM_DESTROY, 0, 0, 0, &afx_thunk::VoidVoid<ThisClass, &ThisClass::OnDestroy> },
