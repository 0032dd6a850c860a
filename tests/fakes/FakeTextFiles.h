#pragma once

#include "platform/Failure.h"
#include "platform/TextFiles.h"

#include <functional>
#include <map>
#include <optional>
#include <set>

namespace quorvane::fakes {

// Files in memory, by path. A path in `failing` fails every operation with its Failure.
class FakeTextFiles : public TextFiles {
public:
    void appendLine(const std::string& path, const std::string& line) override {
        if (onAppend) {
            onAppend(path);
        }
        check(path);
        m_files[path] += line + "\r\n";
        ++m_appends;
    }
    void createEmpty(const std::string& path) override {
        check(path);
        m_files[path].clear();
    }
    bool isWritableFolder(const std::string& folder) override {
        return unwritableFolders.count(folder) == 0;
    }

    std::string content(const std::string& path) const {
        auto it = m_files.find(path);
        return it == m_files.end() ? std::string() : it->second;
    }
    bool exists(const std::string& path) const { return m_files.count(path) != 0; }
    void setContent(const std::string& path, const std::string& content) {
        m_files[path] = content;
    }
    void remove(const std::string& path) { m_files.erase(path); }
    int appends() const { return m_appends; }

    std::map<std::string, Failure> failing;
    // Folders in which no file can be created.
    std::set<std::string> unwritableFolders;
    // Runs before each append is tried (a test changes the faults on the way).
    std::function<void(const std::string& path)> onAppend;

private:
    void check(const std::string& path) const {
        auto it = failing.find(path);
        if (it != failing.end()) {
            throw it->second;
        }
    }

    std::map<std::string, std::string> m_files;
    int m_appends = 0;
};

} // namespace quorvane::fakes
