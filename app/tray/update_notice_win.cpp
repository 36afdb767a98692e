#include "update_notice_win.h"

#include <windows.h>
#include <winhttp.h>

#include "common/utf16.h"
#include "quillom_version.h"
#include "win/scoped_win.h"

namespace quillom::tray {
namespace {

constexpr size_t kMaxAppcastBytes = 1 << 20;

std::optional<std::string> readBody(HINTERNET request) {
    std::string body;
    for (;;) {
        DWORD available = 0;
        if (!WinHttpQueryDataAvailable(request, &available)) return std::nullopt;
        if (available == 0) return body;
        if (body.size() + available > kMaxAppcastBytes) return std::nullopt;
        const size_t at = body.size();
        body.resize(at + available);
        DWORD read = 0;
        if (!WinHttpReadData(request, body.data() + at, available, &read)) return std::nullopt;
        body.resize(at + read);
    }
}

}  // namespace

std::optional<std::string> fetchAppcast(const std::string& url) {
    const std::u16string wide16 = toUtf16(url);
    const std::wstring wide(wide16.begin(), wide16.end());
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof parts;
    parts.dwHostNameLength = parts.dwUrlPathLength = parts.dwExtraInfoLength = DWORD(-1);
    if (!WinHttpCrackUrl(wide.c_str(), 0, 0, &parts)) return std::nullopt;
    const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
    const std::wstring path = std::wstring(parts.lpszUrlPath, parts.dwUrlPathLength) +
                              std::wstring(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    const win::ScopedInternet session(WinHttpOpen(L"Quillom/" QUILLOM_VERSION, WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                                                  WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
    if (!session) return std::nullopt;
    // Bounded, so that quitting never waits long for a server that does not answer.
    WinHttpSetTimeouts(session.get(), 5000, 5000, 5000, 10000);
    const win::ScopedInternet connection(WinHttpConnect(session.get(), host.c_str(), parts.nPort, 0));
    if (!connection) return std::nullopt;
    const win::ScopedInternet request(WinHttpOpenRequest(
        connection.get(), L"GET", path.c_str(), nullptr, WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
        parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0));
    if (!request ||
        !WinHttpSendRequest(request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0) ||
        !WinHttpReceiveResponse(request.get(), nullptr))
        return std::nullopt;
    DWORD status = 0, size = sizeof status;
    if (!WinHttpQueryHeaders(request.get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                             WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX) ||
        status != 200)
        return std::nullopt;
    return readBody(request.get());
}

}  // namespace quillom::tray
