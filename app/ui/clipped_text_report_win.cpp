// A control whose text does not fit its box is named in the debug log, so a translation or a
// font that needs more room shows up in the end-to-end run.
#include "settings_window_state_win.h"

#include "common/debug_log.h"
#include "control_ids.h"
#include "tray/interface_strings.h"
#include "win/scoped_win.h"

namespace quillom::ui {
namespace {

using tray::TextId;

SIZE textSize(HDC dc, const std::u16string& text, int wrapWidth) {
    RECT r{0, 0, wrapWidth > 0 ? wrapWidth : 0, 0};
    UINT format = DT_CALCRECT | (wrapWidth > 0 ? DT_WORDBREAK : DT_SINGLELINE);
    DrawTextW(dc, wide(text), int(text.size()), &r, format);
    return {r.right - r.left, r.bottom - r.top};
}

std::u16string comboEntry(HWND combo, int index) {
    std::u16string item(size_t(SendMessageW(combo, CB_GETLBTEXTLEN, index, 0)) + 1, u'\0');
    item.resize(size_t(SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(item.data()))));
    return item;
}

// The number of the control's text in the log; -1 when the window fills it in.
int textNumber(const ControlSpec& def) { return def.textId ? int(*def.textId) : -1; }

class ClipReport {
public:
    explicit ClipReport(HDC dc)
        : dc_(dc),
          checkWidth_(GetSystemMetrics(SM_CXMENUCHECK) + scaled(6)),
          arrowWidth_(GetSystemMetrics(SM_CXVSCROLL) + scaled(8)) {}

    void measure(int page, const ControlSpec& def) {
        HWND hwnd = def.id == ctrl::None ? nullptr : control(def.id);
        const std::u16string text = hwnd ? windowText(hwnd) : initialText(def);
        const SIZE box{scaled(def.box.width), scaled(def.box.height)};
        const int number = textNumber(def);
        switch (def.kind) {
        case ControlKind::Label: check(page, def.id, number, textSize(dc_, text, 0), box); break;
        case ControlKind::Note: check(page, def.id, number, textSize(dc_, text, box.cx), box); break;
        case ControlKind::CheckBox:
            check(page, def.id, number, textSize(dc_, text, box.cx - checkWidth_), {box.cx - checkWidth_, box.cy});
            break;
        case ControlKind::Button: {
            const SIZE need = textSize(dc_, text, 0);
            check(page, def.id, number, {need.cx + scaled(12), need.cy + scaled(6)}, box);
            break;
        }
        case ControlKind::DropDown: {
            const int count = int(SendMessageW(hwnd, CB_GETCOUNT, 0, 0));
            for (int i = 0; i < count; ++i) {
                const SIZE need = textSize(dc_, comboEntry(hwnd, i), 0);
                check(page, def.id, i, {need.cx + arrowWidth_, need.cy}, box);
            }
            break;
        }
        case ControlKind::HotkeyField: {
            const SIZE need = textSize(dc_, tray::text(TextId::PressShortcut), 0);
            check(page, def.id, int(TextId::PressShortcut), {need.cx + scaled(8), need.cy + scaled(6)}, box);
            break;
        }
        default: break;
        }
    }

    int measured() const { return measured_; }
    int clipped() const { return clipped_; }

private:
    void check(int page, int id, int textNumber, SIZE need, SIZE have) {
        ++measured_;
        if (need.cx <= have.cx && need.cy <= have.cy) return;
        ++clipped_;
        logLine("layout: tab %d control %d text %d needs %ldx%ld, has %ldx%ld", page, id, textNumber, long(need.cx),
                long(need.cy), long(have.cx), long(have.cy));
    }

    HDC dc_;
    int checkWidth_, arrowWidth_;
    int measured_ = 0, clipped_ = 0;
};

}  // namespace

void reportClippedTexts() {
    const SettingsWindow& w = settingsWindow();
    const win::ScopedWindowDc dc(w.window);
    const win::ScopedSelect font(dc.get(), w.font.get());
    ClipReport report(dc.get());
    for (size_t page = 0; page < w.pages.size(); ++page)
        for (const ControlSpec& def : pageLayout(w.pages[page])) report.measure(int(page), def);
    logLine("layout check: %d texts at %d dpi in \"%s\", %d clipped", report.measured(), w.dpi,
            std::string(tray::interfaceLanguage()).c_str(), report.clipped());
}

}  // namespace quillom::ui
