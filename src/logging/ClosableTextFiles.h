#pragma once

#include "platform/TextFiles.h"

namespace quorvane {

// The window's way to its files: once closed (the window unloaded), nothing more is
// written, whatever handler is still running.
class ClosableTextFiles : public TextFiles {
public:
    explicit ClosableTextFiles(TextFiles& files) : m_files(files) {}

    void appendLine(const std::string& path, const std::string& line) override {
        if (!m_closed) {
            m_files.appendLine(path, line);
        }
    }
    void createEmpty(const std::string& path) override {
        if (!m_closed) {
            m_files.createEmpty(path);
        }
    }
    bool isWritableFolder(const std::string& folder) override {
        return m_files.isWritableFolder(folder);
    }

    void close() { m_closed = true; }
    bool isClosed() const { return m_closed; }

private:
    TextFiles& m_files;
    bool m_closed = false;
};

} // namespace quorvane
