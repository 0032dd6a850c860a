#include "shell/FrmMain.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>
#include <algorithm>

namespace quorvane {

namespace {

constexpr double kClientWidth = 8676;
constexpr double kClientHeight = 7248;
constexpr double kStatusBarHeight = 372;

// The tab control's pages start below its row of tabs. Its children are designed in the
// tab control's own coordinates; on a page they sit this much further up and left, and
// the page is designed as the tab control less that band (the resizer absorbs whatever
// height the toolkit's tab row really takes).
constexpr double kTabLeft = 120, kTabTop = 2520, kTabWidth = 8472, kTabHeight = 4272;
constexpr double kPageOffsetX = 60;
constexpr double kPageOffsetY = 300;

double toPixels(double twips) {
    return twips / FrmMain::kTwipsPerPixel;
}

QSizeF pixelSize(double widthTwips, double heightTwips) {
    return QSizeF(toPixels(widthTwips), toPixels(heightTwips));
}

QString indexed(const QString& name, int index) {
    return name + u'(' + QString::number(index) + u')';
}

// Value labels, written by the program, look sunken so they stand apart from captions.
QLabel* makeValueLabel(QWidget* parent, const QString& name) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

QLabel* makeCaptionLabel(QWidget* parent, const QString& name, const QString& caption) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QGroupBox* makeGroup(QWidget* parent, const QString& name, const QString& caption) {
    auto* group = new QGroupBox(caption, parent);
    group->setObjectName(name);
    return group;
}

} // namespace

QFont FrmMain::designFont() {
    QFont font = QApplication::font();
    // A narrow face where the system has one: the usual desktop faces are wider than the
    // dialog font the places were drawn for.
    font.setFamilies({QStringLiteral("DejaVu Sans Condensed"),
                      QStringLiteral("Liberation Sans Narrow"),
                      QStringLiteral("Nimbus Sans Narrow"), font.family()});
    font.setPointSizeF(kDesignFontPoints);
    return font;
}

QSize FrmMain::designClientSize() {
    return QSize(static_cast<int>(toPixels(kClientWidth) + 0.5),
                 static_cast<int>(toPixels(kClientHeight) + 0.5));
}

FrmMain::FrmMain(SettingsStore* portPaths, QWidget* parent)
    : QMainWindow(parent), m_resizer(this), m_frame(this), m_MSComm1(portPaths),
      m_CommonDialog1(this) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Quorvane"));
    setFont(designFont());

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("frmMainClient"));
    setCentralWidget(central);
    const QSizeF centralSize = pixelSize(kClientWidth, kClientHeight - kStatusBarHeight);

    buildTopBand(central, centralSize);
    buildRunFrame(central, centralSize);
    buildTabs(central, centralSize);
    buildStatusBar();
    buildMenus();
    buildFocusOrder();
    fillView();

    m_tmrCheckSerialInput.setObjectName(QStringLiteral("tmrCheckSerialInput"));
    m_tmrOneSecond.setObjectName(QStringLiteral("tmrOneSecond"));
    m_tmrLogInterval.setObjectName(QStringLiteral("tmrLogInterval"));
    m_tmrHeatDelay.setObjectName(QStringLiteral("tmrHeatDelay"));
    m_tmrHeatTime.setObjectName(QStringLiteral("tmrHeatTime"));
    m_MSComm1.setObjectName(QStringLiteral("MSComm1"));
    m_resizer.setObjectName(QStringLiteral("Resizer1"));

    // Client area as designed; the menu bar comes on top of it.
    const int menuHeight = menuBar()->sizeHint().height();
    const int statusHeight =
        std::max(statusBar()->sizeHint().height(), statusBar()->minimumHeight());
    resize(static_cast<int>(centralSize.width() + 0.5),
           static_cast<int>(centralSize.height() + 0.5) + menuHeight + statusHeight);
}

FrmMain::~FrmMain() = default;

void FrmMain::place(QWidget* control, double left, double top, double width, double height,
                    const QSizeF& parentSize, const QString& tag) {
    const QRectF design(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
    if (tag.isEmpty()) {
        control->setGeometry(design.toRect());
    } else {
        m_resizer.add(control, design, parentSize, tag);
    }
}

QtButton* FrmMain::adoptButton(QWidget* button) {
    m_buttons.push_back(std::make_unique<QtButton>(static_cast<QPushButton*>(button)));
    return m_buttons.back().get();
}

QtLabel* FrmMain::adoptLabel(QWidget* label) {
    m_labels.push_back(std::make_unique<QtLabel>(static_cast<QLabel*>(label)));
    return m_labels.back().get();
}

QtTextField* FrmMain::adoptField(QWidget* field) {
    m_fields.push_back(std::make_unique<QtTextField>(static_cast<QLineEdit*>(field)));
    return m_fields.back().get();
}

void FrmMain::buildTopBand(QWidget* central, const QSizeF& centralSize) {
    auto button = [&](const char* name, const char* caption, double left, double width) {
        auto* b = new QPushButton(QString::fromLatin1(caption), central);
        b->setObjectName(QString::fromLatin1(name));
        place(b, left, 60, width, 432, centralSize);
        return adoptButton(b);
    };
    m_view.cmdNewRun = button("cmdNewRun", "Initialize", 120, 792);
    m_view.cmdRun = button("cmdRun", "Start Run", 1200, 852);
    m_view.cmdResume = button("cmdResume", "Resume", 2340, 852);
    m_view.cmdFinish = button("cmdFinish", "Finish Run", 3480, 852);

    auto* heater = new QCheckBox(QStringLiteral("Allow Heater Commands"), central);
    heater->setObjectName(QStringLiteral("chkHeaterEnabled"));
    // Wider than the designed 1692 twips so that the caption fits the toolkit's indicator
    // and font; the room up to cmdTestComs is free.
    place(heater, 5280, 60, 2160, 372, centralSize);
    m_chkHeaterEnabled = std::make_unique<QtCheckBox>(heater);
    m_view.chkHeaterEnabled = m_chkHeaterEnabled.get();

    m_view.cmdTestComs = button("cmdTestComs", "Coms Check", 7620, 852);
}

void FrmMain::buildRunFrame(QWidget* central, const QSizeF& centralSize) {
    QGroupBox* frame = makeGroup(central, QStringLiteral("Frame1"), QString());
    place(frame, 60, 600, 8412, 1812, centralSize, QStringLiteral("W"));
    m_Frame1 = std::make_unique<QtFrame>(frame);
    m_view.Frame1 = m_Frame1.get();
    const QSizeF frameSize = pixelSize(8412, 1812);

    auto caption = [&](const char* name, const char* text, double left, double top, double width,
                       double height, bool wraps) {
        QLabel* label =
            makeCaptionLabel(frame, QString::fromLatin1(name), QString::fromLatin1(text));
        label->setWordWrap(wraps);
        place(label, left, top, width, height, frameSize);
    };
    auto value = [&](const char* name, double left, double top, double width, double height) {
        QLabel* label = makeValueLabel(frame, QString::fromLatin1(name));
        place(label, left, top, width, height, frameSize);
        return adoptLabel(label);
    };
    auto field = [&](const char* name, double left, double width) {
        auto* edit = new QLineEdit(QStringLiteral("0"), frame);
        edit->setObjectName(QString::fromLatin1(name));
        place(edit, left, 720, width, 312, frameSize);
        return adoptField(edit);
    };

    // Row 1: the data log file.
    caption("Label1", "OutputFile:", 120, 300, 792, 252, false);
    m_view.lblFilename = value("lblFilename", 1020, 240, 7212, 312);
    // Row 2: the run parameters.
    // Up to the field and as high as the other captions of the row: the designed 852 x 372
    // twips take only "Log" and "Interval", and cut off "(seconds):".
    caption("Label3", "Log Interval (seconds):", 120, 660, 948, 432, true);
    m_view.txtLogInterval = field("txtLogInterval", 1080, 732);
    caption("Label4", "Heat Delay (seconds):", 2100, 660, 912, 432, true);
    m_view.txtHeatDelay = field("txtHeatDelay", 3000, 732);
    caption("Label5", "Heat Time (seconds):", 4020, 660, 852, 432, true);
    m_view.txtHeatTime = field("txtHeatTime", 4860, 792);
    caption("Label6", "Heat Level (0-200):", 5940, 660, 912, 432, true);
    m_view.txtHeatLevel = field("txtHeatLevel", 6780, 612);
    // Row 3: the counts and the log option.
    caption("Label2", "RunTime:", 120, 1296, 732, 252, false);
    m_view.lblElapsedTime = value("lblElapsedTime", 1080, 1260, 732, 312);
    m_view.lblHeatDelayRemaining = value("lblHeatDelayRemaining", 3000, 1260, 732, 312);
    m_view.lblHeatTimeRemaining = value("lblHeatTimeRemaining", 4860, 1260, 792, 312);

    auto* options = new QFrame(frame);
    options->setObjectName(QStringLiteral("Frame7"));
    options->setFrameStyle(QFrame::NoFrame);
    // Wide enough for "Log Temperature" (the designed 2052 twips cut it).
    place(options, 6000, 1200, 2292, 552, frameSize);
    const char* optionCaptions[2] = {"Log Hex", "Log Temperature"};
    const double optionTops[2] = {0, 240};
    const double optionWidths[2] = {1272, 1752};
    for (int i = 0; i < 2; ++i) {
        auto* radio = new QRadioButton(QString::fromLatin1(optionCaptions[i]), options);
        radio->setObjectName(indexed(QStringLiteral("Option1"), i));
        // The designed 192 twips are too low for the toolkit's indicator; grow downwards.
        place(radio, 540, optionTops[i], optionWidths[i], 252, pixelSize(2292, 552));
        m_Option1[static_cast<std::size_t>(i)] = std::make_unique<QtOptionButton>(radio);
        m_view.Option1[static_cast<std::size_t>(i)] = m_Option1[static_cast<std::size_t>(i)].get();
    }
    m_Option1[0]->widget()->setChecked(true);
}

void FrmMain::buildTabs(QWidget* central, const QSizeF& centralSize) {
    m_SSTab1 = new QTabWidget(central);
    m_SSTab1->setObjectName(QStringLiteral("SSTab1"));
    place(m_SSTab1, kTabLeft, kTabTop, kTabWidth, kTabHeight, centralSize, QStringLiteral("HW"));
    const QSizeF pageSize = pixelSize(kTabWidth - 2 * kPageOffsetX, kTabHeight - kPageOffsetY);

    const char* captions[4] = {"ComputedData", "LoggedData", "Serial Line In", "Events"};
    std::array<QWidget*, 4> pages{};
    for (int i = 0; i < 4; ++i) {
        pages[static_cast<std::size_t>(i)] = new QWidget;
        pages[static_cast<std::size_t>(i)]->setObjectName(indexed(QStringLiteral("SSTab1.Tab"), i));
        m_SSTab1->addTab(pages[static_cast<std::size_t>(i)], QString::fromLatin1(captions[i]));
    }
    buildComputedData(pages[0], pageSize);
    buildPaneTab(pages[1], pageSize, "txtLoggedDataDisplay", "cmdClearLoggedDisplay",
                 QtTextPane::Encoding::Utf8);
    buildPaneTab(pages[2], pageSize, "txtComsDisplay", "cmdClearSerialDisplay",
                 QtTextPane::Encoding::Latin1);
    buildPaneTab(pages[3], pageSize, "txtEventLog", "cmdClearEventsDisplay",
                 QtTextPane::Encoding::Utf8);
    m_view.txtLoggedDataDisplay = m_panes[0].get();
    m_view.txtComsDisplay = m_panes[1].get();
    m_view.txtEventLog = m_panes[2].get();
    m_view.cmdClearLoggedDisplay = m_buttons[m_buttons.size() - 3].get();
    m_view.cmdClearSerialDisplay = m_buttons[m_buttons.size() - 2].get();
    m_view.cmdClearEventsDisplay = m_buttons[m_buttons.size() - 1].get();

    m_SSTab1->setCurrentIndex(kEventsTab);
    connect(m_SSTab1, &QTabWidget::currentChanged, this, &FrmMain::handleTabChanged);
}

void FrmMain::buildPaneTab(QWidget* page, const QSizeF& pageSize, const char* paneName,
                           const char* clearName, QtTextPane::Encoding encoding) {
    auto* edit = new QPlainTextEdit(page);
    edit->setObjectName(QString::fromLatin1(paneName));
    place(edit, 120 - kPageOffsetX, 360 - kPageOffsetY, 8232, 3552, pageSize, QStringLiteral("HW"));
    m_panes.push_back(std::make_unique<QtTextPane>(edit, encoding));

    auto* clear = new QPushButton(QStringLiteral("Clear"), page);
    clear->setObjectName(QString::fromLatin1(clearName));
    place(clear, 7680 - kPageOffsetX, 3960 - kPageOffsetY, 672, 252, pageSize,
          QStringLiteral("XY"));
    adoptButton(clear);
}

void FrmMain::buildComputedData(QWidget* page, const QSizeF& pageSize) {
    QGroupBox* frame2 = makeGroup(page, QStringLiteral("Frame2"), QString());
    place(frame2, 180 - kPageOffsetX, 480 - kPageOffsetY, 7932, 3372, pageSize,
          QStringLiteral("HW"));
    const QSizeF frame2Size = pixelSize(7932, 3372);
    const QString xy = QStringLiteral("XY");
    const QString h = QStringLiteral("H");
    int captionNumber = 10; // the row captions are Label10 to Label33

    auto rowCaption = [&](QWidget* parent, const QString& text, double top, double width) {
        QLabel* label = makeCaptionLabel(
            parent, QStringLiteral("Label") + QString::number(captionNumber++), text);
        place(label, 120, top, width, 288, QSizeF());
    };

    // Hex and Decimal: seven rows, the two references and the five thermistors.
    const double hexTops[7] = {300, 660, 1140, 1500, 1860, 2220, 2580};
    const char* hexCaptions[7] = {"100K", "20K", "1", "2", "3", "4", "5"};

    QGroupBox* frame3 = makeGroup(frame2, QStringLiteral("Frame3"), QStringLiteral("Hex"));
    place(frame3, 240, 240, 1332, 2952, frame2Size, xy);
    for (int i = 0; i < 7; ++i) {
        rowCaption(frame3, QString::fromLatin1(hexCaptions[i]), hexTops[i], 432);
        auto* edit = new QLineEdit(frame3);
        edit->setObjectName(indexed(QStringLiteral("txtHex"), i));
        place(edit, 600, hexTops[i], 552, 288, pixelSize(1332, 2952), h);
        m_view.txtHex[static_cast<std::size_t>(i)] = adoptField(edit);
    }

    QGroupBox* frame4 = makeGroup(frame2, QStringLiteral("Frame4"), QStringLiteral("Decimal"));
    place(frame4, 1740, 240, 1572, 2952, frame2Size, xy);
    for (int i = 0; i < 7; ++i) {
        rowCaption(frame4, QString::fromLatin1(hexCaptions[i]), hexTops[i], 432);
        QLabel* label = makeValueLabel(frame4, indexed(QStringLiteral("lblDec"), i));
        place(label, 600, hexTops[i], 852, 288, pixelSize(1572, 2952), h);
        m_view.lblDec[static_cast<std::size_t>(i)] = adoptLabel(label);
    }

    QGroupBox* frame8 = makeGroup(frame2, QStringLiteral("Frame8"), QStringLiteral("Instrument"));
    place(frame8, 3480, 240, 3372, 612, frame2Size, xy);
    QLabel* sn = makeCaptionLabel(frame8, QStringLiteral("Label7"), QStringLiteral("S/N:"));
    place(sn, 120, 240, 432, 252, QSizeF());
    QLabel* instrument = makeValueLabel(frame8, QStringLiteral("lblInstrumentID"));
    place(instrument, 600, 240, 552, 252, QSizeF());
    m_view.lblInstrumentID = adoptLabel(instrument);
    QLabel* firmware = makeValueLabel(frame8, QStringLiteral("lblFirmwareID"));
    place(firmware, 1500, 240, 1812, 252, QSizeF());
    m_view.lblFirmwareID = adoptLabel(firmware);

    // Resistance and Temperature: the five thermistors.
    const double thermistorTops[5] = {420, 780, 1140, 1500, 1860};
    auto thermistorFrame = [&](const char* name, const char* caption, double left, double width,
                               const char* valueName, double valueLeft, double captionWidth,
                               std::array<Label*, 5>& target) {
        QGroupBox* frame =
            makeGroup(frame2, QString::fromLatin1(name), QString::fromLatin1(caption));
        place(frame, left, 960, width, 2232, frame2Size, xy);
        for (int i = 0; i < 5; ++i) {
            rowCaption(frame, QString::number(i + 1), thermistorTops[i], captionWidth);
            QLabel* label = makeValueLabel(frame, indexed(QString::fromLatin1(valueName), i));
            place(label, valueLeft, thermistorTops[i], 972, 288, pixelSize(width, 2232), h);
            target[static_cast<std::size_t>(i)] = adoptLabel(label);
        }
    };
    thermistorFrame("Frame5", "Resistance", 3480, 1632, "lblResistance", 360, 216,
                    m_view.lblResistance);
    thermistorFrame("Frame6", "Temperature", 5340, 1512, "lblTemperature", 420, 276,
                    m_view.lblTemperature);
}

void FrmMain::buildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setFixedHeight(static_cast<int>(toPixels(kStatusBarHeight) + 0.5));
    const double widths[7] = {570, 600, 300, 300, 300, 3040, 1440};
    for (int i = 0; i < 7; ++i) {
        auto panel =
            std::make_unique<QtStatusPanel>(bar, static_cast<int>(toPixels(widths[i]) + 0.5));
        panel->widget()->setObjectName(indexed(QStringLiteral("StatusBar1"), i + 1));
        bar->addWidget(panel->widget());
        m_view.StatusBar1[static_cast<std::size_t>(i + 1)] = panel.get();
        m_panels.push_back(std::move(panel));
    }
}

QAction* FrmMain::addMenuItem(QMenu* menu, const QString& name, int index, const QString& caption,
                              MenuId id) {
    QAction* item = menu->addAction(caption);
    item->setObjectName(indexed(name, index));
    connect(item, &QAction::triggered, this, [this, id, index] {
        if (m_menu) {
            m_menu(id, index);
        }
    });
    return item;
}

void FrmMain::buildMenus() {
    QMenuBar* bar = menuBar();
    auto topMenu = [&](QMenu* parent, const char* name, const char* caption) {
        QMenu* menu = parent ? parent->addMenu(QString::fromLatin1(caption))
                             : bar->addMenu(QString::fromLatin1(caption));
        menu->setObjectName(QString::fromLatin1(name));
        menu->menuAction()->setObjectName(QString::fromLatin1(name));
        return menu;
    };

    QMenu* file = topMenu(nullptr, "mnuFileTop", "File");
    QAction* exit = file->addAction(QStringLiteral("Exit"));
    exit->setObjectName(QStringLiteral("mnuFileExit"));
    connect(exit, &QAction::triggered, this, [this] {
        if (m_exit) {
            m_exit();
        }
    });

    QMenu* port = topMenu(nullptr, "mnuport", "Serial Port");
    for (int i = 1; i <= 4; ++i) {
        addMenuItem(port, QStringLiteral("mnucom"), i, QStringLiteral("COM") + QString::number(i),
                    MenuId::Port);
    }

    QMenu* speed = topMenu(nullptr, "mnuSpeed", "BaudRate");
    const char* speeds[7] = {"28800", "19200", "14400", "9600", "4800", "2400", "1200"};
    for (int i = 1; i <= 7; ++i) {
        addMenuItem(speed, QStringLiteral("mnuBaudRate"), i, QString::fromLatin1(speeds[i - 1]),
                    MenuId::BaudRate);
    }
    QMenu* parity = topMenu(speed, "mnuParity", "Parity");
    const char* parities[5] = {"Odd", "Even", "Mark", "Space", "None"};
    for (int i = 1; i <= 5; ++i) {
        addMenuItem(parity, QStringLiteral("mnuParityBit"), i, QString::fromLatin1(parities[i - 1]),
                    MenuId::Parity);
    }
    QMenu* data = topMenu(speed, "mnuData", "Data");
    addMenuItem(data, QStringLiteral("mnuDataBits"), 1, QStringLiteral("7"), MenuId::DataBits);
    addMenuItem(data, QStringLiteral("mnuDataBits"), 2, QStringLiteral("8"), MenuId::DataBits);
    QMenu* stop = topMenu(speed, "mnuStop", "Stop Bit");
    addMenuItem(stop, QStringLiteral("mnuStopBits"), 1, QStringLiteral("1"), MenuId::StopBits);
    addMenuItem(stop, QStringLiteral("mnuStopBits"), 2, QStringLiteral("2"), MenuId::StopBits);

    QAction* about = bar->addAction(QStringLiteral("About"));
    about->setObjectName(QStringLiteral("mnuAbout"));
    connect(about, &QAction::triggered, this, [this] {
        if (m_about) {
            m_about();
        }
    });
}

void FrmMain::buildFocusOrder() {
    std::vector<QWidget*> order = {
        static_cast<QtButton*>(m_view.cmdTestComs)->widget(),
        static_cast<QtButton*>(m_view.cmdRun)->widget(),
        static_cast<QtTextField*>(m_view.txtLogInterval)->widget(),
        static_cast<QtTextField*>(m_view.txtHeatDelay)->widget(),
        static_cast<QtTextField*>(m_view.txtHeatTime)->widget(),
        static_cast<QtTextField*>(m_view.txtHeatLevel)->widget(),
        m_SSTab1,
    };
    for (auto* field : m_view.txtHex) {
        order.push_back(static_cast<QtTextField*>(field)->widget());
    }
    for (const auto& pane : m_panes) {
        order.push_back(pane->widget());
    }
    for (auto* clear :
         {m_view.cmdClearLoggedDisplay, m_view.cmdClearSerialDisplay, m_view.cmdClearEventsDisplay,
          m_view.cmdNewRun, m_view.cmdResume, m_view.cmdFinish}) {
        order.push_back(static_cast<QtButton*>(clear)->widget());
    }
    order.push_back(m_chkHeaterEnabled->widget());
    order.push_back(m_Option1[0]->widget());
    order.push_back(m_Option1[1]->widget());
    for (std::size_t i = 1; i < order.size(); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
    order.front()->setFocus(Qt::OtherFocusReason);
}

void FrmMain::fillView() {
    m_view.frmMain = &m_frame;
    m_view.tmrCheckSerialInput = &m_tmrCheckSerialInput;
    m_view.tmrOneSecond = &m_tmrOneSecond;
    m_view.tmrLogInterval = &m_tmrLogInterval;
    m_view.tmrHeatDelay = &m_tmrHeatDelay;
    m_view.tmrHeatTime = &m_tmrHeatTime;
    m_view.MSComm1 = &m_MSComm1;
    m_view.CommonDialog1 = &m_CommonDialog1;
}

void FrmMain::handleTabChanged(int) {
    // The page just shown may have been hidden while the window changed size.
    m_resizer.apply();
}

void FrmMain::closeEvent(QCloseEvent* event) {
    if (!m_unloaded) {
        m_unloaded = true;
        if (m_unload) {
            m_unload();
        }
        // As if the window were destroyed: another window (the About box) may keep the
        // program alive, but nothing of this one ticks or reaches the instrument again.
        for (QtTimer* timer : {&m_tmrCheckSerialInput, &m_tmrOneSecond, &m_tmrLogInterval}) {
            timer->retire();
        }
        m_tmrHeatDelay.retire();
        m_tmrHeatTime.retire();
        m_MSComm1.retire();
    }
    event->accept();
}

} // namespace quorvane
