#pragma once
// The window names and the messages the suite's programs exchange, in one
// place. Every message is posted; windows are found by their names each
// time. The numbers are fixed: the applets and other programs use them.

namespace gm::ipc {

// Window names.
inline constexpr const char* kMonitorWindow =
    "Orvex_Gaming_Mouse_Normal_Monitor";                 // Monitor.exe, hidden
inline constexpr const char* kDialogWindow = "Brennick"; // Option.exe's main dialog
inline constexpr const char* kOsdWindow = "Orvex_Gaming_Mouse_Normal_OSD"; // OSD.exe

// Configuration program -> monitor (and the four applet windows): the shared
// block holds new settings and change flags. wParam 1 after a reset.
inline constexpr unsigned kApplySettings = 1224;
// Any program -> monitor: take the shared block into the working copy.
inline constexpr unsigned kTakeSharedBlock = 1226;
// Any program -> monitor: as 1226, then apply the current profile's
// Windows mouse settings.
inline constexpr unsigned kTakeSharedBlockAndMouseSettings = 1227;
// Any program -> monitor: accepted, nothing done.
inline constexpr unsigned kAccepted1228 = 1228;
inline constexpr unsigned kAccepted1229 = 1229;
inline constexpr unsigned kAccepted1274 = 1274;

// Monitor -> configuration program.
inline constexpr unsigned kSettingsReadBack = 1254; // everything was read back from the mouse
inline constexpr unsigned kProfileChanged = 1255;   // the current profile changed
inline constexpr unsigned kApplyDone = 1256;        // the apply ended (or the mouse is absent)
inline constexpr unsigned kDeviceValuesChanged =
    1257; // stage, sensitivity or polling changed on the mouse

// Monitor -> on-screen display: show a notice; wParam 40 the profile
// (lParam >> 16), 50 config.ini's [OSDData] Message, 70 the macro name.
inline constexpr unsigned kOsdShow = 1324;
// Monitor -> on-screen display: where the notice goes (lParam high/low
// half = left/top, 0/0 centred).
inline constexpr unsigned kOsdPlace = 1326;

// Mouse access library -> monitor: a device event (wParam class, lParam value).
inline constexpr unsigned kDeviceEvent = 1325;
// Mouse access library -> monitor: the mouse arrived (wParam 1) or went (0).
inline constexpr unsigned kDeviceArrival = 1326;
// Anyone -> monitor: answered TRUE, nothing done.
inline constexpr unsigned kAnsweredTrue = 1327;

// Monitor's tray icon -> monitor: the icon's mouse message in lParam.
inline constexpr unsigned kTrayNotify = 1036;

// Monitor, window thread -> its own threads (thread messages).
inline constexpr unsigned kPlayMacro = 1648; // -> macro player: play the begun macro
inline constexpr unsigned kDeviceJob = 1649; // -> device worker: wParam is the job below
inline constexpr unsigned kJobApply = 1;     // apply the changed settings, then 1256
inline constexpr unsigned kJobReadBack = 2;  // read everything back, then host attached
inline constexpr unsigned kJobProfile = 3;   // send the current profile index

// WM_COMMAND ids of the monitor's window: from its tray menu, from a second
// Monitor.exe (6001) and from setup and uninstall (6002).
inline constexpr unsigned kCmdOpenOption = 6001;
inline constexpr unsigned kCmdExit = 6002;

} // namespace gm::ipc
