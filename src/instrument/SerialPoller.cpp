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
        // The pass shows no box itself (its boxes wait for the event loop), so every
        // tick gets its own pass.
        m_parser.parseInput();
    } catch (...) {
    }
}

} // namespace quorvane
