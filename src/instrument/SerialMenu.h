#pragma once

namespace quorvane {

// The five menus that choose the serial settings, each writing one status bar panel.
enum class SerialMenu { Port = 1, BaudRate = 2, Parity = 3, DataBits = 4, StopBits = 5 };

} // namespace quorvane
