#pragma once

#include "platform/Button.h"

#include <QObject>
#include <QPalette>

class QPushButton;

namespace quorvane {

// A command button. A caption too wide for it is shown on two lines. The background is painted
// through the palette, which the Fusion style honours; the button-face colour restores the look the
// button was created with.
class QtButton : public QObject, public Button {
    Q_OBJECT
public:
    explicit QtButton(QPushButton* button);

    std::string caption() const override;
    void setCaption(const std::string& caption) override;
    bool isEnabled() const override;
    void setEnabled(bool enabled) override;
    Color background() const override { return m_background; }
    void setBackground(Color color) override;
    void setFocus() override;

    void onClicked(std::function<void()> reaction) override { m_clicked = std::move(reaction); }

    QPushButton* widget() const { return m_button; }

private:
    void handleClicked();
    QString wrapped(const QString& caption) const;

    QPushButton* m_button;
    QPalette m_facePalette;
    std::string m_caption;
    Color m_background = Color::buttonFace();
    std::function<void()> m_clicked;
};

} // namespace quorvane
