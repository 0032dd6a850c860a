#pragma once

#include <QLabel>

namespace quorvane {

// A label of the status bar that gives way when the window is narrow: it shrinks to a few
// characters and shows its text cut with "…" (the whole text in its tool tip) instead of
// pushing the labels after it out of the window.
class StatusLabel : public QLabel {
    Q_OBJECT
public:
    explicit StatusLabel(QWidget* parent = nullptr);

    void showText(const QString& text);
    QSize minimumSizeHint() const override;
    // True while the text does not fit and is shown cut.
    bool elided() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace quorvane
