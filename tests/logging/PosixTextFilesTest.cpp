#include "logging/PosixTextFiles.h"
#include "platform/Failure.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <unistd.h>

namespace quorvane {
namespace {

namespace fs = std::filesystem;

class PosixTextFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("quorvane-files-" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string path(const std::string& name) const { return (m_dir / name).string(); }
    static std::string read(const std::string& p) {
        std::ifstream in(p, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    fs::path m_dir;
    PosixTextFiles files;
};

TEST_F(PosixTextFilesTest, EveryLineEndsInCrLfAndAppends) {
    files.appendLine(path("a.log"), "first");
    files.appendLine(path("a.log"), "");
    files.appendLine(path("a.log"), "last");
    EXPECT_EQ(read(path("a.log")), "first\r\n\r\nlast\r\n");
}

TEST_F(PosixTextFilesTest, CreateEmptyEmptiesAnExistingFile) {
    files.appendLine(path("b.log"), "old data");
    files.createEmpty(path("b.log"));
    EXPECT_EQ(read(path("b.log")), "");
    files.createEmpty(path("new.log"));
    EXPECT_TRUE(fs::exists(path("new.log")));
}

struct FailingPath {
    std::string path;
    int error;
};

TEST_F(PosixTextFilesTest, FailuresCarryErrnoAndStrerror) {
    const FailingPath cases[] = {
        {path("missing/folder/x.log"), ENOENT},
        {"", ENOENT},
        {"/sys/quorvane-not-writable.log", EACCES}, // refused even to root
        {"/dev/full", ENOSPC},
    };
    for (const FailingPath& c : cases) {
        try {
            files.appendLine(c.path, "line");
            ADD_FAILURE() << c.path << " did not fail";
        } catch (const Failure& failure) {
            EXPECT_EQ(failure.number(), c.error) << c.path;
            EXPECT_EQ(failure.description(), std::strerror(c.error)) << c.path;
        }
    }
}

} // namespace
} // namespace quorvane
