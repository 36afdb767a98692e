// The object behind a qm_engine handle.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "session/recent_corrections.h"
#include "session/session_language_tracker.h"
#include "layout/selection_conversion.h"
#include "session/layout_follow.h"
#include "scoring/rules_engine.h"

namespace quillom {

class EngineHandle {
public:
    // Nothing when the rules file cannot be read or is not a JSON object.
    static std::unique_ptr<EngineHandle> create(const std::string& rulesPath, const std::string& prefsPath);

    explicit EngineHandle(std::shared_ptr<const RulesEngine> engine) : engine_(std::move(engine)) {}

    // trackSession: the contextual evaluation, which keeps the session state.
    RulesDecision evaluate(std::string_view token, std::string_view appId,
                           const std::optional<std::string>& activeInputSource, bool hasUnknownBeginning,
                           bool trackSession);
    void resetContext() {
        sessionTracker_.reset();
        recentLanguages_.reset();
        recentCorrections_.reset();
        keptOn_.reset();
    }

    layout::ManualConversionResult convertSelectionSmart(std::string_view text,
                                                         const std::optional<std::string>& activeInputSource) const;
    layout::ManualConversionResult convertSelection(std::string_view text, const std::string& target) const;
    // The word before token as it reads in target when it goes along with
    // token: a short word, quote or number typed before it, or the engine's
    // own correction into another language of target's script, with the
    // words typed after it, which token settled (see revisedSpan).
    std::optional<std::string> correctWordBefore(std::string_view previous, std::string_view token,
                                                 const std::string& target) const;

private:
    // shown: the language the correction shows (scoring::WordLanguages).
    void recordSession(std::string_view token, const RulesDecision& decision, const std::optional<std::string>& shown);
    // source: the layout the word was typed on.
    void recordLanguage(std::string_view token, const std::optional<std::string>& source, const RulesDecision& decision,
                        const scoring::WordLanguages& languages);
    // The word, kept as typed on the layout of source, joins the words after
    // a guess open to them.
    bool joinsSpan(std::string_view token, const std::optional<std::string>& source, const RulesDecision& decision,
                   std::optional<std::size_t> vote) const;
    std::optional<std::string> revisedSpan(const RevisableSpan& span, const std::string& target) const;

    std::shared_ptr<const RulesEngine> engine_;
    SessionLanguageTracker sessionTracker_{3};
    scoring::RecentLanguages recentLanguages_;  // fed like the tracker, when the rules ask for it
    RecentCorrections recentCorrections_;       // fed with the languages, when the rules ask for them
    std::string lastAppId_;
    // The layout the last word was kept as typed on, in this application:
    // nothing after a correction or a word the engine did not see whole.
    std::optional<std::string> keptOn_;
};

}  // namespace quillom
