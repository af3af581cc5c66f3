#include "ui/Resources.h"

#include "ui/Resource.h"
#include "ui/ResourceTemplates.h"

void RegisterResources()
{
    ResourceTable::AddDialog(kMainDialogTemplate);
    ResourceTable::AddDialog(kAboutDialogTemplate);
    ResourceTable::AddString(IDS_ABOUTBOX, "Lanvista 정보(&A)...");
    ResourceTable::AddString(IDP_SOCKETS_INIT_FAILED, "Windows 소켓 초기화에 실패하였습니다.");
    ResourceTable::AddIcon(IDR_MAINFRAME, kAppIconImages);
}
