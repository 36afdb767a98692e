// The object behind a qm_engine handle.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "layout/selection_conversion.h"
#include "scoring/evaluate/rules_engine.h"
#include "session/session.h"

namespace quillom {

class EngineHandle {
public:
    // Nothing when the rules file cannot be read or is not a JSON object.
    static std::unique_ptr<EngineHandle> create(const std::string& rulesPath, const std::string& prefsPath);

    explicit EngineHandle(std::shared_ptr<const RulesEngine> engine) : engine_(std::move(engine)), session_(*engine_) {}

    // trackSession: the contextual evaluation, which keeps the session state.
    RulesDecision evaluate(std::string_view token, std::string_view appId,
                           const std::optional<std::string>& activeInputSource, bool hasUnknownBeginning,
                           bool trackSession);
    void resetContext() { session_.reset(); }
    RulesDecision evaluateInText(std::string_view token, std::string_view appId,
                                 const std::optional<std::string>& activeInputSource, bool hasUnknownBeginning,
                                 std::optional<std::string_view> between, session::Session::WordsBefore& before) {
        return session_.evaluateInText(token, appId, activeInputSource, hasUnknownBeginning, between, before);
    }
    void breakText() { session_.breakText(); }

    layout::ManualConversionResult convertSelectionSmart(std::string_view text,
                                                         const std::optional<std::string>& activeInputSource) const;
    layout::ManualConversionResult convertSelection(std::string_view text, const std::string& target) const;
    std::optional<std::string> correctWordBefore(std::string_view previous, std::string_view token,
                                                 const std::string& target) const {
        return session_.correctWordBefore(previous, token, target);
    }

private:
    std::shared_ptr<const RulesEngine> engine_;
    session::Session session_;  // reads *engine_
};

}  // namespace quillom
