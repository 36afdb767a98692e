#include <quillom.hpp>

#include "engine_port.h"

namespace quillom::pipeline {
namespace {

class CabiWordEngine final : public WordEngine {
public:
    explicit CabiWordEngine(cabi::EnginePtr handle) : handle_(std::move(handle)) {}

    Decision evaluate(const WordQuery& q) override {
        return cabi::evaluateContext(handle_.get(), q.word, q.appId, q.inputSource, q.hasUnknownBeginning);
    }

    void resetContext() override { qm_engine_reset_context(handle_.get()); }

    Conversion convertSelection(const std::string& text, const std::string& target) override {
        return target.empty() ? cabi::convertSelection(handle_.get(), text)
                              : cabi::convertSelectionTo(handle_.get(), text, target);
    }

private:
    cabi::EnginePtr handle_;
};

}  // namespace

std::unique_ptr<WordEngine> createCabiWordEngine(const std::string& rulesPath, const std::string& prefsPath) {
    cabi::EnginePtr handle = cabi::createEngine(rulesPath, prefsPath);
    if (!handle) return nullptr;
    return std::make_unique<CabiWordEngine>(std::move(handle));
}

}  // namespace quillom::pipeline
