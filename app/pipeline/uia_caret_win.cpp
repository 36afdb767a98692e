#include "uia_caret_win.h"

#include <cstdio>
#include <string>

namespace quillom::pipeline {
namespace {

// How far back the text is read: enough for the word being typed and what
// stands before it. A longer word keeps its beginning unknown.
constexpr int kCharsBefore = 64;

// One counted reference, released at the end of its scope.
template <typename T>
class Ref {
public:
    Ref() = default;
    ~Ref() {
        if (p_) p_->Release();
    }
    Ref(const Ref&) = delete;
    Ref& operator=(const Ref&) = delete;
    T** out() { return &p_; }
    void** outVoid() { return reinterpret_cast<void**>(&p_); }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

private:
    T* p_ = nullptr;
};

class Variant {
public:
    Variant() { VariantInit(&value); }
    ~Variant() { VariantClear(&value); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    VARIANT value;
};

std::string failed(const std::string& client, const char* step, HRESULT hr) {
    char line[96];
    std::snprintf(line, sizeof line, "%s: %s failed (hr 0x%08lx)", client.c_str(), step,
                  static_cast<unsigned long>(hr));
    return line;
}

const char* controlTypeName(int id) {
    switch (id) {
    case 50000: return "Button";
    case 50003: return "ComboBox";
    case 50004: return "Edit";
    case 50020: return "Text";
    case 50025: return "Custom";
    case 50026: return "Group";
    case 50030: return "Document";
    case 50032: return "Window";
    case 50033: return "Pane";
    default: return nullptr;
    }
}

std::string controlType(uia::Element& element) {
    Variant type;
    if (FAILED(element.GetCurrentPropertyValue(uia::kControlTypePropertyId, &type.value)) || type.value.vt != VT_I4)
        return "control of no type";
    if (const char* name = controlTypeName(int(type.value.lVal))) return name;
    return "control type " + std::to_string(type.value.lVal);
}

bool hidesText(uia::Element& element) {
    Variant password;
    return SUCCEEDED(element.GetCurrentPropertyValue(uia::kIsPasswordPropertyId, &password.value)) &&
           password.value.vt == VT_BOOL && password.value.boolVal != VARIANT_FALSE;
}

// The first selected range (a degenerate range at the caret when nothing is
// selected); for a control that reports no selection, its caret range.
bool selectionRange(uia::Element& element, Ref<uia::TextRange>& range, const char*& missing) {
    Ref<uia::TextPattern> pattern;
    if (FAILED(element.GetCurrentPatternAs(uia::kTextPatternId, uia::kIidTextPattern, pattern.outVoid())) || !pattern) {
        missing = "no text pattern";
        return false;
    }
    Ref<uia::TextRangeArray> selection;
    int count = 0;
    if (SUCCEEDED(pattern->GetSelection(selection.out())) && selection && SUCCEEDED(selection->get_Length(&count)) &&
        count > 0)
        return SUCCEEDED(selection->GetElement(0, range.out())) && range;
    Ref<uia::TextPattern2> pattern2;
    BOOL active = FALSE;
    if (SUCCEEDED(element.GetCurrentPatternAs(uia::kTextPattern2Id, uia::kIidTextPattern2, pattern2.outVoid())) &&
        pattern2 && SUCCEEDED(pattern2->GetCaretRange(&active, range.out())) && range)
        return true;
    missing = "no selection or caret";
    return false;
}

// The text between kCharsBefore characters before the selection's start and
// that start, nearest last. The bounded range is read whole: a length limit
// cuts from the range's start, and in units, so surrogate pairs would cost
// the units next to the caret.
std::optional<PrecedingText> textBefore(uia::TextRange& selection) {
    Ref<uia::TextRange> before;
    if (FAILED(selection.Clone(before.out())) || !before) return std::nullopt;
    int moved = 0;
    if (FAILED(before->MoveEndpointByRange(uia::EndpointEnd, &selection, uia::EndpointStart)) ||
        FAILED(before->MoveEndpointByUnit(uia::EndpointStart, uia::UnitCharacter, -kCharsBefore, &moved)))
        return std::nullopt;
    BSTR text = nullptr;
    if (FAILED(before->GetText(-1, &text))) return std::nullopt;
    std::u16string units(reinterpret_cast<const char16_t*>(text ? text : L""), text ? SysStringLen(text) : 0);
    SysFreeString(text);
    // The start of the text is the start of the field when the move stopped
    // short there.
    const bool reachesStart = moved > -kCharsBefore;
    return PrecedingText{std::move(units), reachesStart};
}

}  // namespace

void UiaCaretReader::begin() {
    const HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    comStarted_ = SUCCEEDED(com);
    if (!comStarted_) {
        client_ = failed("uia", "COM start", com);
        return;
    }
    void* created = nullptr;
    const HRESULT hr8 =
        CoCreateInstance(uia::kClassAutomation8, nullptr, CLSCTX_INPROC_SERVER, uia::kIidAutomation2, &created);
    if (SUCCEEDED(hr8) && created) {
        timeouts_ = static_cast<uia::Automation2*>(created);
        automation_ = timeouts_;
        client_ = "uia8";
        return;
    }
    const HRESULT hr =
        CoCreateInstance(uia::kClassAutomation, nullptr, CLSCTX_INPROC_SERVER, uia::kIidAutomation, &created);
    automation_ = SUCCEEDED(hr) ? static_cast<uia::Automation*>(created) : nullptr;
    client_ = automation_ ? "uia" : failed("uia", "client creation", hr);
}

void UiaCaretReader::end() {
    if (automation_) automation_->Release();
    automation_ = nullptr;
    timeouts_ = nullptr;
    if (comStarted_) CoUninitialize();
    comStarted_ = false;
}

// Every call into another process waits at most the limit; a call that
// runs out fails, and the read answers nothing.
void UiaCaretReader::limitCalls(unsigned limitMs) {
    if (!timeouts_ || limitMs == limitMs_) return;
    limitMs_ = limitMs;
    timeouts_->put_ConnectionTimeout(limitMs);
    timeouts_->put_TransactionTimeout(limitMs);
}

CaretReading UiaCaretReader::read(unsigned limitMs) {
    CaretReading reading;
    reading.via = client_;
    if (!automation_) return reading;
    limitCalls(limitMs);
    Ref<uia::Element> element;
    const HRESULT hr = automation_->GetFocusedElement(element.out());
    if (FAILED(hr) || !element) {
        reading.via = failed(client_, "focused element", hr);
        return reading;
    }
    reading.via = client_ + " " + controlType(*element.get());
    // A field that hides its text is not read.
    reading.hidden = hidesText(*element.get());
    if (reading.hidden) return reading;
    Ref<uia::TextRange> selection;
    const char* missing = "selection";
    if (!selectionRange(*element.get(), selection, missing)) {
        reading.via += std::string(", ") + missing;
        return reading;
    }
    reading.text = textBefore(*selection.get());
    if (!reading.text) reading.via += ", text not read";
    return reading;
}

}  // namespace quillom::pipeline
