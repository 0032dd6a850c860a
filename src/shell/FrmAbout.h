#pragma once

#include <QPointer>
#include <QWidget>

class QGroupBox;
class QLabel;

namespace quorvane {

class AppInfo;

// The About box: title, version, terms of use and the notes on the components the program
// is built from. Modeless; closing it unloads it.
class FrmAbout : public QWidget {
    Q_OBJECT
public:
    // Shows the About box: brings the open one to the front, or loads a new one.
    static FrmAbout* showAbout(const AppInfo& app, QWidget* parent = nullptr);
    // The open About box, or null.
    static FrmAbout* instance();

    FrmAbout(const AppInfo& app, QWidget* parent = nullptr);
    ~FrmAbout() override;

    // The window's load: captions from the application's title and version, the texts,
    // then one pass of pending events.
    void load();

    static QString termsOfUse();
    static QString credits();

private:
    const AppInfo& m_app;
    QLabel* m_lblTitle;
    QLabel* m_lblVersion;
    QLabel* m_lblTermsOfUse;
    QLabel* m_label5;

    static QPointer<FrmAbout> s_instance;
};

} // namespace quorvane
