#include "tests/support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include <algorithm>

MessageBoxRecorder::MessageBoxRecorder()
{
    SetMessageBoxHook([this](const MessageBoxRequest& request) { return Answer(request); });
}

MessageBoxRecorder::~MessageBoxRecorder()
{
    SetMessageBoxHook({});
    for (const Expectation& expectation : m_expected)
        ADD_FAILURE() << "message box never shown: \"" << expectation.text << "\"";
}

void MessageBoxRecorder::Expect(std::string text, std::function<void()> whileOpen, int answer)
{
    m_expected.push_back(Expectation{std::move(text), std::move(whileOpen), answer});
}

int MessageBoxRecorder::Answer(const MessageBoxRequest& request)
{
    m_boxes.push_back(request);
    const std::vector<int> offered = MessageBoxAnswers(request.type);
    if (m_expected.empty()) {
        ADD_FAILURE() << "unexpected message box: \"" << request.text << "\"";
        return offered.front();
    }
    Expectation expectation = std::move(m_expected.front());
    m_expected.pop_front();
    EXPECT_EQ(expectation.text, request.text) << "message box text differs from the expected one";
    if (std::find(offered.begin(), offered.end(), expectation.answer) == offered.end()) {
        ADD_FAILURE() << "answer " << expectation.answer << " is not a button of the box \"" << request.text << "\"";
        expectation.answer = offered.front();
    }
    if (expectation.whileOpen)
        expectation.whileOpen();
    return expectation.answer;
}
