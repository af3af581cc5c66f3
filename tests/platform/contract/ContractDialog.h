#pragma once
// The dialog of the layer's contract tests, on every backend: one template with a control
// of each kind the program uses, a message map that records what reaches it, and a modal
// run that a test steps through from inside its loop.

#include "platform/toolkit/CButton.h"
#include "platform/toolkit/CComboBox.h"
#include "platform/toolkit/CDialog.h"
#include "platform/toolkit/CEdit.h"
#include "platform/toolkit/CIPAddressCtrl.h"
#include "platform/toolkit/CListBox.h"
#include "platform/toolkit/DataExchange.h"

#include <functional>
#include <vector>

namespace contract {

constexpr UINT kDialog = 9101;

enum : int {
    kNameLabel = 300,
    kNameEdit = 301,
    kPortEdit = 302,
    kGoButton = 303,
    kItemList = 304,
    kFlagBox = 305,
    kLaterEdit = 306,
    kHiddenEdit = 307,
    kOffButton = 308,
    kAddressBox = 309,
    kChoiceBox = 310,
};

// The caption and texts of the template, Korean among them.
inline constexpr char kCaption[] = "계약 시험";
inline constexpr char kNameLabelText[] = "이름(&N):";
inline constexpr char kGoText[] = "확인하기";

// The result a modal run ends with when the test's steps did not end it themselves.
constexpr int kEndedByTest = 99;

void RegisterContractResources();

struct Notification {
    int id;
    UINT code;
    bool operator==(const Notification&) const = default;
};

class ContractDialog : public CDialog {
public:
    ContractDialog();

    // The bindings DoDataExchange performs; empty: none.
    std::function<void(CDataExchange*)> exchange;
    // Decides whether the key filter consumes a message; empty: nothing is consumed.
    std::function<bool(const MSG&)> consume;

    std::vector<Notification> notifications;
    std::vector<MSG> filtered;
    std::vector<UINT> sysCommands;
    int destroyCount = 0;
    bool visibleDuringInit = true;

    CEdit m_nameEdit;
    CListBox m_itemList;
    CButton m_flagBox;
    CIPAddressCtrl m_addressBox;
    CComboBox m_choiceBox;

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnDestroy();
    void OnNameUpdate();
    void OnNameChange();
    void OnGo();
    void OnItemSelChange();
    void OnFlag();

    DECLARE_MESSAGE_MAP()
};

// Runs the dialog modally; steps run once its loop turns, then the dialog ends with
// kEndedByTest unless the steps ended it. Returns DoModal's result.
INT_PTR RunModal(ContractDialog& dialog, const std::function<void()>& steps);

// Notifications of one control.
std::vector<UINT> CodesOf(const ContractDialog& dialog, int id);

} // namespace contract
