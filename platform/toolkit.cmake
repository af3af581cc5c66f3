# The dialog toolkit: windows, dialogs from templates, controls, data exchange, message
# maps, message boxes and the file dialog, on Qt Widgets.
target_sources(lanvista_platform PRIVATE
  CButton.h
  CCmdTarget.h
  CComboBox.h
  CDialog.h
  CEdit.h
  CFileDialog.h
  CIPAddressCtrl.h
  CListBox.h
  CMenu.h
  CPaintDC.h
  CRect.h
  CStatic.h
  CWinApp.h
  CWnd.h
  DataExchange.h
  DialogTemplate.h
  MessageBox.h
  MessageMap.h
  ResourceTable.h
  WinTypes.h
  WinUser.h
)
