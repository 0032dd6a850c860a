#pragma once

#include "platform/CheckBox.h"

#include <QObject>

class QCheckBox;

namespace quorvane {

// A check box. Its click reaction follows the value, so a change from code runs it too.
class QtCheckBox : public QObject, public CheckBox {
    Q_OBJECT
public:
    explicit QtCheckBox(QCheckBox* box);

    bool isChecked() const override;
    void setChecked(bool checked) override;
    bool isEnabled() const override;
    void setEnabled(bool enabled) override;

    void onClicked(std::function<void()> reaction) override { m_clicked = std::move(reaction); }

    QCheckBox* widget() const { return m_box; }

private:
    void handleToggled(bool checked);

    QCheckBox* m_box;
    std::function<void()> m_clicked;
};

} // namespace quorvane
