#include "update_notice.h"

#include <vector>

#include "common/utf16.h"
#include "interface_strings.h"

namespace quillom::tray {
namespace {

std::vector<unsigned long> partsOf(std::string_view version) {
    std::vector<unsigned long> parts{0};
    for (char c : version) {
        if (c == '.') parts.push_back(0);
        else if (c >= '0' && c <= '9') parts.back() = parts.back() * 10 + unsigned(c - '0');
        else break;
    }
    return parts;
}

// The value after `sparkle:version="` or `<sparkle:version>` at a match.
std::string_view valueAt(std::string_view text, size_t at, std::string_view opener) {
    const size_t start = at + opener.size();
    const char close = opener.back() == '"' ? '"' : '<';
    const size_t end = text.find(close, start);
    return end == std::string_view::npos ? std::string_view() : text.substr(start, end - start);
}

}  // namespace

std::string newestVersionIn(std::string_view appcast) {
    std::string newest;
    for (std::string_view opener : {std::string_view("sparkle:version=\""), std::string_view("<sparkle:version>")}) {
        for (size_t at = appcast.find(opener); at != std::string_view::npos; at = appcast.find(opener, at + 1)) {
            const std::string_view version = valueAt(appcast, at, opener);
            if (!version.empty() && version.front() >= '0' && version.front() <= '9' &&
                (newest.empty() || isNewerVersion(version, newest)))
                newest = version;
        }
    }
    return newest;
}

bool isNewerVersion(std::string_view candidate, std::string_view current) {
    std::vector<unsigned long> a = partsOf(candidate), b = partsOf(current);
    a.resize(std::max(a.size(), b.size()));
    b.resize(a.size());
    return a > b;
}

std::optional<std::u16string> updateNotice(const std::optional<std::string>& appcast, std::string_view current,
                                           bool askedByUser) {
    if (!appcast) {
        if (!askedByUser) return std::nullopt;
        return text(TextId::UpdateCheckFailed);
    }
    const std::string newest = newestVersionIn(*appcast);
    if (!newest.empty() && isNewerVersion(newest, current))
        return formattedText(TextId::UpdateAvailablePortable, toUtf16(newest));
    if (!askedByUser) return std::nullopt;
    return formattedText(TextId::UpToDate, toUtf16(std::string(current)));
}

}  // namespace quillom::tray
