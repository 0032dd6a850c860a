#include "logging/OutputFileDialog.h"

#include "platform/Failure.h"
#include "util/ErrorText.h"

#include <cerrno>

namespace quorvane {

namespace {

// The hint added under the error, by the kind of failure the file system reported.
std::string hintFor(int error) {
    switch (error) {
    case EBUSY:
    case ETXTBSY:
        return "\r\n(Existing file may be opened for use by another program.)";
    case EACCES:
    case EPERM:
    case EROFS:
        return "\r\n(Existing file may have properites set to read-only.)";
    default:
        return std::string();
    }
}

} // namespace

OutputFileDialog::OutputFileDialog(TextFiles& files, Dialogs& dialogs, const AppInfo& app)
    : m_files(files), m_dialogs(dialogs), m_app(app) {}

std::string OutputFileDialog::startFolder(const OutputFile& lastChoice) const {
    const std::string& stored = lastChoice.outputDirectory;
    const std::string program = m_app.programFolder();
    const bool inProgramFolder = stored.empty() || stored == program || stored == program + "/";
    if (!inProgramFolder || m_files.isWritableFolder(program)) {
        return stored;
    }
    std::string home = m_app.homeFolder();
    if (home.empty() || home.back() != '/') {
        home += '/';
    }
    return home;
}

FileChooserRequest OutputFileDialog::requestFor(const OutputFile& lastChoice) {
    FileChooserRequest request;
    request.title = "Set Output File";
    request.filters = {{"log files (*.log)", "*.log"},
                       {"txt files (*.txt) ", "*.txt"},
                       {"All files (*.*)", "*.*"}};
    request.confirmOverwrite = true;
    request.confirmCreate = true;
    // The list starts on the filter whose pattern the initial name carries; an index that
    // names no filter (0, the default) means all files.
    const char* pattern = "*.*";
    int filter = 3;
    if (lastChoice.outputFilterIndex == 1 || lastChoice.outputFilterIndex == 2) {
        filter = lastChoice.outputFilterIndex;
        pattern = filter == 1 ? "*.log" : "*.txt";
    }
    request.initialFileName = lastChoice.outputDirectory + pattern;
    request.initialFolder = lastChoice.outputDirectory;
    request.filterIndex = filter;
    return request;
}

std::string OutputFileDialog::ManageOutputDialog(FileChooser& theDlg,
                                                 const OutputFile& lastChoice) {
    std::optional<std::string> chosen;
    try {
        OutputFile start = lastChoice;
        start.outputDirectory = startFolder(lastChoice);
        chosen = theDlg.choose(requestFor(start));
    } catch (...) {
        return std::string();
    }
    if (!chosen || chosen->empty()) {
        return std::string();
    }
    const std::string name = *chosen;
    if (m_onChosen) {
        m_onChosen();
    }
    try {
        m_files.createEmpty(name);
    } catch (const std::exception& error) {
        // Only the file service's failures carry errno; the program's own numbers do not.
        const auto* failure = dynamic_cast<const Failure*>(&error);
        m_dialogs.showMessage("ManageOutputDialog - \r\n" + errorLine(error) +
                                  (failure ? hintFor(failure->number()) : std::string()),
                              "Quorvane");
        return std::string();
    }
    return name;
}

} // namespace quorvane
