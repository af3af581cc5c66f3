#pragma once

#include "platform/toolkit/MessageBox.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

// Answers the message boxes of a test. Boxes are expected in order by their text; each is
// recorded. A box nobody expected, a box with another text, an answer the box does not
// offer, and an expectation never met (checked at destruction) fail the test.
class MessageBoxRecorder {
public:
    MessageBoxRecorder();
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    // whileOpen runs while the box is "open" (it may run the event loop) before answer
    // is given.
    void Expect(std::string text, std::function<void()> whileOpen = {}, int answer = IDOK);
    const std::vector<MessageBoxRequest>& Boxes() const { return m_boxes; }
    // Expectations not met yet.
    std::size_t Pending() const { return m_expected.size(); }

private:
    struct Expectation {
        std::string text;
        std::function<void()> whileOpen;
        int answer;
    };

    int Answer(const MessageBoxRequest& request);

    std::deque<Expectation> m_expected;
    std::vector<MessageBoxRequest> m_boxes;
};
