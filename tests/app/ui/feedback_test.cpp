#include "common/utf16.h"
#include "quillom_version.h"
#include "ui/feedback.h"

#include <gtest/gtest.h>

using namespace quillom::ui;
using quillom::toUtf16;
using quillom::toUtf8;
using quillom::tray::TextId;

namespace {

const SystemDescription kSystem{10, 0, 22631, "uk-UA"};

TEST(FeedbackBody, MembersInOrderWithEscapes) {
    const FeedbackForm form{1, u" me@example.org ", u"\r\n  Line one\r\nsaid \"hi\" \\ Привіт\t \n"};
    EXPECT_EQ(feedbackBody(form, kSystem),
              "{\n"
              "  \"type\": \"idea\",\n"
              "  \"message\": \"Line one\\r\\nsaid \\\"hi\\\" \\\\ Привіт\",\n"
              "  \"contactEmail\": \"me@example.org\",\n"
              "  \"appVersion\": \"" QUILLOM_VERSION
              "\",\n"
              "  \"osVersion\": \"Windows 10.0.22631\",\n"
              "  \"arch\": \"x86_64\",\n"
              "  \"locale\": \"uk-UA\"\n"
              "}\n");
}

TEST(FeedbackBody, NoContactEmailWhenEmptyAndDefaultsForUnknowns) {
    const FeedbackForm form{-1, u" \t ", u"Broken"};
    EXPECT_EQ(feedbackBody(form, SystemDescription{}),
              "{\n"
              "  \"type\": \"other\",\n"
              "  \"message\": \"Broken\",\n"
              "  \"appVersion\": \"" QUILLOM_VERSION
              "\",\n"
              "  \"osVersion\": \"Windows 0.0.0\",\n"
              "  \"arch\": \"x86_64\",\n"
              "  \"locale\": \"en-US\"\n"
              "}\n");
}

TEST(FeedbackBody, TypesAndAnEmptyMessage) {
    const std::pair<int, std::string_view> types[] = {
        {0, "bug"}, {1, "idea"}, {2, "other"}, {-1, "other"}, {3, "other"}};
    for (const auto& [row, type] : types) EXPECT_EQ(feedbackType(row), type) << row;
    EXPECT_EQ(feedbackBody({0, u"a@b.c", u" \r\n\t \n"}, kSystem), std::nullopt);
}

// The message as the body carries it (the body holds no other escapes for these texts).
std::string sentMessage(const std::u16string& message) {
    const std::string body = *feedbackBody({0, u"", message}, kSystem);
    const std::string open = "\"message\": \"";
    const size_t begin = body.find(open) + open.size();
    return body.substr(begin, body.find("\",\n", begin) - begin);
}

TEST(FeedbackBody, LongMessagesAreCutOnACharacterBoundary) {
    const struct {
        std::u16string message;
        size_t bytes;
    } cases[] = {
        {std::u16string(5000, u'a'), 4000},        {std::u16string(4000, u'a'), 4000},
        {u"a" + std::u16string(2500, u'п'), 3999},  // 2-byte letters: the cut falls inside one
        {std::u16string(2500, u'п'), 4000},        {std::u16string(1500, u'€'), 3999},  // 3-byte characters
        {u"a" + std::u16string(1500, u'€'), 4000}, {u"ab" + std::u16string(1500, u'€'), 3998},
    };
    for (const auto& c : cases) {
        const std::string sent = sentMessage(c.message);
        EXPECT_EQ(sent.size(), c.bytes);
        // Nothing cut in half: the text is still well-formed UTF-8.
        EXPECT_EQ(toUtf8(toUtf16(sent)), sent);
    }
    // Four-byte characters (a surrogate pair in the edit field).
    std::u16string emoji;
    for (int i = 0; i < 1001; ++i) emoji += u"\U0001F600";
    EXPECT_EQ(sentMessage(emoji).size(), 4000u);
    EXPECT_EQ(sentMessage(u"abc" + emoji).size(), 3999u);
    EXPECT_EQ(cutAtCharacterBoundary("\xD0\xBF\xD0\xBF", 3), "\xD0\xBF");
    EXPECT_EQ(cutAtCharacterBoundary("\xD0\xBF", 1), "");
}

TEST(FeedbackResult, StatusLines) {
    const std::pair<unsigned, TextId> lines[] = {
        {201, TextId::FeedbackSent},     {200, TextId::FeedbackSent},       {299, TextId::FeedbackSent},
        {429, TextId::FeedbackTooMany},  {0, TextId::FeedbackNetworkError}, {500, TextId::FeedbackRejected},
        {404, TextId::FeedbackRejected}, {300, TextId::FeedbackRejected},   {199, TextId::FeedbackRejected},
    };
    for (const auto& [status, text] : lines) EXPECT_EQ(int(feedbackResultText(status)), int(text)) << status;
}

}  // namespace
