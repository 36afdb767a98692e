// The program's typing pipeline (word capture, the engine's decision, the
// replay of corrections, the layout switch, held keys) driven key by key on
// the simulated desktop: what the command-line tool's `fix` and the accuracy
// benchmark type through, so that they see what the program does.
#pragma once

#include <optional>
#include <string>

#include "pipeline/engine_port.h"
#include "pipeline/keyboard_hook.h"
#include "simulation/simulated_desktop.h"

namespace quillom::simulation {

// A word the pipeline asked the engine about, and what the engine answered.
struct Evaluation {
    pipeline::WordQuery query;
    pipeline::Decision decision;
};

class SimulatedTyping {
public:
    // engine and keys must outlive this.
    SimulatedTyping(pipeline::WordEngine& engine, const KeyTables& keys);

    // A new empty window of application `app` with the layout of `language`
    // focused: the caret read there finds nothing before the caret, so the
    // first word's beginning is known.
    void openWindow(const std::string& app, const std::string& language);

    // One key press (Shift around it when asked), as the user makes it, then
    // the message loop's turn. Returns the word the key ended, if it ended one.
    std::optional<Evaluation> press(KeyStroke key);
    // A character the layout has no key for, reached some other way.
    std::optional<Evaluation> typeOther(char16_t ch);
    // The user changes the window's layout by hand.
    void setLayout(const std::string& language) { desktop_.setLayout(language); }

    SimulatedDesktop& desktop() { return desktop_; }
    const pipeline::WordCapture& capture() const { return state_.capture; }
    // The number of the key press going on or made last; the window's text
    // tells for each unit which press it belongs to.
    uint32_t pressCount() const { return presses_; }

private:
    // Records what the pipeline asks the engine.
    class Recorder final : public pipeline::WordEngine {
    public:
        explicit Recorder(pipeline::WordEngine& engine) : engine_(engine) {}
        pipeline::Decision evaluate(const pipeline::WordQuery& query) override;
        void resetContext() override { engine_.resetContext(); }
        pipeline::Conversion convertSelection(const std::string& text, const std::string& target) override {
            return engine_.convertSelection(text, target);
        }
        std::optional<Evaluation> last;

    private:
        pipeline::WordEngine& engine_;
    };

    void event(uint32_t vk, uint32_t scan, bool down, bool shift);

    SimulatedDesktop desktop_;
    Recorder recorder_;
    pipeline::PipelineState state_;
    pipeline::KeyboardHook hook_;
    uint32_t presses_ = 0;
};

}  // namespace quillom::simulation
