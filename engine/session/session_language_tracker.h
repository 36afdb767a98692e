#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace quillom::session {

// Which language the user has been typing in the current application.
class SessionLanguageTracker {
public:
    explicit SessionLanguageTracker(int64_t streakToActivate = 3) : streakToActivate_(streakToActivate) {}

    std::optional<std::string> sessionLanguage() const {
        if (streakCount_ >= streakToActivate_) return streakLanguage_;
        return std::nullopt;
    }

    void recordWord(const std::optional<std::string>& language) {
        if (!language) return;
        if (streakLanguage_ != language) {
            streakLanguage_ = language;
            streakCount_ = 1;
        } else {
            ++streakCount_;
        }
    }

    void reset() {
        streakLanguage_.reset();
        streakCount_ = 0;
    }

private:
    int64_t streakToActivate_;
    std::optional<std::string> streakLanguage_;
    int64_t streakCount_ = 0;
};

}  // namespace quillom::session
