#include "shell/QtFileChooser.h"

#include "shell/QtStrings.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

namespace quorvane {

namespace {

// "description (pattern)"; several patterns are separated by ';' in the request and by
// blanks in the dialog.
QString nameFilter(const FileFilter& filter) {
    QString pattern = toQString(filter.pattern).trimmed();
    pattern.replace(u';', u' ');
    const QString description = toQString(filter.description).trimmed();
    const QString shown = u'(' + pattern + u')';
    if (description.endsWith(shown)) {
        return description; // "log files (*.log)" already names its pattern
    }
    return description + u' ' + shown;
}

bool isPattern(const QString& name) {
    return name.contains(u'*') || name.contains(u'?');
}

} // namespace

std::optional<std::string> QtFileChooser::choose(const FileChooserRequest& request) {
    QFileDialog dialog(m_parent, toQString(request.title));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);

    QStringList filters;
    for (const auto& filter : request.filters) {
        filters << nameFilter(filter);
    }
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        const int index = request.filterIndex;
        dialog.selectNameFilter(filters.at(index >= 1 && index <= filters.size() ? index - 1 : 0));
    }

    // The initial name may carry a folder and may be a pattern such as "*.log", which the
    // filter list already expresses; only a real name is offered for editing.
    const QFileInfo initial(toQString(request.initialFileName));
    QString folder = toQString(request.initialFolder);
    if (folder.isEmpty() && request.initialFileName.find('/') != std::string::npos) {
        folder = initial.path();
    }
    if (!folder.isEmpty()) {
        dialog.setDirectory(folder);
    }
    if (!initial.fileName().isEmpty() && !isPattern(initial.fileName())) {
        dialog.selectFile(initial.fileName());
    }

    m_dialog = &dialog;
    const int result = dialog.exec();
    m_dialog = nullptr;

    m_filterIndex = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
    if (result != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return toStdString(dialog.selectedFiles().constFirst());
}

} // namespace quorvane
