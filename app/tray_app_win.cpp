#include "tray_app_win.h"

#include <wtsapi32.h>

#include "common/utf16.h"
#include "pipeline/correction_drain.h"
#include "pipeline/hooks_win.h"
#include "quillom.hpp"
#include "settings/preferences.h"
#include "tray/debug_log_win.h"
#include "tray/interface_strings.h"
#include "tray/tray_menu.h"
#include "tray/updater_win.h"
#include "ui/settings_window_win.h"

#ifndef QUILLOM_APPCAST_URL
#error "QUILLOM_APPCAST_URL is a build configuration value"
#endif

namespace quillom {
namespace {

constexpr wchar_t kWindowClass[] = L"QuillomTrayApp";

using quillom::logLine;

constexpr UINT kMsgResyncModifiers = WM_APP + 5;

// The window that receives the foreground events; the main thread's only.
HWND gForegroundEventsTarget = nullptr;
// The refresh timer's state and the window told when input resumes; main thread.
tray::ActivityTimer* gActivity = nullptr;
HWND gActivityTarget = nullptr;
UINT gInputResumedMessage = 0;

// Called from the hooks: one posted message when input follows a quiet spell, nothing else.
void onInput(uint32_t now) {
    if (gActivity && gActivity->input(now)) PostMessageW(gActivityTarget, gInputResumedMessage, 0, 0);
}

// Out of context: called on the main thread from its message loop.
void CALLBACK onForegroundEvent(HWINEVENTHOOK, DWORD, HWND, LONG, LONG, DWORD, DWORD) {
    if (gForegroundEventsTarget) PostMessageW(gForegroundEventsTarget, kMsgResyncModifiers, 0, 0);
}

void errorBox(const wchar_t* text) { MessageBoxW(nullptr, text, L"Quillom", MB_ICONERROR); }

// Looked up at run time: Windows before 10 version 1703 lacks the function,
// and a static import would keep the program from loading there (the
// manifest asks for the same awareness).
void becomePerMonitorDpiAware() {
    using SetContext = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT);
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    auto set =
        reinterpret_cast<SetContext>(reinterpret_cast<void*>(GetProcAddress(user32, "SetProcessDpiAwarenessContext")));
    if (set) set(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
}

}  // namespace

TrayApp::TrayApp(HINSTANCE instance)
    : instance_(instance),
      waker_(GetCurrentThreadId()),
      hook_(pipeline_, ports()),
      debugLog_(tray::developerMarkerPresent()) {
    pipeline_.onTakenBack = [this](const std::string& word) { learnFromUndo(word); };
}

TrayApp::~TrayApp() = default;

pipeline::PipelinePorts TrayApp::ports() { return {input_, desktop_, clipboard_, clock_, sound_, waker_}; }

int TrayApp::run() {
    int code = startUp();
    if (code >= 0) return code;
    code = messageLoop();
    shutDown();
    return code;
}

// -1 when the loop should run; otherwise the exit code.
int TrayApp::startUp() {
    becomePerMonitorDpiAware();
    mutex_.reset(CreateMutexW(nullptr, TRUE, L"Quillom_SingleInstance"));
    if (mutex_ && GetLastError() == ERROR_ALREADY_EXISTS) return 0;
    if (!createWindow()) return 1;
    store_.checkEnginesWith([this](const std::filesystem::path& rules) {
        return quillom::cabi::createEngine(pathToUtf8(rules), pathToUtf8(store_.preferencesPath())) != nullptr;
    });
    if (!store_.stageConfigurationFiles()) {
        errorBox(
            L"Could not stage quillom_rules.json into the settings folder\n"
            L"(%LOCALAPPDATA%\\Quillom). Reinstalling the app should fix this.");
        return 1;
    }
    store_.normaliseActiveLanguages();
    const settings::JsonValue prefs = store_.preferences();
    tray::setInterfaceLanguage(settings::uiLanguage(prefs));
    rulesPath_ = pathToUtf8(store_.workingRulesPath());
    prefsPath_ = pathToUtf8(store_.preferencesPath());
    debugLog_.setEnabled(settings::debugLog(prefs));
    if (store_.portable()) tray::setLogFolder(store_.settingsFolder().wstring());
    tray::attachLogFile(debugLog_);
    // From here on this thread serves the hooks: its saves are written by the worker.
    store_.writeBehind(
        {[this](std::function<void()> job) { worker_.post(std::move(job)); },
         [this] { return worker_.onWorkerThread(); },
         [](const std::filesystem::path& path) { logLine("settings: could not save %s", pathToUtf8(path).c_str()); }});
    if (!createEngine()) {
        // The installation's own files first: when they cannot make an engine either, the
        // working rules are not to blame, and setting them aside would lose the user's
        // dictionary for nothing.
        const std::filesystem::path broken = store_.installedFileAtFault(store_.installedRulesMakeAnEngine());
        if (!broken.empty()) {
            logLine("engine not created: the installation's %s is missing or damaged", pathToUtf8(broken).c_str());
            const std::u16string text =
                tray::formattedText(tray::TextId::InstalledFileDamaged, toUtf16(pathToUtf8(broken)));
            errorBox(reinterpret_cast<const wchar_t*>(text.c_str()));
            return 1;
        }
        // A working file the engine cannot use (valid JSON of the wrong shape, say) is kept
        // aside like one that does not parse, so that it never keeps the program from starting.
        if (!store_.damagedRulesKeptAs().empty() || store_.setAsideWorkingRules().empty() || !createEngine()) {
            errorBox(L"Could not load quillom_rules.json (or the quillom_lexicon.bin it names).");
            return 1;
        }
    }
    readRuntimeSettings();
    // Loading the updater's library and its start read the disk and the registry: done before
    // this thread has hooks to serve.
    // The updater library keeps its state in the registry and installs what it finds: a
    // portable copy goes without it.
    updater_ = std::make_unique<tray::Updater>(store_.portable() ? tray::UpdaterApi{} : tray::loadUpdaterLibrary(),
                                               QUILLOM_APPCAST_URL);
    updater_->initialise(store_.updateFrequency());
    if (store_.portable() && store_.updateFrequency() != "never") checkForUpdates(false);
    hookWatchdog_ = pipeline::HookWatchdog(GetTickCount());
    gActivity = &trayRefresh_;
    gActivityTarget = window_;
    gInputResumedMessage = kMsgInputResumed;
    pipeline::observeInput(onInput);
    hooksInstalled_ = pipeline::installHooks(instance_, hook_, hookTiming_, hookWatchdog_);
    if (!hooksInstalled_) {
        errorBox(L"Could not install the keyboard hook.");
        updater_->cleanup();
        engines_.release();
        return 1;
    }
    caretWorker_ = std::make_unique<pipeline::CaretWorker>(pipeline_.caret, caretReader_);
    addTrayIcon();
    applyState();
    if (!store_.damagedRulesKeptAs().empty())
        notifyIcon_.notify(u"Quillom", tray::formattedText(tray::TextId::DamagedRulesKeptAside,
                                                           toUtf16(pathToUtf8(store_.damagedRulesKeptAs()))));
    hotkeys_.load(store_);
    registerHotkeys();
    noteActivity();
    followForegroundMode();
    SetCoalescableTimer(window_, kTimerHookWatchdog, pipeline::HookWatchdog::kCheckMs, nullptr,
                        pipeline::HookWatchdog::kCheckToleranceMs);
    watchSessionAndForeground();
    return -1;
}

// Key-ups released on the secure desktop (Win+L, Ctrl+Alt+Del) or in an
// elevated window never reach the hook: the modifier flags are read again
// from the system when the session is unlocked and when the foreground changes.
void TrayApp::watchSessionAndForeground() {
    WTSRegisterSessionNotification(window_, NOTIFY_FOR_THIS_SESSION);
    gForegroundEventsTarget = window_;
    foregroundEvents_.reset(SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr,
                                            onForegroundEvent, 0, 0, WINEVENT_OUTOFCONTEXT));
}

void TrayApp::noteActivity() {
    if (trayRefresh_.input(GetTickCount())) SetTimer(window_, kTimerTrayRefresh, kRefreshMilliseconds, nullptr);
}

void TrayApp::onTrayRefresh() {
    refreshTooltip();
    refreshIcon(false);
    // A modal loop (menu, message box) drops thread messages: replay what the hook queued if
    // its wake-up got lost there. Corrections come from input, so the timer runs meanwhile.
    pipeline::drainQueue(hook_);
    if (!trayRefresh_.tick(GetTickCount())) KillTimer(window_, kTimerTrayRefresh);
}

void TrayApp::onHookWatchdog() {
    if (!hooksInstalled_ || !hookWatchdog_.due(GetTickCount(), pipeline::lastInputTick())) return;
    if (pipeline::reinstallHooks()) logLine("hook reinstalled");
    else logLine("hook reinstall failed");
}

bool TrayApp::createWindow() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance_;
    wc.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(tray::kIconResource));
    wc.lpszClassName = kWindowClass;
    RegisterClassExW(&wc);
    window_ = CreateWindowExW(WS_EX_TOOLWINDOW, kWindowClass, L"Quillom", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                              instance_, this);
    if (!window_) return false;
    clipboard_.setOwner(window_);
    taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
    // Run elevated, the program would not get Explorer's broadcast otherwise.
    if (taskbarCreated_) ChangeWindowMessageFilterEx(window_, taskbarCreated_, MSGFLT_ALLOW, nullptr);
    return true;
}

bool TrayApp::createEngine() { return engines_.createNow(); }

void TrayApp::readRuntimeSettings() {
    const settings::JsonValue prefs = store_.preferences();
    pipeline_.pauseInGames = settings::pauseInGames(prefs);
    learningMode_ = settings::learningMode(prefs);
    pipeline_.revert.enabled = settings::backspaceRevertsCorrection(prefs);
    pipeline_.appModes.clear();
    for (const settings::ExcludedApp& app : settings::excludedApps(prefs)) pipeline_.appModes.set(app.key, app.mode);
    pipeline_.sounds = {settings::playSoundOnCorrection(prefs), toUtf16(settings::correctionSound(prefs)),
                        toUtf16(settings::undoSound(prefs))};
}

void TrayApp::applySettings() {
    if (GetCurrentThreadId() != mainThreadId_) {
        PostMessageW(window_, kMsgApplySettings, 0, 0);
        return;
    }
    readRuntimeSettings();
    followForegroundMode();
    worker_.post([this] { engines_.rebuild(); });
}

void TrayApp::runInBackground(std::function<void()> job, std::function<void()> done) {
    worker_.post([this, job = std::move(job), done = std::move(done)] {
        job();
        postToMainThread(done);
    });
}

bool TrayApp::postToMainThread(std::function<void()> task) {
    auto owned = std::make_unique<std::function<void()>>(std::move(task));
    if (!PostMessageW(window_, kMsgRunOnMainThread, 0, reinterpret_cast<LPARAM>(owned.get()))) return false;
    owned.release();
    return true;
}

int TrayApp::messageLoop() {
    logLine("started: hooks installed");
    MSG msg;
    BOOL got;
    while ((got = GetMessageW(&msg, nullptr, 0, 0)) > 0) {
        // A thread message without a window: the hook queued input to replay.
        if (msg.message == pipeline::kMsgCorrectionReady) {
            pipeline::drainQueue(hook_);
            continue;
        }
        if (ui::routeSettingsWindowKeys(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return got < 0 ? 0 : int(msg.wParam);
}

void TrayApp::shutDown() {
    if (updater_) updater_->cleanup();
    pipeline::TimingSummary t = hookTiming_.summary();
    logLine("hook timing: %u events, p50 %u us, p99 %u us, max %u us, longest wait for the hook %u ms",
            unsigned(t.count), unsigned(t.p50), unsigned(t.p99), unsigned(t.max), unsigned(t.maxWaitMs));
    foregroundEvents_.reset();
    gForegroundEventsTarget = nullptr;
    WTSUnRegisterSessionNotification(window_);
    if (hooksInstalled_) pipeline::removeHooks();
    hooksInstalled_ = false;
    pipeline::observeInput(nullptr);
    gActivity = nullptr;
    caretWorker_.reset();
    // Saves still queued are written; a disk that hangs does not keep the program alive, and
    // the jobs still using it must not outlive what they use.
    if (!worker_.finishWithin(std::chrono::milliseconds(kQuitWaitMilliseconds))) {
        logLine("quit: the settings writer did not finish in time");
        tray::detachLogFile();
        ExitProcess(0);
    }
    engines_.release();
    tray::detachLogFile();
}

LRESULT CALLBACK TrayApp::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* app = reinterpret_cast<TrayApp*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!app || !app->window_) return DefWindowProcW(window, message, wParam, lParam);
    return app->handleMessage(message, wParam, lParam);
}

LRESULT TrayApp::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (taskbarCreated_ != 0 && message == taskbarCreated_) {
        logLine("tray: the taskbar was created again; adding the icon");
        trayPresence_.taskbarCreated();
        addTrayIcon();
        return 0;
    }
    switch (message) {
    case WM_DESTROY:
        notifyIcon_.remove();
        PostQuitMessage(0);
        return 0;
    case WM_COMMAND: runCommand(LOWORD(wParam)); return 0;
    case WM_RENDERFORMAT: clipboard_.renderFormat(UINT(wParam)); return 0;
    case WM_RENDERALLFORMATS: clipboard_.renderAll(); return 0;
    case WM_DESTROYCLIPBOARD: clipboard_.dropOffer(); return 0;
    case WM_TIMER:
        if (wParam == kTimerPauseEnd) {
            pauseCommand(pipeline::PauseCommand::PauseTimerEnded);
        } else if (wParam == kTimerTrayRefresh) {
            onTrayRefresh();
        } else if (wParam == kTimerHotkeyRelease) {
            onHotkeyReleasePoll();
        } else if (wParam == kTimerHookWatchdog) {
            onHookWatchdog();
        } else if (wParam == kTimerTrayRetry) {
            addTrayIcon();
        }
        return 0;
    case kMsgApplySettings: applySettings(); return 0;
    case kMsgRunOnMainThread: {
        std::unique_ptr<std::function<void()>> task(reinterpret_cast<std::function<void()>*>(lParam));
        (*task)();
        return 0;
    }
    case kMsgResyncModifiers:
        hook_.resyncModifiers();
        followForegroundMode();
        noteActivity();
        return 0;
    case kMsgInputResumed:
        // The timer was stopped: it starts again here, and the icon catches up at once.
        trayRefresh_.input(GetTickCount());
        SetTimer(window_, kTimerTrayRefresh, kRefreshMilliseconds, nullptr);
        onTrayRefresh();
        return 0;
    case WM_WTSSESSION_CHANGE:
        if (wParam == WTS_SESSION_UNLOCK) hook_.resyncModifiers();
        return 0;
    case WM_HOTKEY: onHotkey(int(wParam)); return 0;
    case tray::kMsgTrayCallback:
        switch (LOWORD(lParam)) {
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_CONTEXTMENU:
        case NIN_SELECT: showMenu(); break;
        default: break;
        }
        return 0;
    default: return DefWindowProcW(window_, message, wParam, lParam);
    }
}

void TrayApp::addTrayIcon() {
    const bool added = notifyIcon_.add(window_, instance_);
    if (added) {
        refreshTooltip();
        refreshIcon(true);
    }
    if (trayPresence_.afterAdd(added, GetTickCount()))
        SetTimer(window_, kTimerTrayRetry, tray::kTrayRetryIntervalMs, nullptr);
    else KillTimer(window_, kTimerTrayRetry);
    if (!added) logLine("tray: the icon could not be added");
}

void TrayApp::applyState() {
    pipeline::setCorrectionActive(pipeline_, pipeline::correctionActive(pause_));
    refreshTooltip();
    refreshIcon(true);
}

bool TrayApp::fullScreenPauseNow() {
    return pipeline_.pauseInGames && pipeline::isFullScreen(desktop_.geometry(desktop_.foregroundWindow()));
}

pipeline::Status TrayApp::status() {
    return pipeline::statusOf(pause_, pipeline_.correctionActive && fullScreenPauseNow());
}

void TrayApp::refreshTooltip() { notifyIcon_.setTip(tray::trayTooltip(tray::statusText(status()))); }

void TrayApp::refreshIcon(bool force) {
    uint16_t language = desktop_.layoutLanguage(desktop_.foregroundWindow());
    bool runs = pipeline::correctionActive(pause_) && !fullScreenPauseNow();
    notifyIcon_.show(tray::iconLook(language, runs), force);
}

}  // namespace quillom
