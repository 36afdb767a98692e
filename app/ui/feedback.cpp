#include "feedback.h"

#include "dictionary_tab.h"
#include "settings/json.h"
#include "common/utf16.h"

namespace quillom::ui {

std::string_view feedbackType(int typeRow) {
    switch (typeRow) {
    case 0: return "bug";
    case 1: return "idea";
    default: return "other";
    }
}

std::string_view cutAtCharacterBoundary(std::string_view utf8, std::size_t maxBytes) {
    if (utf8.size() <= maxBytes) return utf8;
    std::size_t end = maxBytes;
    // Step back over continuation bytes (10xxxxxx) to the start of the character the cut is in.
    while (end > 0 && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80) --end;
    return utf8.substr(0, end);
}

std::optional<std::string> feedbackBody(const FeedbackForm& form, const SystemDescription& system) {
    const std::string message = toUtf8(stripBlanks(form.message));
    if (message.empty()) return std::nullopt;
    const std::string email = toUtf8(stripBlanks(form.email));
    settings::JsonValue body = settings::JsonValue::makeObject();
    settings::member(body, "type") = settings::JsonValue(feedbackType(form.typeRow));
    settings::member(body, "message") = settings::JsonValue(cutAtCharacterBoundary(message, kMaxFeedbackMessageBytes));
    if (!email.empty()) settings::member(body, "contactEmail") = settings::JsonValue(email);
    settings::member(body, "appVersion") = settings::JsonValue(kAppVersion);
    settings::member(body, "osVersion") =
        settings::JsonValue("Windows " + std::to_string(system.major) + "." + std::to_string(system.minor) + "." +
                            std::to_string(system.build));
    settings::member(body, "arch") = settings::JsonValue("x86_64");
    settings::member(body, "locale") = settings::JsonValue(system.locale.empty() ? "en-US" : system.locale);
    return settings::toJsonText(body);
}

tray::TextId feedbackResultText(unsigned status) {
    if (status >= 200 && status <= 299) return tray::TextId::FeedbackSent;
    if (status == 429) return tray::TextId::FeedbackTooMany;
    if (status == 0) return tray::TextId::FeedbackNetworkError;
    return tray::TextId::FeedbackRejected;
}

}  // namespace quillom::ui
