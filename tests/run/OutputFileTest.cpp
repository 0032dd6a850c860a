#include "RunRig.h"

#include "logging/OutputFileDialog.h"

#include <gtest/gtest.h>

#include <ostream>

#include <cerrno>
#include <cstring>

namespace quorvane::testing {
namespace {

TEST(OutputFileDialog, ChooserSetUpFromTheLastChoice) {
    struct Case {
        std::int16_t filterIndex;
        const char* initialName;
        int startFilter; // the entry the chooser starts on: the one the pattern names
    };
    for (const Case& c : {Case{0, "/data/runs/*.*", 3}, Case{1, "/data/runs/*.log", 1},
                          Case{2, "/data/runs/*.txt", 2}, Case{3, "/data/runs/*.*", 3},
                          Case{-1, "/data/runs/*.*", 3}, Case{7, "/data/runs/*.*", 3}}) {
        SCOPED_TRACE(c.filterIndex);
        OutputFile last{"/data/runs/", "old.log", c.filterIndex};
        const FileChooserRequest r = OutputFileDialog::requestFor(last);
        EXPECT_EQ(r.title, "Set Output File");
        ASSERT_EQ(r.filters.size(), 3u);
        EXPECT_EQ(r.filters[0].description, "log files (*.log)");
        EXPECT_EQ(r.filters[0].pattern, "*.log");
        EXPECT_EQ(r.filters[1].description, "txt files (*.txt) ");
        EXPECT_EQ(r.filters[1].pattern, "*.txt");
        EXPECT_EQ(r.filters[2].description, "All files (*.*)");
        EXPECT_EQ(r.filters[2].pattern, "*.*");
        EXPECT_EQ(r.filterIndex, c.startFilter);
        EXPECT_EQ(r.initialFolder, "/data/runs/");
        EXPECT_EQ(r.initialFileName, c.initialName);
        EXPECT_TRUE(r.confirmOverwrite);
        EXPECT_TRUE(r.confirmCreate);
    }
}

TEST(OutputFileDialog, CancelOrChooserFailureGivesEmptyTextWithoutMessage) {
    fakes::FakeTextFiles files;
    fakes::FakeDialogs dialogs;
    fakes::FakeFileChooser chooser;
    fakes::FakeAppInfo app;
    OutputFileDialog dialog(files, dialogs, app);
    EXPECT_EQ(dialog.ManageOutputDialog(chooser, OutputFile{}), "");
    chooser.answer = "";
    EXPECT_EQ(dialog.ManageOutputDialog(chooser, OutputFile{}), "");
    chooser.failure = Failure(32755, "Cancel was selected.");
    EXPECT_EQ(dialog.ManageOutputDialog(chooser, OutputFile{}), "");
    EXPECT_TRUE(dialogs.messages().empty());
    EXPECT_EQ(chooser.requests().size(), 3u);
}

TEST(OutputFileDialog, ChosenFileIsEmptiedAtOnce) {
    fakes::FakeTextFiles files;
    fakes::FakeDialogs dialogs;
    fakes::FakeFileChooser chooser;
    fakes::FakeAppInfo app;
    OutputFileDialog dialog(files, dialogs, app);
    files.setContent("/data/old.log", "# Instrument: x\r\nold data\r\n");
    chooser.answer = "/data/old.log";
    EXPECT_EQ(dialog.ManageOutputDialog(chooser, OutputFile{}), "/data/old.log");
    EXPECT_TRUE(files.exists("/data/old.log"));
    EXPECT_EQ(files.content("/data/old.log"), "");
    chooser.answer = "/data/new.log";
    EXPECT_EQ(dialog.ManageOutputDialog(chooser, OutputFile{}), "/data/new.log");
    EXPECT_TRUE(files.exists("/data/new.log"));
}

struct OpenFailure {
    int error;
    const char* hint;
};

void PrintTo(const OpenFailure& c, std::ostream* os) {
    *os << "errno " << c.error;
}

class OutputFileOpenFailure : public ::testing::TestWithParam<OpenFailure> {};

TEST_P(OutputFileOpenFailure, MessageByKindOfFailure) {
    fakes::FakeTextFiles files;
    fakes::FakeDialogs dialogs;
    fakes::FakeFileChooser chooser;
    fakes::FakeAppInfo app;
    OutputFileDialog dialog(files, dialogs, app);
    const OpenFailure& c = GetParam();
    files.failing.emplace("/data/x.log", Failure(c.error, std::strerror(c.error)));
    chooser.answer = "/data/x.log";
    EXPECT_EQ(dialog.ManageOutputDialog(chooser, OutputFile{}), "");
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].text, "ManageOutputDialog - \r\n" + std::to_string(c.error) +
                                              "  " + std::strerror(c.error) + c.hint);
    EXPECT_EQ(dialogs.messages()[0].title, "Quorvane");
}

const char* const kBusy = "\r\n(Existing file may be opened for use by another program.)";
const char* const kReadOnly = "\r\n(Existing file may have properites set to read-only.)";

INSTANTIATE_TEST_SUITE_P(Errors, OutputFileOpenFailure,
                         ::testing::Values(OpenFailure{EBUSY, kBusy}, OpenFailure{ETXTBSY, kBusy},
                                           OpenFailure{EACCES, kReadOnly},
                                           OpenFailure{EPERM, kReadOnly},
                                           OpenFailure{EROFS, kReadOnly}, OpenFailure{ENOENT, ""},
                                           OpenFailure{ENOSPC, ""}, OpenFailure{EISDIR, ""}));

struct SplitCase {
    const char* chosen;
    const char* directory;
    const char* name;
};

void PrintTo(const SplitCase& c, std::ostream* os) {
    *os << '"' << c.chosen << '"';
}

class SetOutputFileSplit : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SetOutputFileSplit, DirectoryAndNameAtTheLastSeparator) {
    RunRig rig;
    const SplitCase& c = GetParam();
    rig.ui.CommonDialog1.answer = c.chosen;
    rig.ui.CommonDialog1.answerFilterIndex = 2;
    EXPECT_FALSE(rig.run.lifecycle().setOutputFile());
    EXPECT_EQ(rig.ui.lblFilename.caption(), c.chosen);
    EXPECT_EQ(rig.output.outputDirectory, c.directory);
    EXPECT_EQ(rig.output.outputFileName, c.name);
    EXPECT_EQ(rig.output.outputFilterIndex, 2);
    EXPECT_TRUE(rig.dialogs.messages().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Paths, SetOutputFileSplit,
    ::testing::Values(SplitCase{"/data/runs/run1.log", "/data/runs/", "run1.log"},
                      // The name loses its leading space, the folder keeps it: joined
                      // they still name the chosen file.
                      SplitCase{"/data/runs/ run1.log", "/data/runs/ ", "run1.log"},
                      SplitCase{"run1.log", "", "run1.log"},
                      SplitCase{"/run1.log", "/", "run1.log"},
                      SplitCase{"  /data/a b/x.txt  ", "/data/a b/", "x.txt"}));

TEST(SetOutputFile, NothingChosenKeepsTheLastChoice) {
    RunRig rig;
    rig.ready("0", "0", "0");
    ASSERT_EQ(rig.output.outputFileName, "run1.log");
    rig.ui.CommonDialog1.answer.reset();
    rig.ui.cmdNewRun.click();
    EXPECT_EQ(rig.ui.lblFilename.caption(), "");
    EXPECT_EQ(rig.output.outputFileName, "run1.log");
    EXPECT_EQ(rig.output.outputDirectory, "/data/");
    EXPECT_EQ(rig.status(), "Stopped");
    EXPECT_EQ(rig.eventTexts(), kComsCheckEvents);
    EXPECT_TRUE(rig.dialogs.messages().empty());
}

TEST(SetOutputFile, ReadOnlyFileLeavesTheWindowWhereResetLeftIt) {
    RunRig rig;
    rig.files.failing.emplace("/data/ro.log", Failure(EACCES, std::strerror(EACCES)));
    rig.ui.CommonDialog1.answer = "/data/ro.log";
    rig.ui.cmdNewRun.click();
    ASSERT_EQ(rig.dialogs.messages().size(), 1u);
    EXPECT_NE(rig.dialogs.messages()[0].text.find(
                  "(Existing file may have properites set to read-only.)"),
              std::string::npos);
    EXPECT_EQ(rig.status(), "Waiting");
    EXPECT_FALSE(rig.ui.cmdRun.isEnabled());
    EXPECT_EQ(rig.output.outputFileName, "");
}

TEST(SetOutputFile, DataLinesGoToTheChosenFile) {
    RunRig rig;
    rig.output = OutputFile{"/elsewhere/", "other.log", 1};
    rig.ready("0", "5", "0");
    EXPECT_EQ(rig.output.path(), RunRig::kDataFile);
    EXPECT_EQ(rig.output.outputFilterIndex, 1);
    rig.ui.cmdRun.click();
    EXPECT_FALSE(rig.files.content(RunRig::kDataFile).empty());
    EXPECT_FALSE(rig.files.exists("/elsewhere/other.log"));
}

// The chooser starts where the operator can create a file: in the home folder when the
// folder it would start in is the program folder and that cannot be written (a bare name
// typed there would fail), in the stored folder otherwise.
TEST(OutputFileDialog, AnUnwritableProgramFolderStartsTheChooserInTheHomeFolder) {
    struct Case {
        const char* stored;
        bool programFolderWritable;
        const char* startFolder;
    };
    for (const Case& c :
         {Case{"/opt/quorvane/", false, "/home/op/"},
          Case{"/opt/quorvane/", true, "/opt/quorvane/"}, Case{"/data/runs/", false, "/data/runs/"},
          Case{"", false, "/home/op/"}}) {
        SCOPED_TRACE(std::string(c.stored) + (c.programFolderWritable ? " writable" : ""));
        RunRig rig;
        if (!c.programFolderWritable) {
            rig.files.unwritableFolders.insert("/opt/quorvane");
        }
        rig.output.outputDirectory = c.stored;
        rig.output.outputFilterIndex = 1;
        rig.ui.CommonDialog1.answer = std::nullopt;
        rig.ui.cmdNewRun.click();
        ASSERT_FALSE(rig.ui.CommonDialog1.requests().empty());
        const FileChooserRequest& request = rig.ui.CommonDialog1.requests().back();
        EXPECT_EQ(request.initialFolder, c.startFolder);
        EXPECT_EQ(request.initialFileName, std::string(c.startFolder) + "*.log");
        EXPECT_EQ(rig.output.outputDirectory, c.stored); // nothing stored until a choice
    }
}

} // namespace
} // namespace quorvane::testing
