#pragma once

#include <QSize>
#include <QString>

namespace quorvane {

// What the command line asked for.
struct ViewerOptions {
    QString file;       // empty: follow the program when its event log exists
    QString eventsPath; // the program's event log; empty: beside this program
    QString exportPng;
    QString exportSvg;
    QString exportCsv;
    QString probe; // a probe profile file for the reduction
    QSize size{1200, 700};
    bool help = false;

    // An export was asked for: no window, an exit status.
    bool batch() const {
        return !exportPng.isEmpty() || !exportSvg.isEmpty() || !exportCsv.isEmpty();
    }
};

} // namespace quorvane
