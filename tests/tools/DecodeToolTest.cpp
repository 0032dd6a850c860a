#include "LogFileDecoder.h"
#include "support/GermanLocale.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace quorvane {
namespace {

const std::string kFile = "# Instrument: 0417\r\n"
                          "# Date        Time    Xtra 100K  20K TTop   T2   T3   T4 TBot Htr\r\n"
                          "07-Dec-2026 13:51:10  0A1B 6000 2000 5000 3000 2001 6000 2000 0\r\n"
                          "07-Dec-2026 13:51:12  0A1B 6000 2000 5G00 3000 2001 6000 2000 0\r\n"
                          "07-Dec-2026 13:51:14  0A1B 6000 2000 5000 3000 2001 6000 2000 120\r\n";

const std::string kCsv = "time,r_ttop,r_t2,r_t3,r_t4,r_tbot,t_ttop,t_t2,t_t3,t_t4,t_tbot,heater\n"
                         "2026-12-07T13:51:10Z,80000,40000,20005,100000,20000,"
                         "3.472,18.393,34.640,-1.076,34.646,0\n"
                         "2026-12-07T13:51:14Z,80000,40000,20005,100000,20000,"
                         "3.472,18.393,34.640,-1.076,34.646,120\n";

TEST(LogFileDecoder, OneBadLineIsReportedWithItsNumberAndTheRestDecoded) {
    std::istringstream in(kFile);
    std::ostringstream out;
    std::ostringstream errors;
    const LogFileDecoder::Result result = LogFileDecoder::run(in, out, errors);
    EXPECT_EQ(out.str(), kCsv);
    EXPECT_EQ(result.dataLines, 3);
    EXPECT_EQ(result.failedLines, 1);
    EXPECT_EQ(errors.str(), "line 4: record cannot be decoded: Invalid use of Null\n");
}

// The CSV keeps its decimal points (and its commas as separators) under de_DE.
class LogFileDecoderGermanLocale : public testing::UnderGermanLocale<> {};

TEST_F(LogFileDecoderGermanLocale, TemperaturesWithDecimalPoints) {
    std::istringstream in(kFile);
    std::ostringstream out;
    std::ostringstream errors;
    LogFileDecoder::run(in, out, errors);
    EXPECT_EQ(out.str(), kCsv);
}

TEST(LogFileDecoder, TemperatureLinesHaveNoResistances) {
    std::istringstream in("# DataType: Temperature\r\n"
                          "07-Dec-2026 13:51:10  3.472 18.393 34.640 -1.076 34.646 0");
    std::ostringstream out;
    std::ostringstream errors;
    const LogFileDecoder::Result result = LogFileDecoder::run(in, out, errors);
    EXPECT_EQ(out.str(), std::string(LogFileDecoder::csvHeader()) +
                             "\n2026-12-07T13:51:10Z,,,,,,3.472,18.393,34.640,-1.076,34.646,0\n");
    EXPECT_EQ(result.failedLines, 0);
}

int runDecoder(const std::string& args, std::string& output) {
    const char* bin = std::getenv("QUORVANE_BIN_DIR");
    const std::string command = std::string(bin ? bin : "bin") + "/quorvane-decode " + args;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) {
        return -1;
    }
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        output.append(buffer, n);
    }
    const int status = ::pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(DecodeProgram, ExitCodesAndOutput) {
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("qdecode-" + std::to_string(::getpid()) + ".log");
    std::ofstream(file, std::ios::binary) << kFile;
    std::string out;
    EXPECT_EQ(runDecoder(file.string() + " 2>/dev/null", out), 1);
    EXPECT_EQ(out, kCsv);

    std::ofstream(file, std::ios::binary)
        << "# a header\r\n07-Dec-2026 13:51:10  0A1B 6000 2000 5000 3000 2001 6000 2000 0\r\n";
    out.clear();
    EXPECT_EQ(runDecoder(file.string(), out), 0);

    out.clear();
    EXPECT_EQ(runDecoder("/nonexistent/file.log 2>/dev/null", out), 2);
    out.clear();
    EXPECT_EQ(runDecoder("--help", out), 0);
    EXPECT_NE(out.find("Exit status"), std::string::npos);
    std::filesystem::remove(file);
}

} // namespace
} // namespace quorvane
