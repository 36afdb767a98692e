// Turns the parsed pattern into instructions. Counted repetition is expanded
// into copies, so the program size is capped; case-insensitive literals and
// class ranges are lower-cased here once instead of on every match.
#include <algorithm>
#include <bit>

#include "regex/regex_program.h"
#include "unicode/unicode.h"

namespace quillom::regex::detail {
namespace {

constexpr std::size_t kMaxInstructions = 20000;

// {lower(x) : x in ranges} joined to the ranges, so that testing the lower-cased
// text scalar against the result compares lower-cased scalars on both sides
// (lower-casing is idempotent, so the ranges themselves stand for their fixed points).
std::vector<ScalarRange> foldRanges(const std::vector<ScalarRange>& ranges) {
    std::vector<ScalarRange> folded = ranges;
    const char32_t lastCased = unicode::lastCaseMappedScalar();
    for (const ScalarRange& r : ranges) {
        for (char32_t x = r.first; x <= std::min(r.last, lastCased); ++x) {
            const char32_t lower = unicode::toLower(x);
            if (lower != x) folded.push_back({lower, lower});
        }
    }
    normalizeRanges(folded);
    return folded;
}

void fillHotScalars(CharClass& cls, bool caseInsensitive) {
    const auto set = [&cls, caseInsensitive](std::size_t bit, char32_t cp) {
        const char32_t folded = caseInsensitive ? unicode::toLower(cp) : cp;
        if (classMatches(cls, cp, folded)) cls.hot[bit / 64] |= std::uint64_t{1} << (bit % 64);
    };
    for (char32_t cp = 0; cp < 0x80; ++cp) set(cp, cp);
    for (char32_t cp = kHotCyrillicFirst; cp <= kHotCyrillicLast; ++cp) {
        set(0x80 + (cp - kHotCyrillicFirst), cp);
    }
}

class Compiler {
public:
    Compiler(const Ast& ast, bool caseInsensitive) : ast_(ast), caseInsensitive_(caseInsensitive) {}

    std::optional<Regex::Program> run() {
        Regex::Program program;
        program.caseInsensitive = caseInsensitive_;
        emitNode(ast_.root);
        emit(Op::Match);
        if (overflow_) return std::nullopt;
        program.code = std::move(code_);
        program.registers = registers_;
        program.classes = ast_.classes;
        for (CharClass& cls : program.classes) {
            if (caseInsensitive_) cls.ranges = foldRanges(cls.ranges);
            fillHotScalars(cls, caseInsensitive_);
        }
        program.anchoredAtStart = anchored(ast_.root);
        program.first = firstScalars(program.classes);
        program.required = requiredScalars(ast_.root, program.classes);
        program.wholeText = wholeText(program.classes);
        program.classRun = classRun();
        program.sequences = sequences();
        return program;
    }

private:
    const Node& node(int index) const { return ast_.nodes[static_cast<std::size_t>(index)]; }

    std::uint32_t pc() const { return static_cast<std::uint32_t>(code_.size()); }

    std::uint32_t emit(Op op, std::uint32_t a = 0, std::uint32_t b = 0) {
        if (code_.size() >= kMaxInstructions) {
            overflow_ = true;
            return pc();
        }
        code_.push_back({op, a, b});
        return pc() - 1;
    }

    void patchA(std::uint32_t at, std::uint32_t target) {
        if (at < code_.size()) code_[at].a = target;
    }
    void patchB(std::uint32_t at, std::uint32_t target) {
        if (at < code_.size()) code_[at].b = target;
    }

    char32_t fold(char32_t c) const { return caseInsensitive_ ? unicode::toLower(c) : c; }

    void emitNode(int index) {
        if (overflow_) return;
        const Node& n = node(index);
        switch (n.kind) {
        case NodeKind::Empty: return;
        case NodeKind::Char: emit(Op::Char, fold(n.scalar)); return;
        case NodeKind::Any: emit(Op::Any); return;
        case NodeKind::Class: emit(Op::Class, static_cast<std::uint32_t>(n.classIndex)); return;
        case NodeKind::StartAnchor: emit(Op::StartAnchor); return;
        case NodeKind::EndAnchor: emit(Op::EndAnchor); return;
        case NodeKind::WordBoundary: emit(Op::WordBoundary); return;
        case NodeKind::NotWordBoundary: emit(Op::NotWordBoundary); return;
        case NodeKind::LookAhead: emitLook(Op::LookAhead, n); return;
        case NodeKind::NegativeLookAhead: emitLook(Op::NegativeLookAhead, n); return;
        case NodeKind::Concat:
            for (int child : n.children) emitNode(child);
            return;
        case NodeKind::Alternation: emitAlternation(n); return;
        case NodeKind::Repeat: emitRepeat(n); return;
        }
    }

    void emitLook(Op op, const Node& n) {
        const std::uint32_t look = emit(op);
        patchA(look, pc());
        emitNode(n.children.front());
        emit(Op::Match);
        patchB(look, pc());
    }

    void emitAlternation(const Node& n) {
        std::vector<std::uint32_t> jumps;
        for (std::size_t i = 0; i + 1 < n.children.size(); ++i) {
            const std::uint32_t split = emit(Op::Split);
            patchA(split, pc());
            emitNode(n.children[i]);
            jumps.push_back(emit(Op::Jump));
            patchB(split, pc());
        }
        emitNode(n.children.back());
        for (std::uint32_t jump : jumps) patchA(jump, pc());
    }

    // Greedy splits try one more repetition first, lazy ones leaving the loop first.
    void patchSplit(std::uint32_t split, bool lazy, std::uint32_t more, std::uint32_t done) {
        patchA(split, lazy ? done : more);
        patchB(split, lazy ? more : done);
    }

    void emitRepeat(const Node& n) {
        const int child = n.children.front();
        const bool canBeEmpty = nullable(child);
        if (n.max == kUnbounded && n.min >= 1 && !canBeEmpty) {
            for (int i = 1; i < n.min; ++i) emitNode(child);
            const std::uint32_t loop = pc();  // child, then again or out
            emitNode(child);
            const std::uint32_t split = emit(Op::Split);
            patchSplit(split, n.lazy, loop, pc());
            return;
        }
        for (int i = 0; i < n.min; ++i) emitNode(child);
        if (n.max == kUnbounded) {
            emitStar(child, canBeEmpty, n.lazy);
            return;
        }
        std::vector<std::uint32_t> splits;
        for (int i = n.min; i < n.max && !overflow_; ++i) {
            splits.push_back(emit(Op::Split));
            emitNode(child);
        }
        for (std::uint32_t split : splits) patchSplit(split, n.lazy, split + 1, pc());
    }

    void emitStar(int child, bool canBeEmpty, bool lazy) {
        const std::uint32_t split = emit(Op::Split);
        if (canBeEmpty) {
            // An iteration that matched nothing is dropped; otherwise the loop never ends.
            const std::uint32_t reg = registers_++;
            emit(Op::Mark, reg);
            emitNode(child);
            emit(Op::Check, reg);
        } else {
            emitNode(child);
        }
        emit(Op::Jump, split);
        patchSplit(split, lazy, split + 1, pc());
    }

    bool nullable(int index) const {
        const Node& n = node(index);
        switch (n.kind) {
        case NodeKind::Char:
        case NodeKind::Any:
        case NodeKind::Class: return false;
        case NodeKind::Concat:
            return std::all_of(n.children.begin(), n.children.end(), [this](int c) { return nullable(c); });
        case NodeKind::Alternation:
            return std::any_of(n.children.begin(), n.children.end(), [this](int c) { return nullable(c); });
        case NodeKind::Repeat: return n.min == 0 || nullable(n.children.front());
        default: return true;  // empty, assertions, lookahead
        }
    }

    bool anchored(int index) const {
        const Node& n = node(index);
        switch (n.kind) {
        case NodeKind::StartAnchor: return true;
        case NodeKind::Concat: return anchored(n.children.front());
        case NodeKind::Alternation:
            return std::all_of(n.children.begin(), n.children.end(), [this](int c) { return anchored(c); });
        default: return false;
        }
    }

    std::optional<ClassRun> classRun() const {
        const Node& root = node(ast_.root);
        const std::vector<int> parts = root.kind == NodeKind::Concat ? root.children : std::vector<int>{ast_.root};
        ClassRun run;
        std::size_t i = 0;
        if (i < parts.size() && node(parts[i]).kind == NodeKind::StartAnchor) {
            run.atStart = true;
            ++i;
        }
        if (i == parts.size()) return std::nullopt;
        const Node& repeat = node(parts[i++]);
        if (repeat.kind != NodeKind::Repeat || repeat.lazy || repeat.max != kUnbounded || repeat.min < 1)
            return std::nullopt;
        const Node& item = node(repeat.children.front());
        if (item.kind != NodeKind::Class) return std::nullopt;
        if (i < parts.size() && node(parts[i]).kind == NodeKind::EndAnchor) {
            run.atEnd = true;
            ++i;
        }
        if (i != parts.size()) return std::nullopt;
        run.classIndex = static_cast<std::uint32_t>(item.classIndex);
        run.min = static_cast<std::uint32_t>(repeat.min);
        return run;
    }

    // The pattern as rows, one per alternative; none when some alternative is no row.
    std::vector<Sequence> sequences() const {
        const Node& root = node(ast_.root);
        const std::vector<int> alternatives =
            root.kind == NodeKind::Alternation ? root.children : std::vector<int>{ast_.root};
        std::vector<Sequence> rows;
        std::uint64_t steps = 0;  // the machine's, at most, at one start: a split, the items and a jump per row
        for (int alternative : alternatives) {
            std::optional<Sequence> row = sequence(alternative);
            if (!row) return {};
            steps += row->items.size() + 2;
            rows.push_back(std::move(*row));
        }
        // Compared in place only where the machine could not run out of steps
        // on any text it is used for, so that both give the same answer.
        if (steps * kDecodedLimit > kStepBudget) return {};
        return rows;
    }

    std::optional<Sequence> sequence(int index) const {
        const Node& top = node(index);
        const std::vector<int> parts = top.kind == NodeKind::Concat ? top.children : std::vector<int>{index};
        Sequence seq;
        std::size_t i = 0, end = parts.size();
        if (i < end && node(parts[i]).kind == NodeKind::StartAnchor) {
            seq.atStart = true;
            ++i;
        }
        if (i < end && node(parts[end - 1]).kind == NodeKind::EndAnchor) {
            seq.atEnd = true;
            --end;
        }
        for (; i < end; ++i) {
            const Node& item = node(parts[i]);
            if (item.kind == NodeKind::Char) seq.items.push_back({false, fold(item.scalar)});
            else if (item.kind == NodeKind::Class)
                seq.items.push_back({true, static_cast<std::uint32_t>(item.classIndex)});
            else return std::nullopt;
        }
        if (seq.items.empty()) return std::nullopt;
        return seq;
    }

    // What a match of the node can begin with: folded literals, classes, or
    // anything. Over-approximates (a repetition of {0} still adds its child).
    struct FirstItems {
        std::vector<char32_t> scalars;
        std::vector<std::uint32_t> classes;
        bool any = false;
    };

    // Adds the items of the node; true when it can match without consuming,
    // so that what follows it can begin a match too.
    bool addFirst(int index, FirstItems& items) const {
        const Node& n = node(index);
        switch (n.kind) {
        case NodeKind::Char: items.scalars.push_back(fold(n.scalar)); return false;
        case NodeKind::Any: items.any = true; return false;
        case NodeKind::Class: items.classes.push_back(static_cast<std::uint32_t>(n.classIndex)); return false;
        case NodeKind::Concat:
            for (int child : n.children)
                if (!addFirst(child, items)) return false;
            return true;
        case NodeKind::Alternation: {
            bool canBeEmpty = false;
            for (int child : n.children) canBeEmpty = addFirst(child, items) || canBeEmpty;
            return canBeEmpty;
        }
        case NodeKind::Repeat: return addFirst(n.children.front(), items) || n.min == 0;
        default: return true;  // empty, assertions, lookahead: they consume nothing
        }
    }

    bool anchoredAtEnd(int index) const {
        const Node& n = node(index);
        switch (n.kind) {
        case NodeKind::EndAnchor: return true;
        case NodeKind::Concat: return !n.children.empty() && anchoredAtEnd(n.children.back());
        case NodeKind::Alternation:
            return std::all_of(n.children.begin(), n.children.end(), [this](int c) { return anchoredAtEnd(c); });
        default: return false;
        }
    }

    // How many scalars a match of the node consumes, at least and at most
    // (kUnboundedScalars: no limit).
    struct ScalarSpan {
        std::uint64_t min = 0, max = 0;
    };

    static constexpr std::uint64_t kNoLimit = kUnboundedScalars;

    ScalarSpan scalarSpan(int index) const {
        const Node& n = node(index);
        switch (n.kind) {
        case NodeKind::Char:
        case NodeKind::Any:
        case NodeKind::Class: return {1, 1};
        case NodeKind::Concat: {
            ScalarSpan sum;
            for (int child : n.children) {
                const ScalarSpan c = scalarSpan(child);
                sum.min = std::min(sum.min + c.min, kNoLimit);
                sum.max = std::min(sum.max + c.max, kNoLimit);
            }
            return sum;
        }
        case NodeKind::Alternation: {
            ScalarSpan any{kNoLimit, 0};
            for (int child : n.children) {
                const ScalarSpan c = scalarSpan(child);
                any.min = std::min(any.min, c.min);
                any.max = std::max(any.max, c.max);
            }
            return n.children.empty() ? ScalarSpan{} : any;
        }
        case NodeKind::Repeat: {
            const ScalarSpan c = scalarSpan(n.children.front());
            const auto times = [](std::uint64_t a, std::uint64_t b) { return std::min(a * b, kNoLimit); };
            // Spans and counts stay far below 2^32 (the program size is capped): no product overflows.
            return {times(c.min, static_cast<std::uint64_t>(n.min)),
                    c.max == 0            ? 0
                    : n.max == kUnbounded ? kNoLimit
                                          : times(c.max, static_cast<std::uint64_t>(n.max))};
        }
        default: return {};  // assertions, lookahead, empty: nothing consumed
        }
    }

    // Adds every literal and class that a match can consume (lookaheads
    // only look: what they test is no part of the match).
    void addConsumed(int index, FirstItems& items) const {
        const Node& n = node(index);
        switch (n.kind) {
        case NodeKind::Char: items.scalars.push_back(fold(n.scalar)); break;
        case NodeKind::Any: items.any = true; break;
        case NodeKind::Class: items.classes.push_back(static_cast<std::uint32_t>(n.classIndex)); break;
        case NodeKind::Concat:
        case NodeKind::Alternation:
        case NodeKind::Repeat:
            for (int child : n.children) addConsumed(child, items);
            break;
        default: break;
        }
    }

    std::optional<WholeText> wholeText(const std::vector<CharClass>& classes) const {
        if (!anchored(ast_.root) || !anchoredAtEnd(ast_.root)) return std::nullopt;
        FirstItems items;
        addConsumed(ast_.root, items);
        if (items.any) return std::nullopt;
        const ScalarSpan span = scalarSpan(ast_.root);
        return WholeText{toScalars(items, classes), static_cast<std::uint32_t>(span.min),
                         static_cast<std::uint32_t>(span.max)};
    }

    std::optional<FirstScalars> firstScalars(const std::vector<CharClass>& classes) const {
        FirstItems items;
        if (addFirst(ast_.root, items) || items.any) return std::nullopt;
        return toScalars(items, classes);
    }

    // Scalars of which every match consumes at least some number: a literal
    // or class that every path through the pattern crosses (lookaheads aside),
    // as often as its repetitions demand, and as often as a row of them names
    // the same set (ыы needs two ы). Among several such, the one with the
    // fewest hot scalars, then the one needed most often, then the later one.
    std::optional<RequiredScalars> requiredScalars(int index, const std::vector<CharClass>& classes) const {
        const Node& n = node(index);
        switch (n.kind) {
        case NodeKind::Char:
        case NodeKind::Class: {
            FirstItems items;
            addFirst(index, items);
            return RequiredScalars{toScalars(items, classes), 1};
        }
        case NodeKind::Concat: {
            // Each child consumes its own stretch of the text: the counts of one set add up.
            std::vector<RequiredScalars> sets;
            for (int child : n.children) {
                const std::optional<RequiredScalars> r = requiredScalars(child, classes);
                if (!r) continue;
                auto same = std::find_if(sets.begin(), sets.end(), [&](const RequiredScalars& s) {
                    return s.set.hot == r->set.hot && s.set.others == r->set.others;
                });
                if (same == sets.end()) sets.push_back(*r);
                else same->count = std::min(same->count + r->count, kMaxRequired);
            }
            std::optional<RequiredScalars> best;
            for (const RequiredScalars& r : sets)
                if (!best || selectiveness(r) <= selectiveness(*best)) best = r;
            return best;
        }
        case NodeKind::Alternation: {
            RequiredScalars all{{}, kMaxRequired};
            for (int child : n.children) {
                std::optional<RequiredScalars> r = requiredScalars(child, classes);
                if (!r) return std::nullopt;
                for (std::size_t w = 0; w < all.set.hot.size(); ++w) all.set.hot[w] |= r->set.hot[w];
                all.set.others = all.set.others || r->set.others;
                all.count = std::min(all.count, r->count);
            }
            return all;
        }
        case NodeKind::Repeat: {
            if (n.min < 1) return std::nullopt;
            std::optional<RequiredScalars> r = requiredScalars(n.children.front(), classes);
            // Each repetition consumes its own stretch of the text.
            if (r)
                r->count = static_cast<std::uint32_t>(
                    std::min<std::uint64_t>(std::uint64_t{r->count} * static_cast<std::uint64_t>(n.min), kMaxRequired));
            return r;
        }
        default: return std::nullopt;  // any scalar, or nothing consumed
        }
    }

    static constexpr std::uint32_t kMaxRequired = 1u << 20;

    // Fewer hot scalars, then a higher count, rank first (compare with <=).
    static std::pair<int, std::int64_t> selectiveness(const RequiredScalars& r) {
        return {hotCount(r.set), -static_cast<std::int64_t>(r.count)};
    }

    static int hotCount(const FirstScalars& s) {
        int count = 0;
        for (std::uint64_t w : s.hot) count += std::popcount(w);
        return count;
    }

    FirstScalars toScalars(const FirstItems& items, const std::vector<CharClass>& classes) const {
        FirstScalars first;
        // Other scalars can fold to a literal, or lie in a class, outside the bitmap.
        first.others = caseInsensitive_ || !items.classes.empty();
        for (char32_t s : items.scalars) {
            const std::size_t bit = hotIndex(s);
            if (bit == kNotHot) first.others = true;
        }
        const auto begins = [&](char32_t cp) {
            for (char32_t s : items.scalars)
                if (fold(cp) == s) return true;
            for (std::uint32_t c : items.classes)
                if (hotBit(classes[c].hot, hotIndex(cp))) return true;
            return false;
        };
        const auto mark = [&](char32_t cp) {
            if (begins(cp)) first.hot[hotIndex(cp) / 64] |= std::uint64_t{1} << (hotIndex(cp) % 64);
        };
        for (char32_t cp = 0; cp < 0x80; ++cp) mark(cp);
        for (char32_t cp = kHotCyrillicFirst; cp <= kHotCyrillicLast; ++cp) mark(cp);
        return first;
    }

    const Ast& ast_;
    bool caseInsensitive_;
    std::vector<Inst> code_;
    std::uint32_t registers_ = 0;
    bool overflow_ = false;
};

}  // namespace

std::optional<Regex::Program> compileAst(const Ast& ast, bool caseInsensitive) {
    return Compiler(ast, caseInsensitive).run();
}

}  // namespace quillom::regex::detail
