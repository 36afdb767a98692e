// Recording stand-ins for the pipeline's platform services and the engine,
// and a small model of the focused editor that applies what reaches it.
#pragma once

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "pipeline/engine_port.h"
#include "pipeline/keyboard_hook.h"
#include "pipeline/platform.h"
#include "session/recent_words.h"

namespace quillom::pipeline::testing {

// What a key gives on the Windows US, Russian and Ukrainian layouts, for the
// keys the tests type: letters, the punctuation row, the hyphen and the
// digits 1, 2, 6 and 7.
inline char16_t layoutChar(uint16_t primaryLanguage, uint32_t vkCode, bool shift) {
    struct Key {
        uint32_t vk;
        char16_t us[2], ru[2], uk[2];
    };
    static const Key keys[] = {
        {0xBF, {u'/', u'?'}, {u'.', u','}, {u'.', u','}},  {0xBC, {u',', u'<'}, {u'б', u'Б'}, {u'б', u'Б'}},
        {0xBE, {u'.', u'>'}, {u'ю', u'Ю'}, {u'ю', u'Ю'}},  {0xBA, {u';', u':'}, {u'ж', u'Ж'}, {u'ж', u'Ж'}},
        {0xDE, {u'\'', u'"'}, {u'э', u'Э'}, {u'є', u'Є'}}, {0x31, {u'1', u'!'}, {u'1', u'!'}, {u'1', u'!'}},
        {0x37, {u'7', u'&'}, {u'7', u'?'}, {u'7', u'?'}},  {0xDC, {u'\\', u'|'}, {u'\\', u'/'}, {u'ґ', u'Ґ'}},
        {0x32, {u'2', u'@'}, {u'2', u'"'}, {u'2', u'"'}},  {0x36, {u'6', u'^'}, {u'6', u':'}, {u'6', u':'}},
        {0xBD, {u'-', u'_'}, {u'-', u'_'}, {u'-', u'_'}},
    };
    static const std::u16string russian = u"фисвуапршолдьтщзйкыегмцчня", ukrainian = u"фисвуапршолдьтщзйкіегмцчня";
    const int column = shift ? 1 : 0;
    if (vkCode >= 'A' && vkCode <= 'Z') {
        if (primaryLanguage == 0x09) return char16_t(shift ? vkCode : vkCode - 'A' + 'a');
        const char16_t lower = (primaryLanguage == 0x22 ? ukrainian : russian)[vkCode - 'A'];
        if (!shift) return lower;
        return lower == u'і' ? u'І' : char16_t(lower - 0x20);
    }
    for (const Key& k : keys) {
        if (k.vk != vkCode) continue;
        if (primaryLanguage == 0x19) return k.ru[column];
        if (primaryLanguage == 0x22) return k.uk[column];
        return k.us[column];
    }
    return 0;
}

// Scan codes of the US layout (set 1) for the keys the tests send.
inline uint32_t usScanCode(uint32_t vk) {
    static const std::map<uint32_t, uint32_t> codes{
        {0x08, 0x0E}, {0x09, 0x0F},   {0x0D, 0x1C}, {0x10, 0x2A},   {0xA0, 0x2A},   {0xA1, 0x36}, {0x11, 0x1D},
        {0xA2, 0x1D}, {0xA3, 0xE01D}, {0x20, 0x39}, {0x25, 0xE04B}, {0x2E, 0xE053}, {'A', 0x1E},  {'B', 0x30},
        {'C', 0x2E},  {'D', 0x20},    {'E', 0x12},  {'F', 0x21},    {'G', 0x22},    {'H', 0x23},  {'I', 0x17},
        {'J', 0x24},  {'K', 0x25},    {'L', 0x26},  {'M', 0x32},    {'N', 0x31},    {'O', 0x18},  {'P', 0x19},
        {'Q', 0x10},  {'R', 0x13},    {'S', 0x1F},  {'T', 0x14},    {'U', 0x16},    {'V', 0x2F},  {'W', 0x11},
        {'X', 0x2D},  {'Y', 0x15},    {'Z', 0x2C}};
    auto it = codes.find(vk);
    return it == codes.end() ? 0 : it->second;
}

// The virtual key a scan code stands for on the US layout; 0 for none.
inline uint32_t usKeyOfScan(uint16_t scan, bool extended) {
    for (uint32_t vk = 1; vk < 0xFF; ++vk) {
        const uint32_t code = usScanCode(vk);
        if (code != 0 && (code & 0xFF) == scan && (code > 0xFF) == extended && vk != 0x10 && vk != 0x11) return vk;
    }
    return 0;
}

// The text of the focused application: applies key events as a US-layout
// editor would, so tests read the result the user would see. A scan-code
// consumer (a remote-desktop client, a virtual machine's console) takes the
// key from the scan code and ignores the virtual key.
struct FakeEditor {
    std::u16string text;
    bool shift = false;
    bool scanCodesOnly = false;
    std::vector<uint16_t> keyDowns;  // virtual keys of the key-downs it received, packets as 0xE7

    void apply(SyntheticKey key) {
        const bool up = key.flags & keyflag::KeyUp;
        if (key.flags & keyflag::Unicode) {
            if (!up) {
                text += char16_t(key.scan);
                keyDowns.push_back(0xE7);
            }
            return;
        }
        if (scanCodesOnly) key.vk = uint16_t(usKeyOfScan(key.scan, key.flags & keyflag::Extended));
        if (!up) keyDowns.push_back(key.vk);
        if (key.vk == 0x10 || key.vk == 0xA0 || key.vk == 0xA1) {
            shift = !up;
            return;
        }
        if (up) return;
        if (key.vk == 0x08) {
            if (!text.empty()) text.pop_back();
        } else if (key.vk == 0x0D) {
            text += u'\n';
        } else if (key.vk == 0x09) {
            text += u'\t';
        } else if (key.vk == 0x20) {
            text += u' ';
        } else if (char16_t ch = layoutChar(0x09, key.vk, shift)) {
            text += ch;
        }
    }
};

// Sends go to the editor; each event first passes through the hook, as
// Windows calls the low-level hook for injected input too.
class FakeInput final : public InputSender {
public:
    size_t send(std::span<const SyntheticKey> keys) override {
        calls.emplace_back(keys.begin(), keys.end());
        for (const SyntheticKey& key : keys) {
            if (hook) {
                KeyEvent event{
                    key.vk, key.scan,       !(key.flags & keyflag::KeyUp), bool(key.flags & keyflag::Extended),
                    0,      kInjectedMarker};
                injectedVerdicts.push_back(hook->onKey(event));
            }
            if (editor) editor->apply(key);
        }
        if (afterSend) afterSend(keys);
        return inserts ? std::min(*inserts, keys.size()) : keys.size();
    }
    bool sendMouse(const MouseEvent& event) override {
        mouseSent.push_back(event);
        return true;
    }

    std::vector<SyntheticKey> allKeys() const {
        std::vector<SyntheticKey> all;
        for (const auto& call : calls) all.insert(all.end(), call.begin(), call.end());
        return all;
    }

    std::vector<std::vector<SyntheticKey>> calls;
    std::vector<HookVerdict> injectedVerdicts;
    std::vector<MouseEvent> mouseSent;
    std::optional<size_t> inserts;  // how many events of a call the system inserts; all when unset
    KeyboardHook* hook = nullptr;
    FakeEditor* editor = nullptr;
    std::function<void(std::span<const SyntheticKey>)> afterSend;
};

class FakeDesktop final : public Desktop {
public:
    WindowId foreground = 100;
    WindowId focus = 101;
    std::map<WindowId, std::string> exeNames{{100, "notepad.exe"}};
    std::vector<WindowId> ownWindows;
    uint16_t layout = 0x0409;
    std::vector<LayoutId> layouts{0x04090409, 0x04190419, 0x04220422};
    std::vector<std::pair<WindowId, LayoutId>> layoutRequests;
    WindowGeometry foregroundGeometry;
    std::vector<WindowId> broughtToFront;

    WindowId foregroundWindow() override { return foreground; }
    bool belongsToThisProcess(WindowId w) override {
        return std::find(ownWindows.begin(), ownWindows.end(), w) != ownWindows.end();
    }
    std::string executableName(WindowId w) override {
        auto it = exeNames.find(w);
        return it == exeNames.end() ? std::string() : it->second;
    }
    WindowId focusTarget() override { return focus; }
    std::vector<WindowId> passwordFields;
    // Controls other than standard edits: their style tells nothing.
    std::vector<WindowId> customControls;
    FieldStyle fieldStyle(WindowId w) override {
        if (std::find(customControls.begin(), customControls.end(), w) != customControls.end())
            return FieldStyle::Unknown;
        return std::find(passwordFields.begin(), passwordFields.end(), w) != passwordFields.end() ? FieldStyle::Password
                                                                                                  : FieldStyle::Open;
    }
    std::map<WindowId, WindowKind> kinds;
    WindowKind windowKind(WindowId w) override {
        auto it = kinds.find(w);
        return it == kinds.end() ? WindowKind::Standard : it->second;
    }
    uint32_t scanCodeOf(uint32_t vk) override { return usScanCode(vk); }
    // Windows whose thread has a layout of its own (a frame host's stale one);
    // any other has `layout`.
    std::map<WindowId, uint16_t> threadLayouts;
    uint16_t layoutLanguage(WindowId w) override {
        auto it = threadLayouts.find(w);
        return it == threadLayouts.end() ? layout : it->second;
    }
    // The US layout for letters, digits and the few symbols the tests type.
    // The window's layout for letters, digits and the keys layoutChar knows.
    char16_t translateKey(uint32_t vkCode, uint32_t, bool shift, WindowId target) override {
        if (char16_t ch = layoutChar(uint16_t(layoutLanguage(target) & 0x3FF), vkCode, shift)) return ch;
        if (vkCode >= '0' && vkCode <= '9') return char16_t(vkCode);
        if (vkCode == 0xBD) return u'-';
        return 0;
    }
    std::vector<LayoutId> translatedIn;
    char16_t translateKeyInLayout(uint32_t vkCode, uint32_t, bool shift, LayoutId layout) override {
        translatedIn.push_back(layout);
        return layoutChar(uint16_t(layout & 0x3FF), vkCode, shift);
    }
    std::vector<LayoutId> installedLayouts() override { return layouts; }
    void requestLayoutChange(WindowId w, LayoutId l) override { layoutRequests.emplace_back(w, l); }
    WindowGeometry geometry(WindowId) override { return foregroundGeometry; }
    bool bringToForeground(WindowId w) override {
        broughtToFront.push_back(w);
        foreground = w;
        return true;
    }
    WindowId rootWindowAt(long, long) override { return windowUnderMouse; }
    bool runsElevated(WindowId w) override { return w == elevated; }
    std::vector<uint32_t> modifiersDown() override { return systemModifiersDown; }

    WindowId windowUnderMouse = 100;
    WindowId elevated = 0;
    std::vector<uint32_t> systemModifiersDown;
};

class FakeClipboard final : public Clipboard {
public:
    std::optional<std::u16string> text;
    uint32_t sequence = 1;
    bool busy = false;
    int busyWrites = 0;  // the next writes that find the clipboard busy
    std::vector<std::u16string> writes;

    std::optional<std::u16string> readText() override { return busy ? std::nullopt : text; }
    // The offered text is a promise the system redeems when another program
    // reads it (pasteRead); Windows tells the owner by WM_RENDERFORMAT.
    bool offered = false, taken = false;
    bool offerText(const std::u16string& t) override {
        if (busy) return false;
        if (busyWrites > 0) {
            --busyWrites;
            return false;
        }
        writes.push_back(t);
        text = t;
        offered = true;
        taken = false;
        ++sequence;
        return true;
    }
    bool offerTaken() override { return offered && taken; }
    // Another program's GetClipboardData(CF_UNICODETEXT), as a paste does.
    std::optional<std::u16string> pasteRead() {
        if (busy) return std::nullopt;
        if (offered) taken = true;
        return text;
    }
    uint32_t sequenceNumber() override { return sequence; }

    // Formats other than the text, as saved; the text is saved as CF_UNICODETEXT.
    std::vector<SavedFormat> others;
    std::optional<ClipboardSnapshot> save() override {
        if (busy) return std::nullopt;
        ClipboardSnapshot snapshot;
        if (text) {
            SavedFormat f{clipformat::UnicodeText, SaveAs::Bytes, {}};
            for (char16_t c : *text + u'\0') f.bytes.insert(f.bytes.end(), {uint8_t(c & 0xFF), uint8_t(c >> 8)});
            snapshot.push_back(f);
        }
        snapshot.insert(snapshot.end(), others.begin(), others.end());
        return snapshot;
    }
    bool restore(const ClipboardSnapshot& snapshot) override {
        if (busy) return false;
        if (busyWrites > 0) {
            --busyWrites;
            return false;
        }
        text.reset();
        others.clear();
        offered = false;
        for (const SavedFormat& f : snapshot) {
            if (f.format != clipformat::UnicodeText) {
                others.push_back(f);
                continue;
            }
            std::u16string t;
            for (size_t i = 0; i + 1 < f.bytes.size(); i += 2) t += char16_t(f.bytes[i] | f.bytes[i + 1] << 8);
            text = t.substr(0, t.find(u'\0'));
        }
        ++sequence;
        return true;
    }
};

// Time passes only by waiting.
class FakeClock final : public Clock {
public:
    uint32_t now = 1000;
    unsigned waited = 0;

    std::function<void()> whileWaiting;  // what other programs do meanwhile
    void waitServingHooks(unsigned ms) override {
        waited += ms;
        now += ms;
        if (whileWaiting) whileWaiting();
    }
    uint32_t tickCount() override { return now; }
};

class FakeSound final : public SoundPlayer {
public:
    std::vector<std::u16string> played;
    void play(const std::u16string& alias) override { played.push_back(alias); }
};

class FakeWaker final : public LoopWaker {
public:
    int wakes = 0;
    void wake() override { ++wakes; }
};

// Answers from a table of words; records what it was asked.
class FakeEngine final : public WordEngine {
public:
    std::map<std::string, Decision> verdicts;
    std::map<std::pair<std::string, std::string>, Conversion> conversions;  // (text, target)
    std::vector<WordQuery> queries;
    int resets = 0;

    void correct(const std::string& typed, const std::string& replacement, const std::string& lang) {
        verdicts[typed] = {true, replacement, 0.9, lang, "layout_mismatch"};
    }
    // The words before, named as the engine's memory of recent words names
    // them ("cyfhzls b": a correction and a word after it), with the word
    // as typed -> their new text when they go along with it.
    std::map<std::pair<std::string, std::string>, std::string> wordsBefore;
    Decision evaluate(const WordQuery& q) override {
        queries.push_back(q);
        recent_.beforeWord(q.typedSince);
        auto it = verdicts.find(q.word);
        Decision d = it != verdicts.end() ? it->second : Decision{false, std::string(), 0.1, "", "no_candidate"};
        const bool corrects = d.shouldCorrect && !d.corrected.empty();
        if (!q.hasUnknownBeginning && (corrects || !d.layoutToFollow().empty())) {
            session::RecentWords::Along along = recent_.along(corrects, [&](std::string_view before) {
                auto found = wordsBefore.find({std::string(before), q.word});
                return found == wordsBefore.end() ? std::nullopt : std::optional<std::string>(found->second);
            });
            d.piecesBefore = int32_t(along.pieces);
            d.before = along.text;
        }
        recent_.afterWord(q.word, q.hasUnknownBeginning, corrects || d.piecesBefore > 0,
                          corrects ? d.corrected : std::string());
        return d;
    }
    void resetContext() override {
        ++resets;
        recent_.clear();
    }
    Conversion convertSelection(const std::string& text, const std::string& target) override {
        auto it = conversions.find({text, target});
        return it == conversions.end() ? Conversion{} : it->second;
    }

private:
    session::RecentWords recent_;
};

// All fakes wired to one pipeline state, with helpers that play the user.
struct PipelineRig {
    FakeInput input;
    FakeDesktop desktop;
    FakeClipboard clipboard;
    FakeClock clock;
    FakeSound sound;
    FakeWaker waker;
    FakeEngine engine;
    FakeEditor editor;
    PipelineState state;
    KeyboardHook hook{state, ports()};

    PipelineRig() {
        state.engine = &engine;
        input.hook = &hook;
        input.editor = &editor;
    }

    PipelinePorts ports() { return {input, desktop, clipboard, clock, sound, waker}; }

    // A user key event: the hook decides, and a passed key reaches the editor.
    HookVerdict key(uint32_t vk, bool down) {
        const uint32_t scan = usScanCode(vk);
        KeyEvent event{vk, scan & 0xFF, down, scan > 0xFF, clock.now, 0};
        HookVerdict verdict = hook.onKey(event);
        if (verdict == HookVerdict::Pass)
            editor.apply({uint16_t(vk), uint16_t(scan & 0xFF),
                          (down ? 0u : keyflag::KeyUp) | (scan > 0xFF ? keyflag::Extended : 0u)});
        clock.now += 1;
        return verdict;
    }
    HookVerdict tap(uint32_t vk) {
        HookVerdict verdict = key(vk, true);
        key(vk, false);
        return verdict;
    }
    // Types lower-case letters, digits and spaces as key taps.
    void type(std::string_view text) {
        for (char c : text) tap(c == ' ' ? 0x20 : (c >= 'a' && c <= 'z') ? uint32_t(c - 'a' + 'A') : uint32_t(c));
    }
};

}  // namespace quillom::pipeline::testing
