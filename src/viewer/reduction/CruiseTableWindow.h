#pragma once

#include <QString>
#include <QWidget>

class QCustomPlot;
class QCPErrorBars;
class QCPGraph;
class QLabel;
class QPushButton;
class QTableView;

namespace quorvane {

class CruiseTableModel;

// A cruise table in a window of its own: its rows as a list that sorts by the column whose
// header is clicked, and the heat flow (with its error) of each station against its place in
// the table, which the table keeps in time order. A double-click on a row, or "Open data
// file", asks for that station's data log file to be shown.
class CruiseTableWindow : public QWidget {
    Q_OBJECT
public:
    explicit CruiseTableWindow(QWidget* parent = nullptr);

    // Reads the table; false with the reason, which the window shows too.
    bool load(const QString& path, QString& error);
    const QString& path() const { return m_path; }

    QTableView& view() { return *m_view; }
    CruiseTableModel& model() { return *m_model; }
    QCustomPlot& scatter() { return *m_plot; }
    QLabel& messageLabel() { return *m_message; }
    QPushButton& openButton() { return *m_open; }

    // Asks for the data file of the row shown at `row`; false when it has none or it is gone.
    bool openRow(int row);

signals:
    void openDataFileRequested(const QString& path);

private:
    void showScatter();
    void say(const QString& text, bool problem);

    QString m_path;
    CruiseTableModel* m_model;
    QTableView* m_view;
    QCustomPlot* m_plot;
    QCPGraph* m_points;
    QCPErrorBars* m_errors;
    QLabel* m_message;
    QPushButton* m_open;
};

} // namespace quorvane
