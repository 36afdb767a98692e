#include "edit_control_win.h"

#include <richedit.h>

#include <string>
#include <vector>

namespace quillom::pipeline {
namespace {

// Longer lines are not read: the answer would come too late to matter.
constexpr DWORD kMaxColumn = 8192;

// SendMessageTimeoutW with what is left of the time; nothing when it failed or timed out.
class TimedSender {
public:
    TimedSender(HWND window, unsigned limitMs) : window_(window), deadline_(GetTickCount() + limitMs) {}

    std::optional<LRESULT> send(UINT message, WPARAM wParam, LPARAM lParam) {
        const auto left = int32_t(deadline_ - GetTickCount());
        if (left <= 0) return std::nullopt;
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutW(window_, message, wParam, lParam, SMTO_ABORTIFHUNG | SMTO_ERRORONEXIT, UINT(left),
                                 &result))
            return std::nullopt;
        return LRESULT(result);
    }

private:
    HWND window_;
    DWORD deadline_;
};

bool classIs(const wchar_t* name, const wchar_t* wanted, size_t length) {
    return CompareStringOrdinal(name, int(length), wanted, int(length), TRUE) == CSTR_EQUAL;
}

// A standard edit's text from its start to end; its character positions
// count a line break as the two characters the text holds.
std::optional<std::u16string> editText(TimedSender& sender, LRESULT end) {
    std::vector<wchar_t> buffer(size_t(end) + 1, 0);
    std::optional<LRESULT> copied =
        sender.send(WM_GETTEXT, WPARAM(buffer.size()), reinterpret_cast<LPARAM>(buffer.data()));
    if (!copied || *copied < end) return std::nullopt;
    return std::u16string(reinterpret_cast<const char16_t*>(buffer.data()), size_t(end));
}

// A rich edit counts a paragraph break as one character where its whole
// text holds two: read the caret's line alone.
std::optional<std::u16string> lineText(TimedSender& sender, LRESULT line, DWORD column) {
    // EM_GETLINE: the first WORD of the buffer gives its size in characters.
    std::vector<wchar_t> buffer(std::max<DWORD>(column, 2) + 1, 0);
    buffer[0] = wchar_t(column);
    std::optional<LRESULT> copied = sender.send(EM_GETLINE, WPARAM(line), reinterpret_cast<LPARAM>(buffer.data()));
    if (!copied || DWORD(*copied) < column) return std::nullopt;
    return std::u16string(reinterpret_cast<const char16_t*>(buffer.data()), column);
}

}  // namespace

EditKind editKindOf(HWND window) {
    wchar_t name[64] = {};
    if (RealGetWindowClassW(window, name, 64) && classIs(name, L"Edit", 5)) return EditKind::Edit;
    if (GetClassNameW(window, name, 64) && classIs(name, L"RichEdit", 8)) return EditKind::RichEdit;
    return EditKind::None;
}

bool hidesTyping(HWND edit) { return (GetWindowLongPtrW(edit, GWL_STYLE) & ES_PASSWORD) != 0; }

bool isPasswordEdit(HWND window) { return editKindOf(window) != EditKind::None && hidesTyping(window); }

std::optional<PrecedingText> readEditCaret(HWND window, unsigned limitMs) {
    if (editKindOf(window) == EditKind::None || hidesTyping(window)) return std::nullopt;
    TimedSender sender(window, limitMs);
    // The return value holds both ends in 16 bits each, or -1 beyond; it
    // needs no pointer into this process, so it works across processes.
    std::optional<LRESULT> selection = sender.send(EM_GETSEL, 0, 0);
    if (!selection || *selection == -1) return std::nullopt;
    const auto start = LPARAM(LOWORD(DWORD(*selection)));
    std::optional<LRESULT> line = sender.send(EM_LINEFROMCHAR, WPARAM(start), 0);
    if (!line) return std::nullopt;
    std::optional<LRESULT> lineStart = sender.send(EM_LINEINDEX, WPARAM(*line), 0);
    if (!lineStart || *lineStart < 0 || *lineStart > start) return std::nullopt;
    const auto column = DWORD(start - *lineStart);
    if (column == 0) {
        // A wrapped line goes on without a break: what precedes is unknown here.
        if (*line > 0) {
            std::optional<LRESULT> previous = sender.send(EM_LINEINDEX, WPARAM(*line - 1), 0);
            std::optional<LRESULT> length = previous ? sender.send(EM_LINELENGTH, WPARAM(*previous), 0) : std::nullopt;
            if (!length || *previous + *length >= *lineStart) return std::nullopt;
        }
        return PrecedingText{u"", true};
    }
    if (column > kMaxColumn) return std::nullopt;
    std::optional<std::u16string> text;
    if (editKindOf(window) == EditKind::Edit) {
        text = editText(sender, start);
        if (text) text->erase(0, size_t(*lineStart));
    } else {
        text = lineText(sender, *line, column);
    }
    if (!text || text->size() != column || text->find(u'\0') != std::u16string::npos) return std::nullopt;
    return PrecedingText{std::move(*text), true};
}

}  // namespace quillom::pipeline
