#include <quillom.hpp>

#include "engine_port.h"

namespace quillom::pipeline {
namespace {

class CabiWordEngine final : public WordEngine {
public:
    explicit CabiWordEngine(cabi::EnginePtr handle) : owned_(std::move(handle)), handle_(owned_.get()) {}
    explicit CabiWordEngine(qm_engine* handle) : handle_(handle) {}

    Decision evaluate(const WordQuery& q) override {
        return cabi::evaluateInText(handle_, q.word, q.appId, q.inputSource, q.hasUnknownBeginning,
                                    q.typedSince ? q.typedSince->c_str() : nullptr);
    }

    void resetContext() override { qm_engine_reset_context(handle_); }

    Conversion convertSelection(const std::string& text, const std::string& target) override {
        return target.empty() ? cabi::convertSelection(handle_, text) : cabi::convertSelectionTo(handle_, text, target);
    }

private:
    cabi::EnginePtr owned_;  // empty for a borrowed handle
    qm_engine* handle_;
};

}  // namespace

std::unique_ptr<WordEngine> createCabiWordEngine(const std::string& rulesPath, const std::string& prefsPath) {
    cabi::EnginePtr handle = cabi::createEngine(rulesPath, prefsPath);
    if (!handle) return nullptr;
    return std::make_unique<CabiWordEngine>(std::move(handle));
}

std::unique_ptr<WordEngine> borrowCabiWordEngine(qm_engine* handle) { return std::make_unique<CabiWordEngine>(handle); }

}  // namespace quillom::pipeline
