#include <quillom.h>

#include "engine_port.h"

namespace quillom::pipeline {
namespace {

struct EngineDeleter {
    void operator()(qm_engine* e) const { qm_engine_destroy(e); }
};

// Takes an owned engine string and releases it.
std::optional<std::string> takeString(char* s) {
    if (!s) return std::nullopt;
    std::string text(s);
    qm_free_string(s);
    return text;
}

class CabiEngine final : public WordEngine {
public:
    explicit CabiEngine(qm_engine* handle) : handle_(handle) {}

    WordVerdict evaluate(const WordQuery& q) override {
        int32_t shouldCorrect = 0;
        double confidence = 0.0;
        char targetLang[16] = {};
        char reason[64] = {};
        char* result = qm_engine_evaluate_context(handle_.get(), q.word.c_str(), q.appId.c_str(),
                                                  q.inputSource.c_str(), q.hasUnknownBeginning ? 1 : 0,
                                                  &shouldCorrect, &confidence, targetLang,
                                                  sizeof targetLang, reason, sizeof reason);
        return {shouldCorrect == 1, takeString(result), confidence, targetLang, reason};
    }

    void resetContext() override { qm_engine_reset_context(handle_.get()); }

    Conversion convertSelection(const std::string& text, const std::string& target) override {
        char targetLang[16] = {};
        char* result = target.empty()
                           ? qm_engine_convert_selection(handle_.get(), text.c_str(), nullptr, targetLang,
                                                         sizeof targetLang)
                           : qm_engine_convert_selection_to(handle_.get(), text.c_str(), target.c_str(),
                                                            targetLang, sizeof targetLang);
        return {takeString(result).value_or(std::string()), targetLang};
    }

    std::optional<std::string> correctWordBefore(const std::string& previous, const std::string& word,
                                                 const std::string& target) override {
        auto corrected = takeString(
            qm_engine_correct_word_before(handle_.get(), previous.c_str(), word.c_str(), target.c_str()));
        if (!corrected || corrected->empty()) return std::nullopt;
        return corrected;
    }

private:
    std::unique_ptr<qm_engine, EngineDeleter> handle_;
};

}  // namespace

std::unique_ptr<WordEngine> createCabiEngine(const std::string& rulesPath, const std::string& prefsPath) {
    qm_engine* handle = qm_engine_create(rulesPath.c_str(), prefsPath.c_str());
    if (!handle) return nullptr;
    return std::make_unique<CabiEngine>(handle);
}

}  // namespace quillom::pipeline
