#pragma once

#include "platform/Failure.h"
#include "platform/FileChooser.h"

#include <vector>

namespace quorvane::fakes {

// Answers the chooser with a scripted path (nullopt = cancel) and filter index.
class FakeFileChooser : public FileChooser {
public:
    std::optional<std::string> choose(const FileChooserRequest& request) override {
        m_requests.push_back(request);
        if (failure) {
            throw *failure;
        }
        if (answerFilterIndex) {
            m_filterIndex = *answerFilterIndex;
        } else {
            m_filterIndex = request.filterIndex;
        }
        return answer;
    }
    int filterIndex() const override { return m_filterIndex; }

    const std::vector<FileChooserRequest>& requests() const { return m_requests; }

    std::optional<std::string> answer;
    std::optional<int> answerFilterIndex;
    std::optional<Failure> failure;

private:
    int m_filterIndex = 0;
    std::vector<FileChooserRequest> m_requests;
};

} // namespace quorvane::fakes
