#include "shell/FrmAbout.h"

#include "platform/AppInfo.h"
#include "shell/FrmMain.h"
#include "shell/QtStrings.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QStringList>

namespace quorvane {

namespace {

constexpr double kTwipsPerPixel = 15.0;

QRect twips(double left, double top, double width, double height) {
    return QRectF(left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel,
                  height / kTwipsPerPixel)
        .toRect();
}

// Not bold, explicitly: inside a bold frame an unset weight would be inherited.
QFont normalFont() {
    QFont font = FrmMain::designFont();
    font.setBold(false);
    return font;
}

QFont boldFont() {
    QFont font = normalFont();
    font.setBold(true);
    return font;
}

QLabel* makeLabel(QWidget* parent, const char* name, const char* caption, const QRect& geometry,
                  bool bold) {
    auto* label = new QLabel(QString::fromUtf8(caption), parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Set either way: a label inside a bold frame would otherwise inherit its bold caption.
    label->setFont(bold ? boldFont() : normalFont());
    return label;
}

QString toShownLines(QString text) {
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

} // namespace

QPointer<FrmAbout> FrmAbout::s_instance;

FrmAbout* FrmAbout::instance() {
    return s_instance.data();
}

FrmAbout* FrmAbout::showAbout(const AppInfo& app, QWidget* parent) {
    if (s_instance) {
        s_instance->show();
        s_instance->raise();
        s_instance->activateWindow();
        return s_instance;
    }
    auto* about = new FrmAbout(app, parent);
    s_instance = about;
    about->load();
    about->show();
    return about;
}

FrmAbout::FrmAbout(const AppInfo& app, QWidget* parent) : QWidget(parent, Qt::Window), m_app(app) {
    setObjectName(QStringLiteral("frmAbout"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("About"));
    setFixedSize(twips(0, 0, 5568, 6864).size());
    setFont(normalFont());

    m_lblTitle = makeLabel(this, "lblTitle", "Application Title", twips(60, 120, 1812, 240), true);
    QPalette black = m_lblTitle->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    m_lblTitle->setPalette(black);
    m_lblVersion = makeLabel(this, "lblVersion", "Version", twips(2940, 120, 1032, 228), true);
    makeLabel(this, "lblCopyright", "Copyright \u00a9 the Quorvane project",
              twips(60, 480, 4332, 252), true);
    makeLabel(this, "Label1", "The Quorvane project, through its issue tracker",
              twips(60, 840, 4452, 312), true);

    auto* terms = new QGroupBox(QStringLiteral("Terms of Use"), this);
    terms->setObjectName(QStringLiteral("Frame2"));
    terms->setGeometry(twips(0, 1260, 5532, 2292));
    terms->setFont(boldFont());
    m_lblTermsOfUse =
        makeLabel(terms, "lblTermsOfUse", "lblTermsOfUse", twips(120, 300, 5172, 1872), false);
    m_lblTermsOfUse->setWordWrap(true);

    auto* licensing = new QGroupBox(QStringLiteral("Additional  Licensing Information"), this);
    licensing->setObjectName(QStringLiteral("Frame1"));
    licensing->setGeometry(twips(0, 3660, 5532, 3192));
    licensing->setFont(boldFont());
    m_label5 = makeLabel(licensing, "Label5", "Label5", twips(180, 300, 5232, 2832), false);
    m_label5->setWordWrap(true);
}

FrmAbout::~FrmAbout() = default;

void FrmAbout::load() {
    const std::string title = m_app.title();
    const Version v = m_app.version();
    setWindowTitle(toQString("About " + title));
    m_lblVersion->setText(toQString("Vsn: " + std::to_string(v.major) + "." +
                                    std::to_string(v.minor) + "." + std::to_string(v.revision)));
    m_lblTitle->setText(toQString("Title: " + title));
    m_lblTermsOfUse->setText(toShownLines(termsOfUse()));
    m_label5->setText(toShownLines(credits()));
    // Paint the captions before the load is over.
    QCoreApplication::processEvents();
}

// Eight lines joined by CR LF, as the program has always kept them; the label shows CR LF
// as one break.
QString FrmAbout::termsOfUse() {
    const QStringList lines = {
        QStringLiteral("The Quorvane project provides this application, its"),
        QStringLiteral("documentation and code \"as is\", with no warranty, express"),
        QStringLiteral("or implied, of quality, consistency or fitness for any purpose."),
        QStringLiteral("It is provided without support and without any obligation of"),
        QStringLiteral("the Quorvane project to assist in its use, correction,"),
        QStringLiteral("modification or enhancement. This information is not to be"),
        QStringLiteral("published or distributed to third parties without the written"),
        QStringLiteral("permission of the Quorvane project, at its issue tracker."),
    };
    return lines.join(QStringLiteral("\r\n"));
}

QString FrmAbout::credits() {
    const QStringList lines = {
        QStringLiteral("Qt 6 toolkit: copyright \u00a9 The Qt Company Ltd. and"),
        QStringLiteral("other contributors, used under the GNU Lesser General"),
        QStringLiteral("Public License version 3 (LGPL v3). The program links the"),
        QStringLiteral("Core, Gui, Widgets and Serial Port modules unmodified."),
        QString(),
        QStringLiteral("Long-interval timer and auto-resizer: classes of the"),
        QStringLiteral("Quorvane project (QtLongTimer, Resizer), built on Qt's"),
        QStringLiteral("QTimer and widget geometry. They are distributed with the"),
        QStringLiteral("program subject to its copyright and licence terms."),
    };
    return lines.join(QStringLiteral("\r\n"));
}

} // namespace quorvane
