#pragma once

#include "platform/FileChooser.h"

class QFileDialog;
class QWidget;

namespace quorvane {

// The save-kind file dialog (the toolkit's own, not the desktop's), so that a new name can
// be typed. Cancel gives no path.
class QtFileChooser : public FileChooser {
public:
    explicit QtFileChooser(QWidget* parent = nullptr) : m_parent(parent) {}

    std::optional<std::string> choose(const FileChooserRequest& request) override;
    int filterIndex() const override { return m_filterIndex; }

    // The dialog while it is open (tests answer it), else null.
    QFileDialog* openDialog() const { return m_dialog; }

private:
    QWidget* m_parent;
    QFileDialog* m_dialog = nullptr;
    int m_filterIndex = 0;
};

} // namespace quorvane
