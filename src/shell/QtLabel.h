#pragma once

#include "platform/Label.h"

class QLabel;

namespace quorvane {

// A label; the caption is kept exactly as given, CR LF shown as a line break.
class QtLabel : public Label {
public:
    explicit QtLabel(QLabel* label);

    std::string caption() const override { return m_caption; }
    void setCaption(const std::string& caption) override;

    QLabel* widget() const { return m_label; }

private:
    QLabel* m_label;
    std::string m_caption;
};

} // namespace quorvane
