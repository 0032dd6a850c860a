#pragma once

#include "platform/OptionButton.h"

#include <QObject>

class QRadioButton;

namespace quorvane {

// One option button of an auto-exclusive pair (both in the same parent). The click
// reaction runs when it becomes selected, by the operator or from code.
class QtOptionButton : public QObject, public OptionButton {
    Q_OBJECT
public:
    explicit QtOptionButton(QRadioButton* button);

    bool isSelected() const override;
    // Clearing works although the group is exclusive, so both may end up clear.
    void setSelected(bool selected) override;
    bool isEnabled() const override;
    void setEnabled(bool enabled) override;

    void onClicked(std::function<void()> reaction) override { m_clicked = std::move(reaction); }

    QRadioButton* widget() const { return m_button; }

private:
    void handleToggled(bool checked);

    QRadioButton* m_button;
    std::function<void()> m_clicked;
};

} // namespace quorvane
