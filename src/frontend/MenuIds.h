// Command ids of the main window's menu bar. The ids identify menu commands between the core
// (which sets check marks, for example Voice Prompts after the gateway reports it) and the GUI
// (which builds the menus and routes the commands). Header only; any thread.
#pragma once

namespace mav::menu {

// File
inline constexpr int kSaveConfiguration = 40002;
inline constexpr int kLoadConfiguration = 40003;
inline constexpr int kRetrieveCurrentConfig = 40011;
inline constexpr int kRestoreLastConfig = 40050;
inline constexpr int kRestoreFromHistory = 40072;
// The salvo commands, outside the gateway program's range.
inline constexpr int kSalvos = 40104;
inline constexpr int kSaveSalvo = 40105;
inline constexpr int kExit = 40001;

// Connect
inline constexpr int kSelectNetworkSite = 40065;
inline constexpr int kSelectSerialPort = 40004;
// The console's own command, outside the gateway program's range.
inline constexpr int kSelectService = 40101;
inline constexpr int kDetachService = 40103;          // enabled while attached
inline constexpr int kRecentConnectionFirst = 50000;  // recent connections 50000..50009
inline constexpr int kRecentConnectionLast = 50009;

// Options
inline constexpr int kPinSettings = 40008;
inline constexpr int kPasswordProtection = 40014;
inline constexpr int kViewRecentLog = 40063;
inline constexpr int kViewEntireLog = 40009;
inline constexpr int kNewLog = 40010;
inline constexpr int kConnectAll = 40045;
inline constexpr int kRevertAfterConnectAll = 40062;  // "Re&vert"
inline constexpr int kDisconnectAll = 40046;
inline constexpr int kRevertAfterDisconnectAll = 40060;  // "Revert"
inline constexpr int kVoicePrompts = 40051;

// Options, Right Mouse Button
inline constexpr int kRightButtonDisconnect = 40041;
inline constexpr int kRightButtonEditSettings = 40042;

// Options, Connection Indicator
inline constexpr int kAutoSwitchingOn = 40057;
inline constexpr int kAutoSwitchingOff = 40058;

// Options, Auto Connect on Startup
inline constexpr int kAutoConnectOn = 40068;
inline constexpr int kAutoConnectOff = 40069;
// The controller serving the control interface: its own command, outside the gateway program's
// range.
inline constexpr int kAutomationInterface = 40102;

// Display
inline constexpr int kCorReporting = 40029;
inline constexpr int kPttReporting = 40031;
inline constexpr int kSound = 40012;
inline constexpr int kHoverIconDescription = 40070;
inline constexpr int kProtocolTrace = 40071;
inline constexpr int kAllGateways = 40073;

// Display, Screen Size
inline constexpr int kScreen800x600 = 40018;
inline constexpr int kScreen1024x768 = 40019;
inline constexpr int kScreen1280x1024 = 40020;

// Display, Window Title
inline constexpr int kTitleUseDefault = 40067;
inline constexpr int kTitleUseCustom = 40066;
inline constexpr int kChangeColors = 40059;

// Display, Animations
inline constexpr int kAnimationSlow = 40037;
inline constexpr int kAnimationMedium = 40039;
inline constexpr int kAnimationFast = 40036;
inline constexpr int kAnimationOff = 40038;

// PermConn: Net 1..Net 7 are 40021..40027
inline constexpr int kPermConnNet1 = 40021;
inline constexpr int kPermConnNet2 = 40022;
inline constexpr int kPermConnNet3 = 40023;
inline constexpr int kPermConnNet4 = 40024;
inline constexpr int kPermConnNet5 = 40025;
inline constexpr int kPermConnNet6 = 40026;
inline constexpr int kPermConnNet7 = 40027;

// Help
inline constexpr int kAbout = 40005;
inline constexpr int kManual = 40064;

// The range of ids the window routes to the menu command table.
inline constexpr int kCommandFirst = 40001;
inline constexpr int kCommandLast = 40073;

}  // namespace mav::menu
