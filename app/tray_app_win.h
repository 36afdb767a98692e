// The tray program: start-up in its fixed order, the hidden window and its
// messages, the message loop that also drains the correction queue, engine
// reload, the tray commands and shutdown. The main thread owns the hooks and
// must serve them at all times: the rules file's reading and writing and the
// creation of a new engine run on a background worker.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "pipeline/engine_keeper.h"
#include "pipeline/caret_reader_win.h"
#include "pipeline/hook_timing.h"
#include "pipeline/hook_watchdog.h"
#include "pipeline/keyboard_hook.h"
#include "pipeline/pause_state.h"
#include "pipeline/platform_win.h"
#include "settings/settings_platform_win.h"
#include "settings/settings_store.h"
#include "common/debug_log.h"
#include "tray/activity_timer.h"
#include "tray/background_worker.h"
#include "tray/hotkey_bindings.h"
#include "tray/hotkey_gate.h"
#include "tray/key_names_win.h"
#include "tray/tray_icon_win.h"
#include "tray/tray_presence.h"
#include "tray/updater.h"
#include "win/scoped_win.h"

namespace quillom {

class TrayApp {
public:
    explicit TrayApp(HINSTANCE instance);
    ~TrayApp();
    TrayApp(const TrayApp&) = delete;
    TrayApp& operator=(const TrayApp&) = delete;

    // The process exit code.
    int run();

private:
    static constexpr UINT_PTR kTimerPauseEnd = 1, kTimerTrayRefresh = 2, kTimerHotkeyRelease = 3,
                              kTimerHookWatchdog = 4;
    // A reload asked for by another thread.
    static constexpr UINT kMsgApplySettings = WM_APP + 4;
    // lParam owns a std::function<void()> to run on the main thread.
    static constexpr UINT kMsgRunOnMainThread = WM_APP + 6;
    // The hooks saw input after a quiet spell: the tray refresh runs again.
    static constexpr UINT kMsgInputResumed = WM_APP + 7;
    static constexpr UINT kPauseMilliseconds = 900000, kRefreshMilliseconds = 600, kHotkeyPollMilliseconds = 15;
    static constexpr UINT_PTR kTimerTrayRetry = 11;
    static constexpr unsigned kQuitWaitMilliseconds = 10000;

    int startUp();
    bool createWindow();
    bool createEngine();
    void readRuntimeSettings();
    int messageLoop();
    void shutDown();

    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // State and its display.
    void applyState();
    void refreshTooltip();
    void refreshIcon(bool force);
    bool fullScreenPauseNow();
    // Adds the tray icon with its current look; on failure the retry timer runs.
    void addTrayIcon();
    pipeline::Status status();

    // Reads the runtime settings and has the worker build a new engine from
    // the two files; it replaces the old one when it arrives, and a failure
    // keeps the old one. Any thread.
    void applySettings();
    // Any thread: the task runs on the main thread, from its message loop.
    bool postToMainThread(std::function<void()> task);
    void onHookWatchdog();
    // Input or a new foreground window: the tray refresh timer runs until the user is idle.
    void noteActivity();
    void onTrayRefresh();
    // job on the worker, then done on the main thread.
    void runInBackground(std::function<void()> job, std::function<void()> done);
    void watchSessionAndForeground();

    // Commands of the tray menu and the hotkeys.
    void showMenu();
    void runCommand(uint32_t id);
    void pauseCommand(pipeline::PauseCommand command);
    void undo();
    // After Undo, or a Backspace that took a correction back.
    void learnFromUndo(const std::string& word);
    void convert(const std::string& target);
    void toggleLearningMode();
    // Switches the debug log and stores the choice; returns the state it now has.
    bool switchDebugLog(bool on);
    void toggleLaunchAtLogin();
    // The updater library's check, or a portable copy's notice.
    void checkForUpdates(bool askedByUser);
    void setAppMode(const std::string& appId, AppMode mode);
    void registerHotkeys();
    // In front, an application set to Off gets the hotkeys' key combinations: they are
    // unregistered while it is, and registered again when another one comes.
    void followForegroundMode();
    void onHotkey(int id);
    void onHotkeyReleasePoll();
    void runHotkey(int id);

    pipeline::PipelinePorts ports();

    // The settings window (tray_app_settings_win.cpp) reaches the program through its host.
    friend class TrayAppSettingsHost;
    void openSettings();

    HINSTANCE instance_;
    HWND window_ = nullptr;
    win::ScopedHandle mutex_;  // held while the program runs: a second start sees it and quits

    settings::WindowsSettingsPlatform settingsPlatform_;
    settings::SettingsStore store_{settingsPlatform_};
    std::string rulesPath_, prefsPath_;  // UTF-8, for the engine

    pipeline::WinInputSender input_;
    pipeline::WinDesktop desktop_;
    pipeline::WinClipboard clipboard_;
    pipeline::WinClock clock_;
    pipeline::WinSoundPlayer sound_;
    pipeline::ThreadMessageWaker waker_;

    pipeline::PipelineState pipeline_;
    pipeline::EngineKeeper engines_{
        pipeline_, [this] { return pipeline::createCabiWordEngine(rulesPath_, prefsPath_); },
        [this](std::function<void()> task) { return postToMainThread(std::move(task)); }, rulesPath_, prefsPath_};
    pipeline::KeyboardHook hook_;
    pipeline::HookTiming hookTiming_;
    pipeline::HookWatchdog hookWatchdog_;
    bool hooksInstalled_ = false;
    DWORD mainThreadId_ = GetCurrentThreadId();
    win::ScopedWinEventHook foregroundEvents_;
    pipeline::WinCaretReader caretReader_;
    std::unique_ptr<pipeline::CaretWorker> caretWorker_;  // reads for pipeline_.caret; stopped before it goes

    pipeline::PauseState pause_;
    bool learningMode_ = true;
    DebugLog debugLog_;
    tray::NotifyIcon notifyIcon_;
    tray::TrayPresence trayPresence_;
    tray::ActivityTimer trayRefresh_;
    UINT taskbarCreated_ = 0;  // the registered message Explorer broadcasts when it starts
    tray::HotkeyBindings hotkeys_;
    tray::HotkeyGate hotkeyGate_;
    bool hotkeysOffHere_ = false;  // unregistered for the application in front
    tray::WindowsKeyNames keyNames_;
    std::unique_ptr<tray::Updater> updater_;
    std::vector<std::string> menuApps_;  // the recent applications the last menu showed
    // Last: destroyed first, so their jobs finish while everything they use exists.
    tray::BackgroundWorker updateChecks_;  // a portable copy's update checks
    tray::BackgroundWorker worker_;
};

}  // namespace quillom
