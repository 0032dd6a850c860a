#pragma once

namespace quorvane {

class InputParser;
class SerialPort;
class TextPane;

// The 250 ms poll: drains the port into the serial pane and the parser's buffer, then
// runs a parsing pass. Its own failures are ignored.
class SerialPoller {
public:
    SerialPoller(SerialPort& port, TextPane& txtComsDisplay, InputParser& parser)
        : m_port(port), m_pane(txtComsDisplay), m_parser(parser) {}

    void tick();

private:
    SerialPort& m_port;
    TextPane& m_pane;
    InputParser& m_parser;
};

} // namespace quorvane
