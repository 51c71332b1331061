#pragma once

// The application's identity, given to the application object at start and shown in the window.
namespace AppInfo {
inline constexpr char name[] = "Ostrel";
inline constexpr char version[] = "1.1.0";
inline constexpr char organisation[] = "Brellway";
// The name of the desktop entry, so that desktops pair the window with its menu entry and icon.
inline constexpr char desktopId[] = "com.brellway.Ostrel";
} // namespace AppInfo
