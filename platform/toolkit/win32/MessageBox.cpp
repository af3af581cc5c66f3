#include "platform/toolkit/MessageBox.h"

#include "platform/toolkit/MessageBoxWrapper.h"
#include "platform/toolkit/Utf16Text.h"

int RunRealMessageBox(const MessageBoxRequest& request, HWND owner)
{
    const std::wstring text = WideFromUtf8(request.text);
    const std::wstring caption = WideFromUtf8(request.caption);
    // The box's own loop keeps dispatching the thread's messages (socket notifications too).
    return ::MessageBoxW(owner, text.c_str(), caption.c_str(), request.type);
}
