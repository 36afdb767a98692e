#include "regex/regex.h"

#include "regex/regex_program.h"
#include "unicode/unicode.h"

namespace quillom::regex {

std::optional<Regex> Regex::compile(std::string_view pattern, bool caseInsensitive) {
    const std::optional<detail::Ast> ast = detail::parse(pattern);
    if (!ast) return std::nullopt;
    std::optional<Program> program = detail::compileAst(*ast, caseInsensitive);
    if (!program) return std::nullopt;
    program->pattern = std::string(pattern);
    return Regex(std::make_shared<const Program>(std::move(*program)));
}

Regex::Regex(std::shared_ptr<const Program> program) : program_(std::move(program)) {}

Regex::~Regex() = default;

// A moved-from Regex has no program; it matches nothing instead of crashing.
bool Regex::search(std::string_view utf8) const { return program_ && detail::searchProgram(*program_, utf8); }

bool Regex::search(std::u32string_view text) const { return program_ && detail::searchProgram(*program_, text); }

bool Regex::search(const Subject& subject) const {
    return program_ && detail::searchProgram(*program_, subject.utf8_, subject.facts_);
}

Subject::Subject(std::string_view utf8) : utf8_(utf8) {
    detail::SubjectFacts& facts = facts_;
    const bool decoding = utf8.size() <= detail::kDecodedLimit;
    for (std::size_t pos = 0; pos < utf8.size();) {
        const char32_t scalar = unicode::decodeScalar(utf8, pos);
        if (decoding) facts.scalars[facts.count] = scalar;
        ++facts.count;
        const std::size_t bit = detail::hotIndex(scalar);
        if (bit == detail::kNotHot) facts.present.others = true;
        else facts.present.hot[bit / 64] |= std::uint64_t{1} << (bit % 64);
    }
}

const std::string& Regex::pattern() const {
    static const std::string empty;
    return program_ ? program_->pattern : empty;
}

}  // namespace quillom::regex
