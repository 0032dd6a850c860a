#include "datafile/DataFileTail.h"
#include "datafile/DataFileReader.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <unistd.h>

namespace quorvane {
namespace {

std::string line(int second, int heater = 0) {
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "07-Dec-2026 13:52:%02d", second);
    return std::string(stamp) + "  0A1B 6000 2000 5000 3000 2001 6000 2000 " +
           std::to_string(heater) + "\r\n";
}

class DataFileTailTest : public ::testing::Test {
public:
    void SetUp() override {
        m_dir = std::filesystem::temp_directory_path() /
                ("quorvane-tail-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    std::string path(const std::string& name = "run.log") const { return (m_dir / name).string(); }
    void append(const std::string& text, const std::string& name = "run.log") {
        std::ofstream(path(name), std::ios::binary | std::ios::app) << text;
    }
    void rewrite(const std::string& text, const std::string& name = "run.log") {
        std::ofstream(path(name), std::ios::binary | std::ios::trunc) << text;
    }
    // Seconds of the records read since the last call.
    static std::vector<int> seconds(DataFileTail& tail) {
        std::vector<int> out;
        for (const LogRecord& r : tail.parser().takeRecords()) {
            out.push_back(static_cast<int>(r.utcSeconds % 60));
        }
        return out;
    }

    std::filesystem::path m_dir;
};

using Kind = DataFileTail::Kind;

TEST_F(DataFileTailTest, FollowsAppendsTruncationAndReplacement) {
    DataFileTail tail(path());
    // A table of steps: what the writer does, what the poll says, which records come.
    const struct {
        const char* step;
        std::function<void(DataFileTailTest&)> write;
        Kind kind;
        std::vector<int> records;
    } steps[] = {
        {"no file yet", [](DataFileTailTest&) {}, Kind::Missing, {}},
        {"created empty", [](DataFileTailTest& t) { t.rewrite(""); }, Kind::Unchanged, {}},
        {"two lines",
         [](DataFileTailTest& t) { t.append(line(1) + line(2)); },
         Kind::Appended,
         {1, 2}},
        {"nothing new", [](DataFileTailTest&) {}, Kind::Unchanged, {}},
        {"half a line",
         [](DataFileTailTest& t) { t.append(line(3).substr(0, 30)); },
         Kind::Appended,
         {}},
        {"its rest",
         [](DataFileTailTest& t) { t.append(line(3).substr(30)); },
         Kind::Appended,
         {3}},
        {"emptied by a new Initialize",
         [](DataFileTailTest& t) { t.rewrite(""); },
         Kind::Restarted,
         {}},
        {"new run", [](DataFileTailTest& t) { t.append(line(10)); }, Kind::Appended, {10}},
        {"emptied and refilled beyond the old length between two polls",
         [](DataFileTailTest& t) { t.rewrite(line(20) + line(21)); },
         Kind::Restarted,
         {20, 21}},
        {"replaced by another file",
         [](DataFileTailTest& t) {
             t.rewrite(line(30) + line(31) + line(32), "other.log");
             std::filesystem::rename(t.path("other.log"), t.path());
         },
         Kind::Restarted,
         {30, 31, 32}},
        {"removed while followed",
         [](DataFileTailTest& t) { std::filesystem::remove(t.path()); },
         Kind::Missing,
         {}},
        {"back again", [](DataFileTailTest& t) { t.append(line(40)); }, Kind::Restarted, {40}},
    };
    for (const auto& s : steps) {
        s.write(*this);
        const DataFileTail::Step result = tail.poll();
        EXPECT_EQ(result.kind, s.kind) << s.step;
        EXPECT_FALSE(result.more) << s.step;
        EXPECT_EQ(seconds(tail), s.records) << s.step;
    }
}

TEST_F(DataFileTailTest, ReadsABigFileInChunks) {
    std::string text;
    for (int i = 0; i < 60; ++i) {
        text += line(i, i % 2 ? 120 : 0);
    }
    rewrite(text);
    DataFileTail tail(path(), 1000);
    int polls = 0;
    std::vector<int> all;
    for (DataFileTail::Step step; polls == 0 || step.more; ++polls) {
        step = tail.poll();
        const std::vector<int> some = seconds(tail);
        all.insert(all.end(), some.begin(), some.end());
    }
    EXPECT_EQ(polls, static_cast<int>((text.size() + 999) / 1000));
    ASSERT_EQ(all.size(), 60u);
    EXPECT_EQ(all.back(), 59);
    EXPECT_EQ(tail.bytesRead(), static_cast<qint64>(text.size()));
}

TEST_F(DataFileTailTest, ReadFileReportsWhyAFileCannotBeRead) {
    std::string error;
    EXPECT_FALSE(DataFileReader::readFile(path("none.log"), &error));
    EXPECT_EQ(error, "No such file or directory");
    EXPECT_FALSE(DataFileReader::readFile(m_dir.string(), &error));
    EXPECT_EQ(error, "is a folder");
    rewrite(line(1) + line(2).substr(0, 50));
    const std::optional<DataFileContent> content = DataFileReader::readFile(path(), &error);
    ASSERT_TRUE(content);
    EXPECT_EQ(content->records.size(), 1u);
    EXPECT_EQ(content->badLineCount, 1) << "a cut last line of a finished file is bad";
}

} // namespace
} // namespace quorvane
