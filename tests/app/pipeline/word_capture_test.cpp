// The hook's key handling: which keys join the word, end it or reset it.
#include <gtest/gtest.h>

#include "pipeline/word_capture.h"

namespace quillom::pipeline {
namespace {

constexpr uint32_t kLetterKey = 0x41;

// Types characters with a letter key; returns the boundary results.
std::vector<CaptureResult> typeChars(WordCapture& c, std::u16string_view chars) {
    std::vector<CaptureResult> out;
    for (char16_t ch : chars) {
        uint32_t vkCode = ch == u' ' ? vk::Space : ch == u'\t' ? vk::Tab : ch == u'\r' ? vk::Enter : kLetterKey;
        CaptureResult r = c.onKeyDown(vkCode, ch);
        if (r.kind == CaptureResult::Kind::Boundary) out.push_back(std::move(r));
    }
    return out;
}

TEST(WordCapture, BoundaryKeysFinishTheWord) {
    struct Case {
        std::u16string_view typed;
        char16_t boundary;
        BoundaryKind kind;
    };
    const Case cases[] = {{u"ghbdtn ", u' ', BoundaryKind::Space},
                          {u"ghbdtn\t", u'\t', BoundaryKind::Tab},
                          {u"ghbdtn\r", u'\n', BoundaryKind::Enter},
                          {u"ghbdtn!", u'!', BoundaryKind::Punctuation},
                          {u"ghbdtn?", u'?', BoundaryKind::Punctuation},
                          {u"ghbdtn/", u'/', BoundaryKind::Punctuation},
                          {u"ghbdtn\u00bb", u'\u00bb', BoundaryKind::Punctuation},
                          {u"\u00abghbdtn\u201c", u'\u201c', BoundaryKind::Punctuation},
                          {u"\u201eghbdtn\u2026", u'\u2026', BoundaryKind::Punctuation}};
    for (const auto& c : cases) {
        WordCapture capture;
        auto words = typeChars(capture, c.typed);
        ASSERT_EQ(words.size(), 1u);
        EXPECT_EQ(words[0].word.word, u"ghbdtn");
        EXPECT_EQ(words[0].word.boundaryChar, c.boundary);
        EXPECT_EQ(words[0].word.boundaryKind, c.kind);
        EXPECT_FALSE(words[0].word.hasUnknownBeginning);
        EXPECT_TRUE(capture.word().empty());
    }
}

TEST(WordCapture, CyrillicLetterKeysJoinTheWord) {
    WordCapture c;
    auto words = typeChars(c, u"k.,jdm; [jhjij] don't ");
    ASSERT_EQ(words.size(), 3u);
    EXPECT_EQ(words[0].word.word, u"k.,jdm;");
    EXPECT_EQ(words[1].word.word, u"[jhjij]");
    EXPECT_EQ(words[2].word.word, u"don't");
}

TEST(WordCapture, SymbolsResetTheWord) {
    WordCapture c;
    auto words = typeChars(c, u"a+b ");
    ASSERT_EQ(words.size(), 1u);
    EXPECT_EQ(words[0].word.word, u"b");
    EXPECT_TRUE(words[0].word.hasUnknownBeginning);
    // A hyphen or one of the digit row's marks with no word before it starts
    // no word: what follows may be an option or a variable's tail.
    for (std::u16string_view typed : {u"-la ", u"$HOME ", u"&nbsp ", u"^x "}) {
        WordCapture d;
        auto after = typeChars(d, typed);
        ASSERT_EQ(after.size(), 1u);
        EXPECT_TRUE(after[0].word.hasUnknownBeginning) << std::u16string(typed).size();
    }
}

// "кто-нибудь" typed on the US layout is rnj-yb,elm; "привет:" is ghbdtn^ (the
// Cyrillic layouts have the colon on Shift+6). Each part ends like a word
// before punctuation, and the next starts with its beginning seen.
TEST(WordCapture, HyphenAndDigitRowMarksEndAWordBeingTyped) {
    struct Case {
        std::u16string_view typed;
        std::u16string_view first;
        char16_t boundary;
        std::u16string_view second;
    } cases[] = {
        {u"rnj-yb,elm ", u"rnj", u'-', u"yb,elm"},  {u"well-known ", u"well", u'-', u"known"},
        {u"ghbdtn^ vbh ", u"ghbdtn", u'^', u"vbh"}, {u"ghbdtn$ vbh ", u"ghbdtn", u'$', u"vbh"},
        {u"ghbdtn& vbh ", u"ghbdtn", u'&', u"vbh"},
    };
    for (const Case& c : cases) {
        WordCapture capture;
        auto words = typeChars(capture, c.typed);
        ASSERT_EQ(words.size(), 2u);
        EXPECT_EQ(words[0].word.word, c.first);
        EXPECT_EQ(words[0].word.boundaryChar, c.boundary);
        EXPECT_EQ(words[0].word.boundaryKind, BoundaryKind::Punctuation);
        EXPECT_EQ(words[1].word.word, c.second);
        EXPECT_FALSE(words[1].word.hasUnknownBeginning);
    }
}

// What follows such a mark after a word left as typed is the rest of that
// word (system-db): its beginning is not a word's.
TEST(WordCapture, AfterAWordLeftAsTypedTheRestIsATail) {
    for (bool corrected : {true, false}) {
        WordCapture c;
        auto first = typeChars(c, u"system-");
        ASSERT_EQ(first.size(), 1u);
        c.afterEvaluation(corrected);
        auto rest = typeChars(c, u"db ");
        ASSERT_EQ(rest.size(), 1u);
        EXPECT_EQ(rest[0].word.hasUnknownBeginning, !corrected);
        c.afterEvaluation(false);  // a space: the next word is a word of its own
        EXPECT_FALSE(typeChars(c, u"next ")[0].word.hasUnknownBeginning);
    }
}

// The at sign is the Cyrillic layouts' quotation mark: "@ghbdtn@" is «"привет"».
TEST(WordCapture, AtSignJoinsTheWord) {
    WordCapture c;
    auto words = typeChars(c, u"@ghbdtn@ me@mail.ru ");
    ASSERT_EQ(words.size(), 2u);
    EXPECT_EQ(words[0].word.word, u"@ghbdtn@");
    EXPECT_EQ(words[1].word.word, u"me@mail.ru");
    EXPECT_FALSE(words[1].word.hasUnknownBeginning);
}

TEST(WordCapture, LettersAndDigitsOfAnyScriptJoin) {
    WordCapture c;
    auto words = typeChars(c, u"Привіт2024 ґанок ");
    ASSERT_EQ(words.size(), 2u);
    EXPECT_EQ(words[0].word.word, u"Привіт2024");
    EXPECT_EQ(words[1].word.word, u"ґанок");
}

TEST(WordCapture, EmptyBoundaryConsumesUnknownBeginning) {
    WordCapture c;
    c.reset();
    EXPECT_TRUE(c.hasUnknownBeginning());
    EXPECT_EQ(c.onKeyDown(vk::Space, u' ').kind, CaptureResult::Kind::PassOn);
    EXPECT_FALSE(c.hasUnknownBeginning());
    auto words = typeChars(c, u"ok ");
    EXPECT_FALSE(words[0].word.hasUnknownBeginning);
}

TEST(WordCapture, Backspace) {
    WordCapture c;
    typeChars(c, u"ghbdtnn");
    c.onKeyDown(vk::Backspace, 0);
    EXPECT_EQ(c.word(), u"ghbdtn");
    EXPECT_FALSE(c.hasUnknownBeginning());
    // Backspace past the start of the word: the text before it was edited.
    WordCapture d;
    typeChars(d, u"a");
    d.onKeyDown(vk::Backspace, 0);
    d.onKeyDown(vk::Backspace, 0);
    auto words = typeChars(d, u"ghbdtn ");
    EXPECT_TRUE(words[0].word.hasUnknownBeginning);
    // With Shift held Backspace resets instead of deleting one character.
    WordCapture e;
    typeChars(e, u"abc");
    e.trackModifiers(vk::LeftShift, true);
    e.onKeyDown(vk::Backspace, 0);
    EXPECT_TRUE(e.word().empty());
    EXPECT_TRUE(e.hasUnknownBeginning());
}

TEST(WordCapture, NavigationAndModifiedKeysReset) {
    for (uint32_t key : {vk::Escape, vk::PageUp, vk::PageDown, vk::End, vk::Home, vk::Left, vk::Up, vk::Right, vk::Down,
                         vk::Insert, vk::Delete}) {
        WordCapture c;
        typeChars(c, u"abc");
        EXPECT_FALSE(c.needsTranslation(key));
        c.onKeyDown(key, 0);
        EXPECT_TRUE(c.word().empty()) << key;
        EXPECT_TRUE(c.hasUnknownBeginning()) << key;
    }
    for (uint32_t modifier : {vk::LeftControl, vk::RightAlt, vk::LeftWin, vk::Control}) {
        WordCapture c;
        typeChars(c, u"abc");
        c.trackModifiers(modifier, true);
        EXPECT_FALSE(c.needsTranslation(kLetterKey));
        // Pressing the modifier key itself resets the word.
        c.onKeyDown(modifier, 0);
        EXPECT_TRUE(c.word().empty()) << modifier;
        c.trackModifiers(modifier, false);
        EXPECT_TRUE(c.needsTranslation(kLetterKey));
    }
}

TEST(WordCapture, ShiftAloneAndKeysWithoutCharactersChangeNothing) {
    WordCapture c;
    typeChars(c, u"ab");
    c.trackModifiers(vk::LeftShift, true);
    EXPECT_TRUE(c.shiftHeld());
    EXPECT_TRUE(c.needsTranslation(vk::LeftShift));
    c.onKeyDown(vk::LeftShift, 0);  // a key that gives no character
    c.onKeyDown(kLetterKey, u'C');
    c.trackModifiers(vk::LeftShift, false);
    EXPECT_FALSE(c.shiftHeld());
    EXPECT_EQ(c.word(), u"abC");
    EXPECT_FALSE(c.hasUnknownBeginning());
}

TEST(WordCapture, ClassificationOfCharacters) {
    // Every character of a US key that is a letter on the Russian or Ukrainian layout joins the word.
    for (char16_t ch : std::u16string_view(u"'.,;[]`\"<>:{}~@|aZжЇ7")) EXPECT_TRUE(joinsWord(ch)) << int(ch);
    for (char16_t ch : std::u16string_view(u"-#+=*&%$^ ")) EXPECT_FALSE(joinsWord(ch)) << int(ch);
    for (char16_t ch : std::u16string_view(u"-^$&")) EXPECT_TRUE(endsWordAfterIt(ch)) << int(ch);
    for (char16_t ch : std::u16string_view(u"#+=*%|@")) EXPECT_FALSE(endsWordAfterIt(ch)) << int(ch);
    for (char16_t ch : std::u16string_view(u"!()/?\\_")) EXPECT_TRUE(isPunctuationBoundary(ch)) << int(ch);
    for (char16_t ch : std::u16string_view(u".\":{}\u2019\u02bc")) EXPECT_FALSE(isPunctuationBoundary(ch)) << int(ch);
    EXPECT_FALSE(joinsWord(0xD83D));  // half of a surrogate pair
}

}  // namespace
}  // namespace quillom::pipeline
