#include "pipeline/word_capture.h"

#include "unicode/unicode.h"

namespace quillom::pipeline {

namespace {

bool isShift(uint32_t v) { return v == vk::Shift || v == vk::LeftShift || v == vk::RightShift; }
bool isControl(uint32_t v) { return v == vk::Control || v == vk::LeftControl || v == vk::RightControl; }
bool isAlt(uint32_t v) { return v == vk::Alt || v == vk::LeftAlt || v == vk::RightAlt; }
bool isWin(uint32_t v) { return v == vk::LeftWin || v == vk::RightWin; }

bool resetsWord(uint32_t v) {
    switch (v) {
    case vk::Escape:
    case vk::PageUp:
    case vk::PageDown:
    case vk::End:
    case vk::Home:
    case vk::Left:
    case vk::Up:
    case vk::Right:
    case vk::Down:
    case vk::Insert: return true;
    default: return false;
    }
}

}  // namespace

bool joinsWord(char16_t ch) {
    switch (ch) {
    // These keys carry letters in the Cyrillic layouts, shifted or not
    // ("nj typed on the US layout is Это); the engine reads them as
    // letters or as marks at the word's edges.
    case u'\'':
    case u',':
    case u'.':
    case u';':
    case u'[':
    case u']':
    case u'`':
    case u'"':
    case u'<':
    case u'>':
    case u':':
    case u'{':
    case u'}':
    case u'~':
    // The quotation mark of the Cyrillic layouts (Shift+2): at a word's edges
    // it is a quote typed on the wrong layout, inside it an address.
    case u'@':
    // The slash of the Russian layout (Shift and the backslash key) between
    // the words of a pair typed on the US layout (Drk|dsrk is Вкл/выкл).
    case u'|': return true;
    default:
        // A lone surrogate unit is no letter: characters outside the BMP reset the word.
        return unicode::isLetter(ch) || unicode::isDigit(ch);
    }
}

bool isPunctuationBoundary(char16_t ch) {
    switch (ch) {
    case u'!':
    case u'(':
    case u')':
    case u'/':
    case u'?':
    case u'\\':
    case u'_':
    // Quotes and the ellipsis no key of the three layouts types, sent as
    // Unicode packets (an on-screen keyboard, a text expander): a word starts
    // after an opening quote and ends before a closing one. Apostrophes
    // (’, ʼ) are left out: they stand inside words.
    case u'\u00ab':
    case u'\u00bb':
    case u'\u201e':
    case u'\u201c':
    case u'\u201d':
    case u'\u2026': return true;
    default: return false;
    }
}

bool endsWordAfterIt(char16_t ch) {
    switch (ch) {
    // The hyphen of compounds (кто-нибудь): each part is a word of its own.
    case u'-':
    // The colon, semicolon and question mark of the Cyrillic layouts (Shift+6,
    // Shift+4, Shift+7) typed on the US layout.
    case u'^':
    case u'$':
    case u'&': return true;
    default: return false;
    }
}

void WordCapture::trackModifiers(uint32_t vkCode, bool isDown) {
    if (isShift(vkCode)) shift_ = isDown;
    else if (isControl(vkCode)) control_ = isDown;
    else if (isAlt(vkCode)) alt_ = isDown;
    else if (isWin(vkCode)) win_ = isDown;
}

bool WordCapture::needsTranslation(uint32_t vkCode) const {
    if (vkCode == vk::Backspace || vkCode == vk::Delete || anyModifierButShift()) return false;
    if (vkCode == vk::Tab || vkCode == vk::Enter || vkCode == vk::Space) return false;
    return !resetsWord(vkCode);
}

void WordCapture::reset() {
    unknownBeginning_ = true;
    word_.clear();
}

void WordCapture::afterEvaluation(bool corrected) {
    if (endedByJoiningMark_ && !corrected) unknownBeginning_ = true;
    endedByJoiningMark_ = false;
}

CaptureResult WordCapture::boundary(char16_t boundaryChar, BoundaryKind kind) {
    const bool unknown = unknownBeginning_;
    unknownBeginning_ = false;
    endedByJoiningMark_ = false;
    if (word_.empty()) return {};
    endedByJoiningMark_ = endsWordAfterIt(boundaryChar);
    CaptureResult r{CaptureResult::Kind::Boundary, {std::move(word_), boundaryChar, kind, unknown}};
    word_.clear();
    return r;
}

CaptureResult WordCapture::onKeyDown(uint32_t vkCode, char16_t ch) {
    if (vkCode == vk::Backspace) {
        if (shift_ || anyModifierButShift()) {
            reset();
        } else if (!word_.empty()) {
            word_.pop_back();
        } else {
            unknownBeginning_ = true;
        }
        return {};
    }
    if (vkCode == vk::Delete || anyModifierButShift()) {
        reset();
        return {};
    }
    switch (vkCode) {
    case vk::Tab: return boundary(u'\t', BoundaryKind::Tab);
    case vk::Enter: return boundary(u'\n', BoundaryKind::Enter);
    case vk::Space: return boundary(u' ', BoundaryKind::Space);
    default: break;
    }
    if (resetsWord(vkCode)) {
        reset();
        return {};
    }
    if (ch == 0) return {};
    if (isPunctuationBoundary(ch) || (!word_.empty() && endsWordAfterIt(ch)))
        return boundary(ch, BoundaryKind::Punctuation);
    if (joinsWord(ch)) {
        word_.push_back(ch);
    } else {
        reset();
    }
    return {};
}

}  // namespace quillom::pipeline
