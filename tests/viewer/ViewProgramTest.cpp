#include "ViewerFiles.h"

#include <QImage>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/wait.h>

namespace quorvane {
namespace {

using namespace viewertest;

struct Outcome {
    int status = -1;
    std::string output; // standard output and error
};

Outcome runView(const std::string& args, const std::string& environment = "") {
    const char* bin = std::getenv("QUORVANE_BIN_DIR");
    const std::string command =
        environment + " " + std::string(bin ? bin : "bin") + "/quorvane-view " + args + " 2>&1";
    Outcome outcome;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) {
        return outcome;
    }
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        outcome.output.append(buffer, n);
    }
    const int status = ::pclose(pipe);
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return outcome;
}

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

// Exports without a window: exit status and what is said, per kind of file.
TEST(ViewProgram, BatchExportsExitStatusAndMessages) {
    TempFolder folder("batch");
    folder.write("good.log", header(1, false) + temperatureLine(0, 0) + temperatureLine(1, 80));
    folder.write("bad.log", header() + rawLine(0) + "07-Dec-2026 13:51:11 junk\r\n" + rawLine(2));
    folder.write("binary.log", std::string("\x7f"
                                           "ELF\0\0\n\xff\n",
                                           9));
    folder.write("header.log", header());
    folder.write("script.sh", "#!/bin/sh\necho hello\n");
    folder.write("empty.log", "");
    const std::string csv = folder.path("out.csv");
    const struct {
        std::string args;
        int status;
        std::string said;
    } cases[] = {
        {folder.path("good.log") + " --export-csv " + csv, 0, ""},
        {folder.path("bad.log") + " --export-csv " + csv, 1,
         "line 13: line too short for a RawHex data line"},
        {folder.path("none.log") + " --export-png " + folder.path("x.png"), 2,
         "cannot read " + folder.path("none.log") + ": No such file or directory"},
        {folder.path("binary.log") + " --export-csv " + csv, 2, "is not a data log file"},
        {folder.path("script.sh") + " --export-png " + folder.path("x.png"), 2,
         "is not a data log file (no header line and no record in 2 lines)"},
        {folder.path("empty.log") + " --export-csv " + csv, 2,
         "is not a data log file (it is empty)"},
        {folder.path("header.log") + " --export-csv " + csv, 0, "a header without data"},
        {folder.path("good.log") + " --export-png " + folder.path("x.png") + " --size 12", 2,
         "--size wants WIDTHxHEIGHT"},
        {"--export-csv " + csv, 2, "an export needs the FILE"},
        {"--no-such-option", 2, "Unknown option 'no-such-option'"},
        {"--help", 0, "Usage: quorvane-view [FILE]"},
    };
    for (const auto& c : cases) {
        const Outcome o = runView(c.args);
        EXPECT_EQ(o.status, c.status) << c.args << "\n" << o.output;
        EXPECT_NE(o.output.find(c.said), std::string::npos) << c.args << "\n" << o.output;
    }
}

TEST(ViewProgram, CsvAndPicturesUnderAGermanLocale) {
    TempFolder folder("batch-de");
    folder.write("good.log", header(1, false) + temperatureLine(0, 0) + temperatureLine(1, 80));
    const Outcome o = runView(folder.path("good.log") + " --export-csv " + folder.path("o.csv") +
                                  " --export-png " + folder.path("o.png") + " --size 800x500" +
                                  " --export-svg " + folder.path("o.svg"),
                              "LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8");
    ASSERT_EQ(o.status, 0) << o.output;
    EXPECT_EQ(readAll(folder.path("o.csv")),
              "time_utc,seconds,t_ttop,t_t2,t_t3,t_t4,t_tbot,heater\n"
              "2026-12-07T13:51:10Z,0,1.000,2.000,3.000,4.000,5.000,0\n"
              "2026-12-07T13:51:11Z,1,1.001,2.001,3.001,4.001,5.001,80\n");
    EXPECT_EQ(QImage(QString::fromStdString(folder.path("o.png"))).size(), QSize(800, 500));
    const std::string svg = readAll(folder.path("o.svg"));
    EXPECT_NE(svg.find("<svg"), std::string::npos);
    EXPECT_EQ(svg.find(">4,5<"), std::string::npos) << "no decimal comma in a tick label";
}

} // namespace
} // namespace quorvane
