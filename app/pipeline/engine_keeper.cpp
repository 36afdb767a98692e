#include "engine_keeper.h"

#include "common/debug_log.h"

namespace quillom::pipeline {

bool EngineKeeper::createNow() {
    engine_ = build_();
    state_.engine = engine_.get();
    return engine_ != nullptr;
}

void EngineKeeper::rebuild() {
    auto fresh = std::make_shared<std::unique_ptr<WordEngine>>(build_());
    if (!*fresh) {
        logLine("reload failed: could not create engine from %s", rulesPath_.c_str());
        return;
    }
    // The task owns the engine until the main thread takes it; a task that
    // cannot be posted dies here with it.
    postToMain_([this, fresh] { swapIn(std::move(*fresh)); });
}

void EngineKeeper::swapIn(std::unique_ptr<WordEngine> fresh) {
    std::swap(engine_, fresh);
    state_.engine = engine_.get();
    // The swap arrives whenever the build is done, often in the middle of a
    // word: the letters typed so far are still on the screen and stay in the
    // buffer; only the session state starts afresh with the new engine.
    state_.engine->resetContext();
    logLine("engine reloaded from %s / %s", rulesPath_.c_str(), prefsPath_.c_str());
}

void EngineKeeper::release() {
    state_.engine = nullptr;
    engine_.reset();
}

}  // namespace quillom::pipeline
