// Backtracking machine. Alternatives wait on an explicit stack kept per thread,
// so a search allocates nothing once the stack has grown to its working size.
// Every executed instruction costs one step; a search that runs out of steps
// reports no match.
#include <array>
#include <limits>
#include <optional>

#include "regex/regex_program.h"
#include "unicode/unicode.h"

namespace quillom::regex::detail {
namespace {

constexpr std::uint32_t kRestoreFlag = 0x80000000u;  // frame restores a register

struct Frame {
    std::uint32_t pc;  // or kRestoreFlag | register
    std::uint32_t sp;  // or the register's old value
};

struct Scratch {
    std::vector<Frame> stack;
    std::vector<std::uint32_t> registers;
};

// UTF-8 text: positions are byte offsets at scalar boundaries.
struct Utf8Text {
    std::string_view text;

    std::uint32_t size() const { return static_cast<std::uint32_t>(text.size()); }
    char32_t next(std::uint32_t& pos) const {
        std::size_t p = pos;
        const char32_t cp = unicode::decodeScalar(text, p);
        pos = static_cast<std::uint32_t>(p);
        return cp;
    }
    // ASCII word characters are single bytes, and a byte below 0x80 is always a whole character.
    bool wordAt(std::uint32_t pos) const {
        return pos < text.size() && isAsciiWord(static_cast<unsigned char>(text[pos]));
    }
    bool wordBefore(std::uint32_t pos) const { return pos > 0 && wordAt(pos - 1); }
};

struct Utf32Text {
    std::u32string_view text;

    std::uint32_t size() const { return static_cast<std::uint32_t>(text.size()); }
    char32_t next(std::uint32_t& pos) const { return text[pos++]; }
    bool wordAt(std::uint32_t pos) const { return pos < text.size() && isAsciiWord(text[pos]); }
    bool wordBefore(std::uint32_t pos) const { return pos > 0 && isAsciiWord(text[pos - 1]); }
};

bool inRanges(const std::vector<ScalarRange>& ranges, char32_t cp) {
    std::size_t lo = 0;
    std::size_t hi = ranges.size();
    while (lo < hi) {
        const std::size_t mid = (lo + hi) / 2;
        if (cp < ranges[mid].first) {
            hi = mid;
        } else if (cp > ranges[mid].last) {
            lo = mid + 1;
        } else {
            return true;
        }
    }
    return false;
}

bool inNegatedSets(std::uint8_t sets, char32_t cp) {
    for (std::uint8_t bit : {kDigitSet, kWordSet, kSpaceSet}) {
        if ((sets & bit) != 0 && !inSet(bit, cp)) return true;
    }
    return false;
}

}  // namespace

// Ranges hold folded scalars; \d \w \s are closed under case and test the scalar as typed.
bool classMatches(const CharClass& cls, char32_t scalar, char32_t folded) {
    const bool in = inRanges(cls.ranges, folded) || inSet(cls.sets, scalar) || inNegatedSets(cls.negatedSets, scalar);
    return in != cls.negated;
}

namespace {

bool holds(const FirstScalars& set, char32_t scalar) {
    const std::size_t bit = hotIndex(scalar);
    return bit == kNotHot ? set.others : hotBit(set.hot, bit);
}

// Whether a match may begin at a position holding this scalar (hasScalar
// false: the end of the text).
bool mayStartWith(const Regex::Program& program, bool hasScalar, char32_t scalar) {
    if (!program.first) return true;
    return hasScalar && holds(*program.first, scalar);
}

// True when the text cannot match for want of a scalar every match needs, or
// when no start position the search would try can begin one: the machine
// need not be set up at all.
template <typename Text>
bool cannotMatch(const Regex::Program& program, const Text& text) {
    if (program.first) {
        bool mayStart = false;
        for (std::uint32_t pos = 0; pos < text.size() && !mayStart;) {
            mayStart = mayStartWith(program, true, text.next(pos));
            if (program.anchoredAtStart) break;
        }
        if (!mayStart) return true;
    }
    if (program.required) {
        std::uint32_t found = 0;
        for (std::uint32_t pos = 0; pos < text.size();)
            if (holds(program.required->set, text.next(pos)) && ++found == program.required->count) return false;
        return true;
    }
    return false;
}

// The first scalar of a text that is not empty.
char32_t firstScalar(const Utf8Text& text, const SubjectFacts& subject) {
    if (text.size() <= kDecodedLimit) return subject.scalars[0];
    std::uint32_t pos = 0;
    return text.next(pos);
}

// Every word tested at once, without a branch per word: this runs for each
// pattern on each word.
bool sharesAScalar(const FirstScalars& set, const FirstScalars& present) {
    std::uint64_t common = 0;
    for (std::size_t i = 0; i < set.hot.size(); ++i) common |= set.hot[i] & present.hot[i];
    return common != 0 || (set.others && present.others);
}

// Every scalar the text holds is one of the set.
bool holdsOnly(const FirstScalars& set, const FirstScalars& present) {
    std::uint64_t outside = 0;
    for (std::size_t i = 0; i < set.hot.size(); ++i) outside |= present.hot[i] & ~set.hot[i];
    return outside == 0 && (set.others || !present.others);
}

bool cannotBeWholeText(const WholeText& whole, const SubjectFacts& subject) {
    return subject.count < whole.minScalars || subject.count > whole.maxScalars ||
           !holdsOnly(whole.allowed, subject.present);
}

// cannotMatch, with the text's scalars known beforehand: a scan for one
// scalar of a set becomes a test of the two sets.
bool cannotMatch(const Regex::Program& program, const Utf8Text& text, const SubjectFacts& subject) {
    if (program.wholeText && cannotBeWholeText(*program.wholeText, subject)) return true;
    if (program.first) {
        const bool mayStart = program.anchoredAtStart
                                  ? subject.count > 0 && holds(*program.first, firstScalar(text, subject))
                                  : sharesAScalar(*program.first, subject.present);
        if (!mayStart) return true;
    }
    if (program.required) {
        if (!sharesAScalar(program.required->set, subject.present)) return true;
        if (program.required->count == 1) return false;
        std::uint32_t found = 0;
        const auto enough = [&](char32_t scalar) {
            return holds(program.required->set, scalar) && ++found == program.required->count;
        };
        if (text.size() <= kDecodedLimit) {
            for (const char32_t scalar : subject.decoded())
                if (enough(scalar)) return false;
        } else {
            for (std::uint32_t pos = 0; pos < text.size();)
                if (enough(text.next(pos))) return false;
        }
        return true;
    }
    return false;
}

bool classHolds(const Regex::Program& program, const CharClass& cls, char32_t cp) {
    const std::size_t bit = hotIndex(cp);
    if (bit != kNotHot) return hotBit(cls.hot, bit);
    return classMatches(cls, cp, program.caseInsensitive ? unicode::toLower(cp) : cp);
}

// Texts up to this size cannot exhaust the machine's step budget on a class
// run (its backtracking is at most quadratic in the run), so counting gives
// exactly the machine's answer.
constexpr std::size_t kClassRunTextLimit = kDecodedLimit;

bool searchClassRun(const Regex::Program& program, std::u32string_view scalars) {
    const ClassRun& run = *program.classRun;
    const CharClass& cls = program.classes[run.classIndex];
    std::uint32_t length = 0;
    for (const char32_t scalar : scalars) {
        if (classHolds(program, cls, scalar)) {
            if (++length >= run.min && !run.atEnd) return true;
        } else {
            if (run.atStart) return false;
            length = 0;
        }
    }
    return length >= run.min;
}

bool itemHolds(const Regex::Program& program, const SequenceItem& item, char32_t cp) {
    if (item.isClass) return classHolds(program, program.classes[item.value], cp);
    return (program.caseInsensitive ? unicode::toLower(cp) : cp) == item.value;
}

// The row tried at each start the anchors allow; texts up to
// kClassRunTextLimit bytes, far inside the budget.
bool searchSequence(const Regex::Program& program, const Sequence& seq, std::u32string_view scalars) {
    const std::size_t count = scalars.size();
    const std::size_t items = seq.items.size();
    if (count < items) return false;
    const std::size_t firstStart = seq.atEnd ? count - items : 0;
    const std::size_t lastStart = seq.atStart ? 0 : count - items;
    for (std::size_t start = firstStart; start <= lastStart; ++start) {
        std::size_t k = 0;
        while (k < items && itemHolds(program, seq.items[k], scalars[start + k])) ++k;
        if (k == items) return true;
    }
    return false;
}

// The searches that need no machine, over the scalars of a text short
// enough; nothing when the machine must run.
std::optional<bool> searchScalars(const Regex::Program& program, std::u32string_view scalars) {
    if (program.classRun) return searchClassRun(program, scalars);
    if (program.sequences.empty()) return std::nullopt;
    for (const Sequence& seq : program.sequences)
        if (searchSequence(program, seq, scalars)) return true;
    return false;
}

std::optional<bool> searchWithoutMachine(const Regex::Program& program, const Utf8Text& text) {
    if (text.size() > kClassRunTextLimit || (!program.classRun && program.sequences.empty())) return std::nullopt;
    std::array<char32_t, kClassRunTextLimit> scalars;
    std::size_t count = 0;
    for (std::uint32_t pos = 0; pos < text.size();) scalars[count++] = text.next(pos);
    return searchScalars(program, std::u32string_view(scalars.data(), count));
}

enum class Outcome { Matched, Failed, OutOfSteps };

template <typename Text>
class Machine {
public:
    Machine(const Regex::Program& program, const Text& text, Scratch& scratch)
        : program_(program), text_(text), stack_(scratch.stack), registers_(scratch.registers) {
        stack_.clear();
        registers_.assign(program.registers, 0);
    }

    bool search() {
        const std::uint32_t size = text_.size();
        for (std::uint32_t start = 0;;) {
            std::uint32_t next = start;
            const char32_t first = start < size ? text_.next(next) : 0;
            if (mayStartWith(program_, start < size, first)) {
                const Outcome outcome = run(0, start);
                if (outcome != Outcome::Failed) return outcome == Outcome::Matched;
            }
            if (program_.anchoredAtStart || start >= size) return false;
            start = next;
        }
    }

private:
    char32_t fold(char32_t cp) const { return program_.caseInsensitive ? unicode::toLower(cp) : cp; }

    // Runs the program from pc at sp until a Match, trying the alternatives it
    // leaves; those of a successful lookahead are dropped (it is atomic).
    Outcome run(std::uint32_t pc, std::uint32_t sp) {
        const std::size_t base = stack_.size();
        stack_.push_back({pc, sp});
        while (stack_.size() > base) {
            const Frame frame = stack_.back();
            stack_.pop_back();
            if ((frame.pc & kRestoreFlag) != 0) {
                registers_[frame.pc & ~kRestoreFlag] = frame.sp;
                continue;
            }
            const Outcome outcome = thread(frame.pc, frame.sp);
            if (outcome != Outcome::Failed) {
                stack_.resize(base);
                return outcome;
            }
        }
        return Outcome::Failed;
    }

    // Follows one path until it fails or matches.
    Outcome thread(std::uint32_t pc, std::uint32_t sp) {
        for (;;) {
            if (++steps_ > kStepBudget) return Outcome::OutOfSteps;
            const Inst& inst = program_.code[pc];
            switch (inst.op) {
            case Op::Char:
            case Op::Any:
            case Op::Class:
                if (!consume(inst, sp)) return Outcome::Failed;
                ++pc;
                break;
            case Op::Split:
                stack_.push_back({inst.b, sp});
                pc = inst.a;
                break;
            case Op::Jump: pc = inst.a; break;
            case Op::StartAnchor:
            case Op::EndAnchor:
            case Op::WordBoundary:
            case Op::NotWordBoundary:
                if (!holds(inst.op, sp)) return Outcome::Failed;
                ++pc;
                break;
            case Op::LookAhead:
            case Op::NegativeLookAhead: {
                const Outcome inner = run(inst.a, sp);
                if (inner == Outcome::OutOfSteps) return inner;
                if ((inner == Outcome::Matched) != (inst.op == Op::LookAhead)) {
                    return Outcome::Failed;
                }
                pc = inst.b;
                break;
            }
            case Op::Mark:
                stack_.push_back({kRestoreFlag | inst.a, registers_[inst.a]});
                registers_[inst.a] = sp;
                ++pc;
                break;
            case Op::Check:
                if (registers_[inst.a] == sp) return Outcome::Failed;
                ++pc;
                break;
            case Op::Match: return Outcome::Matched;
            }
        }
    }

    bool consume(const Inst& inst, std::uint32_t& sp) const {
        if (sp >= text_.size()) return false;
        std::uint32_t next = sp;
        const char32_t cp = text_.next(next);
        bool ok = false;
        if (inst.op == Op::Char) {
            ok = fold(cp) == inst.a;
        } else if (inst.op == Op::Any) {
            ok = !isLineTerminator(cp);
        } else {
            ok = inClass(program_.classes[inst.a], cp);
        }
        if (ok) sp = next;
        return ok;
    }

    bool inClass(const CharClass& cls, char32_t cp) const {
        const std::size_t bit = hotIndex(cp);
        return bit == kNotHot ? classMatches(cls, cp, fold(cp)) : hotBit(cls.hot, bit);
    }

    bool holds(Op op, std::uint32_t sp) const {
        switch (op) {
        case Op::StartAnchor: return sp == 0;
        case Op::EndAnchor: return sp == text_.size();
        case Op::WordBoundary: return text_.wordBefore(sp) != text_.wordAt(sp);
        default: return text_.wordBefore(sp) == text_.wordAt(sp);
        }
    }

    const Regex::Program& program_;
    const Text& text_;
    std::vector<Frame>& stack_;
    std::vector<std::uint32_t>& registers_;
    std::uint64_t steps_ = 0;
};

Scratch& scratch() {
    thread_local Scratch s;
    return s;
}

// Positions are 32-bit; longer texts are far outside what the patterns are for.
constexpr std::size_t kMaxTextSize = std::numeric_limits<std::uint32_t>::max() / 2;

}  // namespace

bool searchProgram(const Regex::Program& program, std::string_view utf8) {
    if (utf8.size() > kMaxTextSize) return false;
    const Utf8Text text{utf8};
    if (cannotMatch(program, text)) return false;
    if (const std::optional<bool> found = searchWithoutMachine(program, text)) return *found;
    return Machine<Utf8Text>(program, text, scratch()).search();
}

bool searchProgram(const Regex::Program& program, std::string_view utf8, const SubjectFacts& subject) {
    if (utf8.size() > kMaxTextSize) return false;
    const Utf8Text text{utf8};
    if (cannotMatch(program, text, subject)) return false;
    if (utf8.size() <= kClassRunTextLimit)
        if (const std::optional<bool> found = searchScalars(program, subject.decoded())) return *found;
    return Machine<Utf8Text>(program, text, scratch()).search();
}

bool searchProgram(const Regex::Program& program, std::u32string_view text) {
    if (text.size() > kMaxTextSize) return false;
    const Utf32Text t{text};
    if (cannotMatch(program, t)) return false;
    return Machine<Utf32Text>(program, t, scratch()).search();
}

}  // namespace quillom::regex::detail
