// Owns the engine the keyboard hook asks and replaces it without holding up
// the thread that owns the hooks: a new engine (60-85 ms to build from the
// rules file) is built on another thread and handed to the main thread, which
// swaps it in between two hook calls and only then destroys the old one. Each
// engine is used by one thread at a time: the builder, then the main thread.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "engine_port.h"
#include "pipeline_state.h"

namespace quillom::pipeline {

class EngineKeeper {
public:
    using Build = std::function<std::unique_ptr<WordEngine>()>;
    // Runs a task on the main thread later (a posted message); false when it cannot.
    using PostToMain = std::function<bool(std::function<void()>)>;

    // The two paths are only named in the log; they must outlive the keeper.
    EngineKeeper(PipelineState& state, Build build, PostToMain postToMain, const std::string& rulesPath,
                 const std::string& prefsPath)
        : state_(state),
          build_(std::move(build)),
          postToMain_(std::move(postToMain)),
          rulesPath_(rulesPath),
          prefsPath_(prefsPath) {}

    // Main thread, at start-up before the hooks exist. False when no engine could be built.
    bool createNow();
    // Any thread but the main one (the background worker): builds a new
    // engine and posts it to the main thread. A failed build keeps the old one.
    void rebuild();
    // Main thread, at shutdown.
    void release();

    WordEngine* engine() const { return engine_.get(); }

private:
    void swapIn(std::unique_ptr<WordEngine> fresh);

    PipelineState& state_;
    Build build_;
    PostToMain postToMain_;
    const std::string& rulesPath_;
    const std::string& prefsPath_;
    std::unique_ptr<WordEngine> engine_;
};

}  // namespace quillom::pipeline
