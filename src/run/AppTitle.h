#pragma once

namespace quorvane {

// Message boxes without a title of their own carry the application title.
inline constexpr const char* kAppTitle = "Quorvane";

} // namespace quorvane
