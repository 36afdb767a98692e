// Quote keys at the edges of a Cyrillic word typed on the US layout: the
// apostrophe key is э on the Russian layout and є on the Ukrainian one, the
// backtick ё, so 'Njdfhs' reads as эТоварыэ. A user whose layout lacks the
// quote types it as itself; the keys around the word tell which was meant.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "config/rules_config.h"
#include "scoring/judge/rules_decision.h"

namespace quillom::scoring {

struct QuoteEdges {
    std::size_t leading = 0;   // bytes of the quote key opening the word
    std::size_t trailing = 0;  // bytes of the one closing it
    bool any() const { return leading + trailing > 0; }
};

struct InlineQuoteReadings {
    QuoteEdges readings[3];
    std::size_t size = 0;
    const QuoteEdges* begin() const { return readings; }
    const QuoteEdges* end() const { return readings + size; }
};

// The runs of quote keys at the token's edges that the decision read as
// letters of a correction from a Latin layout into a Cyrillic language; none
// otherwise, or when nothing would be left between them.
QuoteEdges quoteKeyEdges(const RulesConfig& config, std::string_view token, const RulesDecision& whole);

// The grave keys at the token's edges, when the rules ask for it
// ("grave_key_quotes_at_edges"): on the Ukrainian layout the key gives the
// apostrophe, which Ukrainian text quotes with (`xjhyj. is 'чорною); none
// when nothing would be left between them or two stand together at an edge.
QuoteEdges graveKeyEdges(const RulesConfig& config, std::string_view token);

// The ways of reading the edges as quotes, the likelier first: both runs,
// then each alone (the other read as letters: 'rjyjvbrb' is экономики').
InlineQuoteReadings quoteReadings(const QuoteEdges& edges);

enum class QuoteVerdict {
    Letters,    // the keys are the letters of the whole reading
    Plausible,  // quotes, when no reading makes a listed word
    Listed,     // quotes around a listed word
};

// How `core`, the correction of the token without the edges of `reading`,
// stands against `whole`, the correction with them read as letters. Quotes
// need the core corrected into a Cyrillic language and, unless a capital
// follows the opening one (эТовары is cased as no word is), no listed whole
// reading (має stays); then a listed core wins, and quotes at both edges
// without one are plausible.
QuoteVerdict judgeQuotes(const RulesConfig& config, std::string_view token, const QuoteEdges& reading,
                         const RulesDecision& whole, const RulesDecision& core);

// The correction with every quote key inside the typed word that it read as
// a lower-case letter between a letter and a capital (ДэАртаньян, cased as no
// word is) put back as typed: Д'Артаньян. Unchanged when there is none.
std::string withInnerQuotesBeforeCapitals(const RulesConfig& config, std::string_view token,
                                          const RulesDecision& decision);

}  // namespace quillom::scoring
