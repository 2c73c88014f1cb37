#pragma once
// The main window's private messages (WM_USER based) and the window messages it keeps from the
// system it was first written for. Workers post them; the window handles them on the GUI thread.

#include "platform/ui/WindowMessages.h"

#include <array>

namespace mainmsg {

using nativeui::kWmUser;

constexpr unsigned kWmClose = 0x010;
constexpr unsigned kWmSysCommand = 0x112;
constexpr unsigned kWmDeviceChange = 0x219;

constexpr unsigned kWmSyncFinished = kWmUser + 0x0A;
constexpr unsigned kWmToolFinished = kWmUser + 0x0B;
constexpr unsigned kWmInitDataFinished = kWmUser + 0x0C;
constexpr unsigned kWmExitRequest = kWmUser + 0x0D;
constexpr unsigned kWmIPodChanged = kWmUser + 0x0E;
constexpr unsigned kWmStartSession = kWmUser + 0x10;
constexpr unsigned kWmHostsChanged = kWmUser + 0x12;
constexpr unsigned kWmITunesDbChanged = kWmUser + 0x14;
constexpr unsigned kWmUpdatePlayLists = kWmUser + 0x1B;
constexpr unsigned kWmHostListReady = kWmUser + 0x1C;
constexpr unsigned kWmScanDone = kWmUser + 0x1D;
constexpr unsigned kWmCancelOperation = kWmUser + 0x1E;
constexpr unsigned kWmFillPlayLists = kWmUser + 0x1F;
constexpr unsigned kWmRouterTestFailed = kWmUser + 0x20;
constexpr unsigned kWmRouterTestDone = kWmUser + 0x21;
constexpr unsigned kWmStartupConfig = kWmUser + 0x25;
constexpr unsigned kWmAddDroppedFiles = kWmUser + 0x28;
constexpr unsigned kWmComboSelChanged = kWmUser + 0x7B;

// WM_DEVICECHANGE: a volume arrived (lParam: the mask of the new volumes) or went away.
constexpr intptr_t kDeviceArrival = 0x8000;
constexpr intptr_t kDeviceRemoveComplete = 0x8004;

// WM_SYSCOMMAND: the system commands the window acts on (the low four bits are the system's own).
constexpr intptr_t kScAbout = 0x10;
constexpr intptr_t kScMinimize = 0xF020;
constexpr intptr_t kScClose = 0xF060;
constexpr intptr_t kScCommandMask = 0xFFF0;

// Command ids of the window's controls and menu.
constexpr int kIdCancel = 2;
constexpr int kCmdStartNow = 1003;
constexpr int kCmdLeftPlayList = 1005;
constexpr int kCmdToggleLog = 1008;
constexpr int kCmdDeviceChooser = 1014;
constexpr int kCmdSyncOptions = 1015;
constexpr int kCmdNewPodPlayList = 1030;
constexpr int kCmdRightPlayList = 1032;
constexpr int kCmdNewTunesPlayList = 1033;
constexpr int kCmdSelectPlayLists = 1050;
constexpr int kCmdAbout = 11000;
constexpr int kCmdExit = 11003;
constexpr int kCmdFirstSyncType = 32778;
// The six sync types in the order of the sync picture's settings 0-5.
inline constexpr std::array kSyncTypeCommands = {32778, 32779, 32792, 32793, 32794, 32795};
constexpr int kCmdCancelSync = 32796;
constexpr int kCmdAddFilesToLibrary = 32843;
constexpr int kCmdAddFilesToPod = 32787;
constexpr int kCmdLibraryHtmlList = 32790;
constexpr int kCmdPodHtmlList = 32791;
constexpr int kCmdHelp = 57670;
constexpr int kCmdReportBug = 32846;
constexpr int kCmdOtherProducts = 32866;
constexpr int kCmdLinkShuffle = 32861;
constexpr int kCmdLoadRouterConfig = 32863;
constexpr int kCmdSaveRouterConfig = 32862;
constexpr int kCmdEmailRouterConfig = 32864;
constexpr int kCmdCheckForUpdates = 32803;
constexpr int kFirstChooserCommand = 5000;

} // namespace mainmsg
