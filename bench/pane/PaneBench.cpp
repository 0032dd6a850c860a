// Appending 45 characters (one record line) to a serial pane that already holds 1,000,000
// characters, against replacing the pane's whole text with the old text and the new line,
// which is what each append would cost if the pane were rewritten. Also the same append to
// a pane holding one 1,000,000-character line without any line end (a wrong line speed).

#include "shell/QtTextPane.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

using namespace quorvane;
using Clock = std::chrono::steady_clock;

namespace {

const std::string kRecord = ":\x03T 1234 5678 9ABC DEF0 1111 2222 3333 4444\r\n"; // 45 characters

struct Timing {
    double callMs;  // the pane's own work: text kept, document changed, caret moved
    double paintMs; // the event pass that follows: layout and painting of the shown part
};

double median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Medians over `runs` calls of the step and of the event pass after each.
Timing measure(int runs, const std::function<void()>& step) {
    std::vector<double> calls;
    std::vector<double> paints;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        step();
        const auto called = Clock::now();
        QApplication::processEvents();
        const auto painted = Clock::now();
        calls.push_back(std::chrono::duration<double, std::milli>(called - start).count());
        paints.push_back(std::chrono::duration<double, std::milli>(painted - called).count());
    }
    return Timing{median(calls), median(paints)};
}

struct Pane {
    QPlainTextEdit edit;
    QtTextPane pane{&edit, QtTextPane::Encoding::Latin1};

    explicit Pane(const std::string& content) {
        pane.setWrapping(false); // as the program sets the serial pane
        edit.resize(560, 240);
        edit.show();
        pane.setText(content);
        QApplication::processEvents();
    }
};

void verdict(const char* target, bool met) {
    std::printf("%-58s %s\n", target, met ? "MET" : "NOT MET");
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);

    std::string lines;
    while (lines.size() + kRecord.size() <= 1000000) {
        lines += kRecord;
    }
    lines.resize(1000000, 'x');
    const std::string oneLine(1000000, 'x');

    Pane appended(lines);
    const Timing append = measure(201, [&] { appended.pane.append(kRecord); });

    Pane replaced(lines);
    const Timing replace =
        measure(5, [&] { replaced.pane.setText(replaced.pane.text() + kRecord); });

    Pane longLine(oneLine);
    const Timing longAppend = measure(51, [&] { longLine.pane.append(kRecord.substr(0, 43)); });

    std::printf("serial pane holding 1,000,000 characters, one 45-character line added\n");
    std::printf("  (call = the pane's work; repaint = the event pass that follows it)\n");
    std::printf("  append, median of 201:                  call %9.3f ms   repaint %7.3f ms\n",
                append.callMs, append.paintMs);
    std::printf("  whole-text replacement, median of 5:    call %9.3f ms   repaint %7.3f ms\n",
                replace.callMs, replace.paintMs);
    std::printf("  replacement / append (calls):           %9.1f x\n",
                replace.callMs / append.callMs);
    std::printf("  append to one 1,000,000-character line: call %9.3f ms   repaint %7.3f ms\n",
                longAppend.callMs, longAppend.paintMs);
    verdict("append at least 100 times faster than whole-text replacement",
            replace.callMs / append.callMs >= 100);
    verdict("append under 1 ms", append.callMs < 1.0);
    verdict("append with its repaint under 1 ms", append.callMs + append.paintMs < 1.0);
    verdict("append to a line without line ends under 1 ms", longAppend.callMs < 1.0);
    return 0;
}
