#include "platform/toolkit/MessageBox.h"

#include "platform/toolkit/MessageBoxWrapper.h"
#include "platform/toolkit/qt/QtHandles.h"

#include <QApplication>
#include <QMessageBox>

#include <algorithm>

namespace {

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

} // namespace

int RunRealMessageBox(const MessageBoxRequest& request, HWND ownerWindow)
{
    QWidget* owner = ownerWindow ? WidgetFromHandle(ownerWindow) : nullptr;
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
