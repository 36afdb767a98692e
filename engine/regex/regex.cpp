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
    return program_ &&
           detail::searchProgram(*program_, subject.utf8_, detail::FirstScalars{subject.hot_, subject.others_});
}

Subject::Subject(std::string_view utf8) : utf8_(utf8) {
    for (std::size_t pos = 0; pos < utf8.size();) {
        const std::size_t bit = detail::hotIndex(unicode::decodeScalar(utf8, pos));
        if (bit == detail::kNotHot) others_ = true;
        else hot_[bit / 64] |= std::uint64_t{1} << (bit % 64);
    }
}

const std::string& Regex::pattern() const {
    static const std::string empty;
    return program_ ? program_->pattern : empty;
}

}  // namespace quillom::regex
