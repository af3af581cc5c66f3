#include "tests/support/FileDialogRecorder.h"

#include <gtest/gtest.h>

FileDialogRecorder::FileDialogRecorder()
{
    SetFileDialogHook([this](const FileDialogRequest& request) { return Answer(request); });
}

FileDialogRecorder::~FileDialogRecorder()
{
    SetFileDialogHook({});
    for (const std::optional<std::string>& answer : m_answers)
        ADD_FAILURE() << "file dialog never shown for the answer " << (answer ? "\"" + *answer + "\"" : "cancel");
}

void FileDialogRecorder::ExpectPath(std::string path)
{
    m_answers.emplace_back(std::move(path));
}

void FileDialogRecorder::ExpectCancel()
{
    m_answers.emplace_back(std::nullopt);
}

std::optional<std::string> FileDialogRecorder::Answer(const FileDialogRequest& request)
{
    m_requests.push_back(request);
    if (m_answers.empty()) {
        ADD_FAILURE() << "unexpected file dialog (filter \"" << request.qtFilter << "\")";
        return std::nullopt;
    }
    std::optional<std::string> answer = std::move(m_answers.front());
    m_answers.pop_front();
    return answer;
}
