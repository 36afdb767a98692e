// Regular expressions over Unicode scalar values, so that patterns such as
// "[бвгґдж]{4,}" behave the same whatever the platform's wchar_t is.
//
// Dialect: literals, ".", character classes with ranges and negation,
// escapes \d \D \w \W \s \S \b \B and escaped punctuation, \uXXXX, anchors ^ $,
// groups (...) and (?:...), lookahead (?=...) (?!...), alternation |,
// quantifiers * + ? {n} {n,} {n,m} and their lazy forms.
// Matching is backtracking with a step budget: a pattern that would take too
// long on an input reports no match instead of stalling the caller.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace quillom::regex {

namespace detail {

// A set of scalars: the hot ones (ASCII and U+0400..U+04FF, nearly every
// scalar of a word) as a bitmap by hotIndex, and whether any other is in it.
struct FirstScalars {
    std::array<std::uint64_t, 6> hot{};
    bool others = false;
};

// Texts of up to this many bytes keep their scalars in SubjectFacts.
inline constexpr std::size_t kDecodedLimit = 128;

// What a Subject notes of its text.
struct SubjectFacts {
    FirstScalars present;  // the scalars it holds
    std::uint32_t count = 0;
    std::array<char32_t, kDecodedLimit> scalars;  // the first count, for a short text; unset past them

    // The scalars, for a text of up to kDecodedLimit bytes (each byte decodes to at most one).
    std::u32string_view decoded() const { return {scalars.data(), count}; }
};

}  // namespace detail

// UTF-8 text read once for searching with many patterns: which scalars it
// holds, and how many, is noted as it is built, so a pattern that needs a
// scalar the text lacks, or a length it does not have, is turned away without
// reading the text again; a short text keeps its scalars decoded for the
// searches that compare them in place. Views the text.
class Subject {
public:
    explicit Subject(std::string_view utf8);
    std::string_view text() const { return utf8_; }

private:
    friend class Regex;
    std::string_view utf8_;
    detail::SubjectFacts facts_;
};

class Regex {
public:
    // Nothing when the pattern does not compile.
    static std::optional<Regex> compile(std::string_view pattern, bool caseInsensitive = false);

    // True when the pattern matches somewhere in the text (UTF-8 or scalars).
    bool search(std::string_view utf8) const;
    bool search(std::u32string_view text) const;
    bool search(const Subject& subject) const;

    const std::string& pattern() const;

    Regex(const Regex&) = default;
    Regex& operator=(const Regex&) = default;
    Regex(Regex&&) noexcept = default;
    Regex& operator=(Regex&&) noexcept = default;
    ~Regex();

    struct Program;

private:
    explicit Regex(std::shared_ptr<const Program> program);
    std::shared_ptr<const Program> program_;
};

}  // namespace quillom::regex
