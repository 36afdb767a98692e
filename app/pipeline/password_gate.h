// Keeps what is typed into password fields out of the pipeline: nothing there
// is evaluated, corrected, taken along by a later word or logged.
//
// A standard edit or rich edit tells by its style, which the hook reads at
// every key without asking the control. Any other control keeps many fields
// in one window and moves the focus among them without a change of focused
// window (Tab, a click, a page's script): for those, every word asks the
// worker to read the field as its letters arrive, and the word is read only
// when the latest read showed its letters in a field that does not hide
// them. A word that ends before such an answer, or in a control that gives
// none, stays as typed: what cannot be told from a password is treated as one.
#pragma once

#include "caret_context.h"
#include "platform.h"

namespace quillom::pipeline {

// Whether a finished word may reach the engine and the log.
inline bool wordMayBeRead(FieldStyle style, const CaretAnswer& answer) {
    switch (style) {
    case FieldStyle::Open: return answer.privacy != FieldPrivacy::Hidden;
    case FieldStyle::Password: return false;
    case FieldStyle::Unknown: return answer.privacy == FieldPrivacy::Open;
    }
    return false;
}

}  // namespace quillom::pipeline
