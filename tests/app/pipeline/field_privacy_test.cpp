// Password fields in every kind of control: the hook on applications that
// keep many fields in one window and move the focus among them without a
// change of focused window, read the way each kind answers.
#include <gtest/gtest.h>

#include "fakes.h"
#include "log_capture.h"
#include "pipeline/correction_drain.h"

namespace quillom::pipeline::testing {
namespace {

// How the application answers the caret worker's read of its focused field.
enum class Answers {
    Automation,  // UI Automation: the text before the caret, IsPassword
    Nothing,     // a custom-drawn control that answers no question (every control under Wine)
};

// One window, many fields (a browser page, an Electron, WPF or Store app).
// It handles the keys it receives some keys late (`lag`): a read sees the
// fields as they stood before the last `lag` keys.
struct ManyFieldApp {
    struct Field {
        std::u16string text;
        bool password = false;
    };
    std::vector<Field> fields{{}, {u"", true}, {}};
    size_t focused = 0;
    Answers answers = Answers::Automation;
    bool shift = false;
    size_t lag = 0;
    std::vector<std::pair<std::vector<Field>, size_t>> history;  // after each key the app received

    void apply(const SyntheticKey& key) {
        const bool up = key.flags & keyflag::KeyUp;
        if (key.vk == 0x10 || key.vk == 0xA0 || key.vk == 0xA1) shift = !up;
        if (up) return;
        std::u16string& text = fields[focused].text;
        if (key.flags & keyflag::Unicode) text += char16_t(key.scan);
        else if (key.vk == 0x09) focused = (focused + (shift ? fields.size() - 1 : 1)) % fields.size();
        else if (key.vk == 0x08 && !text.empty()) text.pop_back();
        else if (key.vk == 0x20) text += u' ';
        else if (char16_t ch = layoutChar(0x09, key.vk, shift)) text += ch;
        history.emplace_back(fields, focused);
    }
    CaretReading read() const {
        const auto& [seen, at] = history.size() > lag ? history[history.size() - 1 - lag] : history.front();
        const Field& field = seen[at];
        CaretReading reading{std::nullopt, false, "model"};
        if (answers == Answers::Nothing) return reading;
        reading.hidden = field.password;
        if (field.password) return reading;
        reading.text = PrecedingText{field.text, true};
        return reading;
    }
};

struct AppRig : PipelineRig {
    ManyFieldApp app;

    AppRig(Answers answers, size_t lag) {
        app.answers = answers;
        app.lag = lag;
        app.history.emplace_back(app.fields, 0);
        desktop.customControls = {101};
        input.editor = nullptr;
        input.afterSend = [this](std::span<const SyntheticKey> keys) {
            for (const SyntheticKey& k : keys) app.apply(k);
        };
        engine.correct("ghbdtn", "привет", "ru");
        engine.correct("vbh", "мир", "ru");
    }
    // The user's key: the hook, then the application, then the caret worker
    // reads as often as it is asked.
    void press(uint32_t vk, bool down) {
        KeyEvent event{vk, usScanCode(vk), down, false, clock.now++, 0};
        if (hook.onKey(event) == HookVerdict::Pass) app.apply({uint16_t(vk), 0, down ? 0u : keyflag::KeyUp});
        while (std::optional<CaretQuestion::Ticket> ticket = state.caret.readIfWanted())
            if (!state.caret.deliver(*ticket, app.read(), 2)) break;
    }
    void typeKeys(std::string_view text) {
        for (char c : text) {
            const uint32_t vk = c == ' ' ? 0x20 : (c >= 'a' && c <= 'z') ? uint32_t(c - 'a' + 'A') : uint32_t(c);
            press(vk, true);
            press(vk, false);
        }
        drainQueue(hook);
    }
};

enum class Move { Click, Tab, ShiftTab, Script, WindowActivated };

void moveToPassword(AppRig& rig, Move move) {
    switch (move) {
    case Move::Click:
        rig.hook.onMouse({MouseMessage::ButtonDown});
        rig.app.focused = 1;
        break;
    case Move::Tab:
        rig.press(0x09, true);
        rig.press(0x09, false);
        break;
    case Move::ShiftTab:
        rig.app.focused = 2;  // from the field after the password field
        rig.press(0xA0, true);
        rig.press(0x09, true);
        rig.press(0x09, false);
        rig.press(0xA0, false);
        break;
    case Move::Script: rig.app.focused = 1; break;
    case Move::WindowActivated:
        rig.desktop.foreground = 200;
        rig.press(0x12, true);  // Alt+Tab away and back
        rig.press(0x12, false);
        rig.desktop.foreground = 100;
        rig.app.focused = 1;
        break;
    }
    rig.app.history.emplace_back(rig.app.fields, rig.app.focused);
}

// The probe: a user name, a move to the password field, the password. The
// password's word never reaches the engine, the queue or the log, however the
// focus got there and however the application answers; the user name is
// corrected where the application can tell its field is open.
TEST(FieldPrivacy, PasswordAfterAUserNameInOneWindow) {
    const Answers kinds[] = {Answers::Automation, Answers::Nothing};
    const Move moves[] = {Move::Click, Move::Tab, Move::ShiftTab, Move::Script, Move::WindowActivated};
    for (Answers answers : kinds) {
        for (Move move : moves) {
            for (size_t lag : {0u, 1u}) {
                LogCapture log;
                AppRig rig(answers, lag);
                const std::string what = "answers " + std::to_string(int(answers)) + " move " +
                                         std::to_string(int(move)) + " lag " + std::to_string(lag);
                rig.typeKeys("vbh ");
                moveToPassword(rig, move);
                rig.typeKeys("ghbdtn ");
                EXPECT_EQ(rig.app.fields[1].text, u"ghbdtn ") << what;
                for (const WordQuery& q : rig.engine.queries) EXPECT_NE(q.word, "ghbdtn") << what;
                for (const std::string& line : gLogged) EXPECT_EQ(line.find("ghbdtn"), std::string::npos) << what;
                EXPECT_EQ(rig.app.fields[0].text, answers == Answers::Nothing ? u"vbh " : u"мир ") << what;
            }
        }
    }
}

// The first word of a field ends before any read of it: it is not corrected,
// and is not logged.
TEST(FieldPrivacy, WordEndingBeforeTheFieldsAnswerStaysAsTyped) {
    LogCapture log;
    AppRig rig(Answers::Automation, 0);
    for (char c : std::string_view("ghbdtn ")) {
        const uint32_t vk = c == ' ' ? 0x20 : uint32_t(c - 'a' + 'A');
        rig.hook.onKey({vk, 0, true, false, rig.clock.now++, 0});
        rig.app.apply({uint16_t(vk), 0, 0});
    }
    EXPECT_TRUE(rig.engine.queries.empty());
    EXPECT_TRUE(rig.state.queue.empty());
    ASSERT_EQ(gLogged.size(), 1u);
    EXPECT_EQ(gLogged[0].find("ghbdtn"), std::string::npos) << gLogged[0];
}

// A word typed after a password must not take the password's pieces along
// (a number, a short word before it are corrected with the next word).
TEST(FieldPrivacy, NoLaterWordTakesAPasswordAlong) {
    AppRig rig(Answers::Automation, 0);
    rig.engine.wordsBefore[{"12", "vbh"}] = "12";
    rig.app.focused = 1;
    rig.app.history.emplace_back(rig.app.fields, 1);
    rig.typeKeys("ab 12 ");
    rig.press(0x09, true);
    rig.press(0x09, false);
    rig.typeKeys("vbh ");
    ASSERT_EQ(rig.engine.queries.size(), 1u);
    EXPECT_EQ(rig.engine.queries[0].word, "vbh");
    EXPECT_EQ(rig.app.fields[2].text, u"мир ");
    EXPECT_EQ(rig.app.fields[1].text, u"ab 12 ");
}

// Standard edits tell by their style, without a read: Notepad and the like
// (and every edit under Wine, which has no UI Automation) are corrected from
// the first word; a style changed by a "show password" button counts at once.
TEST(FieldPrivacy, StandardEditsAreKnownByTheirStyle) {
    LogCapture log;
    PipelineRig rig;
    rig.engine.correct("ghbdtn", "привет", "ru");
    rig.type("ghbdtn ");
    drainQueue(rig.hook);
    EXPECT_EQ(rig.editor.text, u"привет ");
    rig.desktop.passwordFields = {101};
    rig.type("ghbdtn ");
    drainQueue(rig.hook);
    EXPECT_EQ(rig.editor.text, u"привет ghbdtn ");
    EXPECT_EQ(rig.engine.queries.size(), 1u);
}

}  // namespace
}  // namespace quillom::pipeline::testing
