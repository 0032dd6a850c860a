// Appending 45 characters (one record line) to a serial pane that already holds 1,000,000
// characters, against replacing the pane's whole text with the old text and the new line,
// which is what each append would cost if the pane were rewritten. Also the same append to
// a pane holding one 1,000,000-character line without any line end (a wrong line speed).

#include "shell/QtTextPane.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <algorithm>
#include <chrono>
#include <clocale>
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
    // The application takes LC_NUMERIC from the environment; the report's figures do not.
    std::setlocale(LC_NUMERIC, "C");

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

    // The length rule's cut: 1,000,000 characters down to the last 800,000, by dropping the
    // front, against rewriting the pane with the 800,000 that stay.
    std::vector<double> dropCalls;
    std::vector<double> dropPaints;
    std::vector<double> rewriteCalls;
    for (int i = 0; i < 5; ++i) {
        Pane dropped(lines);
        const Timing drop = measure(1, [&] { dropped.pane.keepLast(800000); });
        dropCalls.push_back(drop.callMs);
        dropPaints.push_back(drop.paintMs);
        Pane rewritten(lines);
        const Timing rewrite =
            measure(1, [&] { rewritten.pane.setText(rewritten.pane.text().substr(200000)); });
        rewriteCalls.push_back(rewrite.callMs);
    }
    const Timing cut{median(dropCalls), median(dropPaints)};
    const double rewriteMs = median(rewriteCalls);

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
    std::printf("serial pane cut from 1,000,000 to the last 800,000 characters, median of 5\n");
    std::printf("  front dropped:                          call %9.3f ms   repaint %7.3f ms\n",
                cut.callMs, cut.paintMs);
    std::printf("  whole-text rewrite:                     call %9.3f ms\n", rewriteMs);
    verdict("append at least 100 times faster than whole-text replacement",
            replace.callMs / append.callMs >= 100);
    verdict("append under 1 ms", append.callMs < 1.0);
    verdict("append with its repaint under 1 ms", append.callMs + append.paintMs < 1.0);
    verdict("append to a line without line ends under 1 ms", longAppend.callMs < 1.0);
    verdict("cut with its repaint under 20 ms", cut.callMs + cut.paintMs < 20.0);
    return 0;
}
