#pragma once

#include "platform/toolkit/CFileDialog.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

// Answers the file dialogs of a test with queued answers (a path, or cancel) and records
// each request. A dialog with no answer queued, and an answer never used (checked at
// destruction), fail the test.
class FileDialogRecorder {
public:
    FileDialogRecorder();
    ~FileDialogRecorder();
    FileDialogRecorder(const FileDialogRecorder&) = delete;
    FileDialogRecorder& operator=(const FileDialogRecorder&) = delete;

    void ExpectPath(std::string path);
    void ExpectCancel();
    const std::vector<FileDialogRequest>& Requests() const { return m_requests; }

private:
    std::optional<std::string> Answer(const FileDialogRequest& request);

    std::deque<std::optional<std::string>> m_answers;
    std::vector<FileDialogRequest> m_requests;
};
