// The Feedback tab's sender: the request runs on a detached worker thread that owns its job
// and posts the HTTP status back to the settings window.
#include <windows.h>
#include <winhttp.h>

#include "control_ids.h"
#include "feedback.h"
#include "common/utf16.h"
#include "settings_window_state_win.h"
#include "tray/interface_strings.h"
#include "win/scoped_win.h"

#include <memory>
#include <system_error>
#include <thread>

#if !defined(QUILLOM_FEEDBACK_HOST) || !defined(QUILLOM_FEEDBACK_PORT) || !defined(QUILLOM_FEEDBACK_TLS)
#error "the feedback host, port and TLS flag are build configuration values"
#endif

namespace quillom::ui {
namespace {

struct FeedbackJob {
    std::string body;
    HWND window;
};

// The version numbers from ntdll, which, unlike GetVersionEx, does not depend on the manifest.
SystemDescription systemDescription() {
    SystemDescription system;
    using GetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);
    if (HMODULE ntdll = GetModuleHandleW(L"ntdll.dll")) {
        auto get = reinterpret_cast<GetVersion>(reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")));
        OSVERSIONINFOW info{};
        info.dwOSVersionInfoSize = sizeof info;
        if (get && get(&info) == 0) {
            system.major = info.dwMajorVersion;
            system.minor = info.dwMinorVersion;
            system.build = info.dwBuildNumber;
        }
    }
    wchar_t locale[LOCALE_NAME_MAX_LENGTH] = {};
    if (GetUserDefaultLocaleName(locale, LOCALE_NAME_MAX_LENGTH) > 0)
        system.locale = toUtf8(reinterpret_cast<const char16_t*>(locale));
    return system;
}

win::ScopedInternet openSession() {
    const wchar_t* agent = L"Quillom/" QUILLOM_VERSION;
    win::ScopedInternet session(
        WinHttpOpen(agent, WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY, WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
    // Systems before Windows 8.1 know only the default proxy setting.
    if (!session)
        session.reset(
            WinHttpOpen(agent, WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
    return session;
}

win::ScopedInternet openRequest(HINTERNET connection) {
    const std::wstring path(kFeedbackPath.begin(), kFeedbackPath.end());
    return win::ScopedInternet(WinHttpOpenRequest(connection, L"POST", path.c_str(), nullptr, WINHTTP_NO_REFERER,
                                                  WINHTTP_DEFAULT_ACCEPT_TYPES,
                                                  QUILLOM_FEEDBACK_TLS ? WINHTTP_FLAG_SECURE : 0));
}

// The HTTP status of the answer; 0 when none came.
unsigned statusOf(HINTERNET request, const std::string& body) {
    if (!WinHttpSendRequest(request, L"Content-Type: application/json", DWORD(-1L), const_cast<char*>(body.data()),
                            DWORD(body.size()), DWORD(body.size()), 0) ||
        !WinHttpReceiveResponse(request, nullptr))
        return 0;
    DWORD code = 0, size = sizeof code;
    if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                             WINHTTP_HEADER_NAME_BY_INDEX, &code, &size, WINHTTP_NO_HEADER_INDEX))
        return 0;
    return code;
}

unsigned performRequest(const std::string& body) {
    const win::ScopedInternet session = openSession();
    if (!session) return 0;
    const win::ScopedInternet connection(
        WinHttpConnect(session.get(), QUILLOM_FEEDBACK_HOST, QUILLOM_FEEDBACK_PORT, 0));
    if (!connection) return 0;
    const win::ScopedInternet request = openRequest(connection.get());
    return request ? statusOf(request.get(), body) : 0;
}

// Worker thread: touches no control. A window destroyed meanwhile just loses the message.
void postFeedback(std::unique_ptr<FeedbackJob> job) {
    const unsigned status = performRequest(job->body);
    PostMessageW(job->window, kMsgFeedbackFinished, WPARAM(status), 0);
}

void setStatus(tray::TextId textId) { setControlText(ctrl::FeedbackStatus, tray::text(textId)); }

}  // namespace

void sendFeedback() {
    FeedbackForm form{selectedRow(ctrl::FeedbackType), controlText(ctrl::FeedbackEmail),
                      controlText(ctrl::FeedbackMessage)};
    std::optional<std::string> body = feedbackBody(form, systemDescription());
    if (!body) {
        setStatus(tray::TextId::FeedbackNeedsMessage);
        return;
    }
    setStatus(tray::TextId::FeedbackSending);
    EnableWindow(control(ctrl::SendFeedback), FALSE);
    auto job = std::make_unique<FeedbackJob>(FeedbackJob{std::move(*body), settingsWindow().window});
    try {
        std::thread(postFeedback, std::move(job)).detach();
    } catch (const std::system_error&) {
        // No worker, so no result will come: report it now instead of staying at "Sending…".
        showFeedbackResult(0);
    }
}

void showFeedbackResult(unsigned status) {
    const tray::TextId text = feedbackResultText(status);
    setStatus(text);
    if (text == tray::TextId::FeedbackSent) setControlText(ctrl::FeedbackMessage, u"");
    EnableWindow(control(ctrl::SendFeedback), TRUE);
}

}  // namespace quillom::ui
