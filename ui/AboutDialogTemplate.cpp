#include "ui/ResourceTemplates.h"

#include "ui/Resource.h"

#include "lanvista/Version.h"

namespace {

constexpr DialogControlTemplate kControls[] = {
    {ControlKind::Icon, IDC_STATIC, "aboutIcon", nullptr, 11, 17, 20, 20, WS_CHILD | WS_VISIBLE | SS_ICON, 0,
     IDR_MAINFRAME},
    {ControlKind::Static, IDC_STATIC, "aboutVersion", "Lanvista 버전 " LANVISTA_VERSION, 40, 10, 119, 8,
     WS_CHILD | WS_VISIBLE | SS_NOPREFIX | WS_GROUP, 0},
    {ControlKind::PushButton, IDOK, "aboutOk", "확인", 178, 7, 50, 14,
     WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 0},
};

}  // namespace

const DialogTemplate kAboutDialogTemplate{
    IDD_ABOUTBOX,
    "Lanvista 정보",
    0, 0, 235, 55,
    DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU,
    0,
    "굴림", 9,
    kControls,
};
