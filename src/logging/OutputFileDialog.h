#pragma once

#include "logging/OutputFile.h"
#include "platform/AppInfo.h"
#include "platform/Dialogs.h"
#include "platform/FileChooser.h"
#include "platform/TextFiles.h"

#include <functional>
#include <string>

namespace quorvane {

// The choice of the data log file: the chooser set up from the last choice, and the chosen
// file created or emptied at once so that a file that cannot be written is known now.
class OutputFileDialog {
public:
    OutputFileDialog(TextFiles& files, Dialogs& dialogs, const AppInfo& app);

    // The full path of the chosen, now empty file; empty text when none was chosen or it
    // could not be written (after a message). The caller reads the filter index itself.
    std::string ManageOutputDialog(FileChooser& theDlg, const OutputFile& lastChoice);

    static FileChooserRequest requestFor(const OutputFile& lastChoice);
    // The folder the chooser starts in: the last choice's, unless that is the program
    // folder (or none) and the program folder cannot be written; then the home folder, where
    // a bare name typed by the operator can be created.
    std::string startFolder(const OutputFile& lastChoice) const;

    // Runs once a file has been chosen, before it is emptied: the file before may still
    // have lines to settle, and may be the one chosen again.
    void onChosen(std::function<void()> reaction) { m_onChosen = std::move(reaction); }

private:
    TextFiles& m_files;
    Dialogs& m_dialogs;
    const AppInfo& m_app;
    std::function<void()> m_onChosen;
};

} // namespace quorvane
