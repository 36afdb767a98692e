// The Feedback tab's request: the JSON body built from the form and a description of the
// system, and the status line for the HTTP status the sender reports. No typed text of the
// user's other work is ever part of it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "quillom_version.h"
#include "tray/text_id.h"

namespace quillom::ui {

inline constexpr std::size_t kMaxFeedbackMessageBytes = 4000;
inline constexpr std::string_view kFeedbackPath = "/api/quillom/feedback";
inline constexpr std::string_view kFeedbackUserAgent = "Quillom/" QUILLOM_VERSION;
inline constexpr std::string_view kAppVersion = QUILLOM_VERSION;

// The type list's entries, in row order.
inline constexpr std::array<tray::TextId, 3> kFeedbackTypeTexts{
    tray::TextId::FeedbackBugReport, tray::TextId::FeedbackFeatureIdea, tray::TextId::FeedbackOther};

struct FeedbackForm {
    int typeRow = -1;  // 0 bug, 1 idea, 2 other; no selection counts as other
    std::u16string email;
    std::u16string message;
};

struct SystemDescription {
    unsigned long major = 0, minor = 0, build = 0;  // 0 when the version could not be read
    std::string locale;                             // UTF-8; empty when unknown ("en-US" is sent)
};

// "bug", "idea" or "other".
std::string_view feedbackType(int typeRow);

// The longest prefix of at most maxBytes that ends on a character boundary, so that a cut never
// splits a multi-byte UTF-8 sequence.
std::string_view cutAtCharacterBoundary(std::string_view utf8, std::size_t maxBytes);

// The printed body, members in the order type, message, contactEmail (only when given),
// appVersion, osVersion, arch, locale; nothing when the message is empty after stripping.
std::optional<std::string> feedbackBody(const FeedbackForm& form, const SystemDescription& system);

// The status line for the result: 2xx sent, 429 too many, 0 network error, else rejected.
tray::TextId feedbackResultText(unsigned status);

}  // namespace quillom::ui
