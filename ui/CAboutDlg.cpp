#include "ui/CAboutDlg.h"

#include "ui/Resource.h"

CAboutDlg::CAboutDlg()
    : CDialog(IDD_ABOUTBOX)
{
}
