#include "platform/toolkit/MessageBox.h"

#include "platform/toolkit/CWinApp.h"
#include "platform/toolkit/CWnd.h"
#include "platform/toolkit/qt/MessageBoxWrapper.h"
#include "platform/toolkit/qt/QtHandles.h"
#include "platform/toolkit/ResourceTable.h"

#include <QApplication>
#include <QMessageBox>

#include <algorithm>
#include <utility>

namespace {

MessageBoxHook& Hook()
{
    static MessageBoxHook hook;
    return hook;
}

struct ButtonOf {
    int answer;
    QMessageBox::StandardButton button;
};

constexpr ButtonOf kButtons[] = {
    {IDOK, QMessageBox::Ok},         {IDCANCEL, QMessageBox::Cancel}, {IDABORT, QMessageBox::Abort},
    {IDRETRY, QMessageBox::Retry},   {IDIGNORE, QMessageBox::Ignore}, {IDYES, QMessageBox::Yes},
    {IDNO, QMessageBox::No},
};

QMessageBox::StandardButton ButtonFor(int answer)
{
    for (const ButtonOf& entry : kButtons) {
        if (entry.answer == answer)
            return entry.button;
    }
    return QMessageBox::NoButton;
}

int AnswerFor(QMessageBox::StandardButton button)
{
    for (const ButtonOf& entry : kButtons) {
        if (entry.button == button)
            return entry.answer;
    }
    return IDCANCEL;
}

QMessageBox::Icon IconFor(UINT type)
{
    switch (type & MB_ICONMASK) {
    case MB_ICONHAND:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
        return QMessageBox::Warning;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

int RunRealMessageBox(const MessageBoxRequest& request, QWidget* owner)
{
    if (owner == nullptr)
        owner = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : QApplication::activeWindow();
    QMessageBox box(IconFor(request.type), FromUtf8(request.caption.c_str()), FromUtf8(request.text.c_str()),
                    QMessageBox::NoButton, owner);
    box.setTextFormat(Qt::PlainText);
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    box.setWindowModality(Qt::ApplicationModal);
    const std::vector<int> answers = MessageBoxAnswers(request.type);
    for (int answer : answers)
        box.addButton(ButtonFor(answer));
    box.setDefaultButton(ButtonFor(answers.front()));
    // Esc gives Cancel where there is one, else OK on a box that has only OK.
    const bool hasCancel = std::find(answers.begin(), answers.end(), IDCANCEL) != answers.end();
    if (hasCancel)
        box.setEscapeButton(QMessageBox::Cancel);
    else if (answers.size() == 1)
        box.setEscapeButton(ButtonFor(answers.front()));
    box.exec();
    auto* clicked = box.clickedButton();
    return clicked ? AnswerFor(box.standardButton(clicked)) : (hasCancel ? IDCANCEL : answers.front());
}

} // namespace

void SetMessageBoxHook(MessageBoxHook hook)
{
    Hook() = std::move(hook);
}

std::vector<int> MessageBoxAnswers(UINT nType)
{
    switch (nType & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return {IDOK, IDCANCEL};
    case MB_ABORTRETRYIGNORE:
        return {IDABORT, IDRETRY, IDIGNORE};
    case MB_YESNOCANCEL:
        return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO:
        return {IDYES, IDNO};
    case MB_RETRYCANCEL:
        return {IDRETRY, IDCANCEL};
    default:
        return {IDOK};
    }
}

int ShowMessageBox(const MessageBoxRequest& request, QWidget* owner)
{
    // A copy: the hook may replace itself while its box is "open".
    if (MessageBoxHook hook = Hook())
        return hook(request);
    return RunRealMessageBox(request, owner);
}

int AfxMessageBox(const char* lpszText, UINT nType, UINT)
{
    if ((nType & MB_ICONMASK) == 0) {
        switch (nType & MB_TYPEMASK) {
        case MB_OK:
        case MB_OKCANCEL:
            nType |= MB_ICONEXCLAMATION;
            break;
        case MB_YESNO:
        case MB_YESNOCANCEL:
            nType |= MB_ICONQUESTION;
            break;
        default:
            break;
        }
    }
    CWinApp* app = AfxGetApp();
    QWidget* owner = nullptr;
    if (app && app->m_pMainWnd && app->m_pMainWnd->m_hWnd)
        owner = WidgetFromHandle(app->m_pMainWnd->m_hWnd);
    return ShowMessageBox(MessageBoxRequest{lpszText ? lpszText : "", AfxGetAppName(), nType}, owner);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp)
{
    return AfxMessageBox(ResourceTable::LoadString(nIDPrompt).c_str(), nType, nIDHelp);
}
