#include "instrument/SerialPoller.h"

#include "instrument/InputParser.h"
#include "logging/DisplayPanes.h"
#include "platform/SerialPort.h"

#include <string>

namespace quorvane {

void SerialPoller::tick() {
    std::string received;
    try {
        // A closed port may still hand over what it read before it was lost.
        received = m_port.readInput();
    } catch (...) {
        received.clear();
    }
    if (received.empty()) {
        return;
    }
    try {
        appendToPane(m_pane, received);
    } catch (...) {
    }
    try {
        m_parser.append(received);
    } catch (...) {
    }
    try {
        // While a pass is held open by a message box, input only accumulates; that pass
        // picks it up when the box is closed.
        m_parser.parseInput();
    } catch (...) {
    }
}

} // namespace quorvane
