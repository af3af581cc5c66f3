#pragma once
// Dialogs of the toolkit's own tests: small templates of every control kind and a dialog
// class that records what its message map and key filter receive.

#include "platform/toolkit/CButton.h"
#include "platform/toolkit/CComboBox.h"
#include "platform/toolkit/CDialog.h"
#include "platform/toolkit/CEdit.h"
#include "platform/toolkit/CIPAddressCtrl.h"
#include "platform/toolkit/CListBox.h"
#include "platform/toolkit/DataExchange.h"

#include <QString>

#include <functional>
#include <string>
#include <utility>
#include <vector>

class QWidget;

namespace toolkit_test {

// Template ids.
constexpr UINT kControlsDialog = 9001;
constexpr UINT kBoxDialog = 9002;
constexpr UINT kGroupsDialog = 9003;

// Control ids of kControlsDialog.
enum : int {
    kNameEdit = 201,
    kCodeEdit = 202,
    kPortEdit = 203,
    kFlagBox = 204,
    kLaterEdit = 205,
    kItemList = 206,
    kSortedList = 207,
    kChoiceBox = 208,
    kAddressBox = 209,
    kOtherAddress = 210,
    kGoButton = 211,
    kHiddenEdit = 213,
    kNotesEdit = 214,
    kReadOnlyEdit = 215,
    kMnemonicStatic = 216,
    kDisabledButton = 217,
};

// Registers the templates (once).
void RegisterTestResources();

struct Notification {
    int id;
    UINT code;
    bool operator==(const Notification&) const = default;
};

// A dialog on kControlsDialog (or another template) that records notifications, system
// commands, key-filter messages and its own end.
class TestDialog : public CDialog {
public:
    explicit TestDialog(UINT nIDTemplate = kControlsDialog, CWnd* pParent = nullptr);
    ~TestDialog() override;

    // Creates the window modeless, shows it and makes it the active window.
    bool Open();
    QWidget* Window() const;
    QWidget* Control(const char* objectName) const;

    // The bindings DoDataExchange performs; empty: none.
    std::function<void(CDataExchange*)> exchange;
    // Runs inside every notification handler, after it has been recorded.
    std::function<void(const Notification&)> onNotification;
    // Decides whether the key filter consumes a message; empty: nothing is consumed.
    std::function<bool(const MSG&)> consume;

    std::vector<Notification> notifications;
    std::vector<MSG> filtered;
    std::vector<std::pair<UINT, LPARAM>> sysCommands;
    int destroyCount = 0;
    int okCount = 0;
    int cancelCount = 0;
    bool initDialogResult = true;
    // False: OnCancel is counted but the dialog stays open.
    bool endOnCancel = true;
    std::function<void()> onInitDialog;

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void OnOK() override;
    void OnCancel() override;

    CEdit m_nameEdit;
    CListBox m_itemList;
    CListBox m_sortedList;
    CComboBox m_choiceBox;
    CIPAddressCtrl m_addressBox;
    CButton m_flagBox;

protected:
    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnDestroy();
    void OnNameUpdate();
    void OnNameChange();
    void OnCodeUpdate();
    void OnPortUpdate();
    void OnNotesChange();
    void OnItemSelChange();
    void OnSortedSelChange();
    void OnGo();
    void OnFlag();

    DECLARE_MESSAGE_MAP()

private:
    void Record(int id, UINT code);

    UINT m_template;
};

QString Text(const QWidget* edit);

} // namespace toolkit_test
