// How the desktop knows the running window for Hexmoor: by the menu entry it belongs to
// (hexmoor.desktop, which Wayland compositors match a window to) and by the icon every
// window carries (which X11 taskbars and window switchers show).
#pragma once

namespace hexmoor {

// The installed menu entry's name, without .desktop.
inline constexpr const char* kDesktopFileName = "hexmoor";

// Call once the QApplication exists, before the first window is shown.
void SetApplicationIdentity();

}  // namespace hexmoor
