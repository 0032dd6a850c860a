#pragma once

namespace quorvane {

// The five serial menus; items are numbered from 1 within each.
enum class MenuId { Port, BaudRate, Parity, DataBits, StopBits };

} // namespace quorvane
