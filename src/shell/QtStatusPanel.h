#pragma once

#include "platform/StatusPanel.h"

class QFrame;
class QLabel;
class QWidget;

namespace quorvane {

// One panel of the status bar: a sunken frame holding a picture and a text.
class QtStatusPanel : public StatusPanel {
public:
    // widthPx: the panel's fixed width; the panel widget is created as a child of parent.
    QtStatusPanel(QWidget* parent, int widthPx);

    std::string text() const override { return m_text; }
    void setText(const std::string& text) override;
    // A picture that cannot be loaded leaves the panel without one (an old light would
    // show a state that no longer holds).
    bool setPicture(const std::string& path) override;

    QFrame* widget() const { return m_frame; }
    QLabel* textLabel() const { return m_textLabel; }
    bool hasPicture() const;

private:
    QFrame* m_frame;
    QLabel* m_picture;
    QLabel* m_textLabel;
    std::string m_text;
};

} // namespace quorvane
