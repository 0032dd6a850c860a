#pragma once

namespace quorvane::settings {

// The persisted settings: section and keys, in the order they are read.
inline constexpr const char* kSection = "Settings";

inline constexpr const char* kComPort = "ComPort";
inline constexpr const char* kBaudRate = "BaudRate";
inline constexpr const char* kParity = "Parity";
inline constexpr const char* kDataBits = "DataBits";
inline constexpr const char* kStopBits = "StopBits";
inline constexpr const char* kLogInterval = "LogInterval";
inline constexpr const char* kHeatDelay = "HeatDelay";
inline constexpr const char* kHeatTime = "HeatTime";
inline constexpr const char* kHeatLevel = "HeatLevel";
inline constexpr const char* kDefaultPath = "DefaultPath";
inline constexpr const char* kDefaultFileTypeIndex = "DefaultFileTypeIndex";
inline constexpr const char* kDefaultFilename = "DefaultFilename";
inline constexpr const char* kLogOption0 = "LogOption0";
inline constexpr const char* kLogOption1 = "LogOption1";
inline constexpr const char* kMainLeft = "MainLeft";
inline constexpr const char* kMainTop = "MainTop";
inline constexpr const char* kMainWidth = "MainWidth";
inline constexpr const char* kMainHeight = "MainHeight";

// Device paths of the COM ports: group "Ports", key "COM<n>"; read, never written.
inline constexpr const char* kPortsSection = "Ports";

} // namespace quorvane::settings
