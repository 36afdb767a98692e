#include "settings_layout.h"

#include <algorithm>

#include "control_ids.h"

namespace quillom::ui {
namespace {

using K = ControlKind;

// Shared grid: a label column, then the control beside it, rows 26 high with their label
// lowered to the control's text line.
constexpr int kLabelDrop = 4;

ControlSpec label(int textId, int x, int y, int width) { return {K::Label, ctrl::None, textId, {x, y, width, 16}}; }
ControlSpec note(int textId, int x, int y, int width, int height) {
    return {K::Note, ctrl::None, textId, {x, y, width, height}};
}

std::vector<ControlSpec> general() {
    return {
        label(31, 0, kLabelDrop, 170),
        {K::DropDown, ctrl::InterfaceLanguage, kNoText, {178, 0, 150, 24}},
        label(32, 0, 38, kPageWidth),
        label(33, 0, 60 + kLabelDrop, 170),
        {K::DropDown, ctrl::UpdateFrequency, kNoText, {178, 60, 150, 24}},
        {K::Button, ctrl::CheckNow, 38, {336, 59, 130, 26}},
        {K::CheckBox, ctrl::LaunchAtLogin, 40, {0, 96, kPageWidth, 22}},
        label(41, 0, 132, kPageWidth),
        {K::Button, ctrl::UserManual, 42, {0, 152, 180, 26}},
        label(43, 0, 192, kPageWidth),
        {K::Button, ctrl::ResetSettings, 44, {0, 212, 180, 26}},
        note(45, 0, 244, kPageWidth, 32),
    };
}

std::vector<ControlSpec> sound() {
    return {
        {K::CheckBox, ctrl::PlaySound, 75, {0, 0, kPageWidth, 22}},
        label(76, 0, 34 + kLabelDrop, 130),
        {K::DropDown, ctrl::CorrectionSound, kNoText, {138, 34, 210, 24}},
        label(77, 0, 66 + kLabelDrop, 130),
        {K::DropDown, ctrl::UndoSound, kNoText, {138, 66, 210, 24}},
        note(78, 0, 102, kPageWidth, 32),
    };
}

std::vector<ControlSpec> hotkeys() {
    constexpr int kField = 238, kFieldWidth = 220, kDrop = 5;
    auto field = [](int id, int y) { return ControlSpec{K::HotkeyField, id, kNoText, {kField, y, kFieldWidth, 26}}; };
    auto languageRow = [](std::string_view code, int y) {
        return ControlSpec{K::Label, ctrl::None, kNoText, {16, y + kDrop, kField - 24, 16}, code};
    };
    return {
        label(83, 0, kDrop, kField - 8),
        field(ctrl::HotkeyUndo, 0),
        note(84, 0, 30, kPageWidth, 16),
        label(85, 0, 56 + kDrop, kField - 8),
        field(ctrl::HotkeyConvert, 56),
        note(86, 0, 86, kPageWidth, 32),
        label(87, 0, 124, kPageWidth),
        languageRow("en", 146),
        field(ctrl::HotkeyConvertEn, 146),
        languageRow("uk", 178),
        field(ctrl::HotkeyConvertUk, 178),
        languageRow("ru", 210),
        field(ctrl::HotkeyConvertRu, 210),
        note(88, 0, 246, kPageWidth, 48),
        {K::Button, ctrl::ResetHotkeys, 89, {0, 300, 200, 28}},
    };
}

std::vector<ControlSpec> dictionary() {
    constexpr int kPicker = 78, kWord = 191, kAdd = 349, kList = 420, kRemove = 428;
    return {
        label(58, 0, kLabelDrop, 70),
        {K::Edit, ctrl::Search, kNoText, {kPicker, 0, 200, 22}},
        label(59, 0, 30, kPageWidth),
        {K::ListView, ctrl::PairList, kNoText, {0, 48, kList, 100}},
        {K::Button, ctrl::RemovePair, 118, {kRemove, 48, kPageWidth - kRemove, 26}},
        label(67, 0, 156 + kLabelDrop, 70),
        {K::DropDown, ctrl::PairFrom, kNoText, {kPicker, 156, 105, 24}},
        {K::Edit, ctrl::PairTyped, kNoText, {kWord, 156, 150, 24}},
        {K::Button, ctrl::AddPair, 119, {kAdd, 155, 90, 26}},
        label(68, 0, 186 + kLabelDrop, 70),
        {K::DropDown, ctrl::PairTo, kNoText, {kPicker, 186, 105, 24}},
        {K::Edit, ctrl::PairCorrected, kNoText, {kWord, 186, 150, 24}},
        label(60, 0, 222, kPageWidth),
        {K::ListView, ctrl::NeverList, kNoText, {0, 240, kList, 90}},
        {K::Button, ctrl::RemoveNever, 118, {kRemove, 240, kPageWidth - kRemove, 26}},
        {K::DropDown, ctrl::NeverLanguage, kNoText, {kPicker, 338, 105, 24}},
        {K::Edit, ctrl::NeverWord, kNoText, {kWord, 338, 150, 24}},
        {K::Button, ctrl::AddNever, 119, {kAdd, 337, 90, 26}},
    };
}

std::vector<ControlSpec> autoRules() {
    std::vector<ControlSpec> page;
    const int boxes[][3] = {{ctrl::UppercaseOnlyExactPairs, 69, 70}, {ctrl::ProtectEndings, 71, 72},
                            {ctrl::PauseInGames, 73, 74}};
    int y = 0;
    for (const auto& [id, text, description] : boxes) {
        // Two lines of room: the longer translations wrap.
        page.push_back({K::CheckBox, id, text, {0, y, kPageWidth, 32}});
        page.push_back(note(description, 18, y + 32, kPageWidth - 18, 38));
        y += 80;
    }
    return page;
}

std::vector<ControlSpec> languages() {
    return {
        label(46, 0, 0, kPageWidth),
        {K::ListBox, ctrl::LanguageList, kNoText, {0, 20, 300, 150}},
        {K::Button, ctrl::MoveUp, 47, {308, 20, 110, 26}},
        {K::Button, ctrl::MoveDown, 48, {308, 52, 110, 26}},
        note(49, 0, 180, kPageWidth, 96),
        note(50, 0, 282, kPageWidth, 52),
    };
}

std::vector<ControlSpec> excludedApps() {
    return {
        label(52, 0, 0, kPageWidth),
        {K::ListView, ctrl::ExcludedList, kNoText, {0, 20, 420, 190}},
        {K::Button, ctrl::RemoveExcluded, 118, {428, 20, 88, 26}},
        {K::Button, ctrl::AddExcluded, 53, {0, 218, 180, 28}},
        note(57, 0, 254, kPageWidth, 32),
    };
}

std::vector<ControlSpec> feedback() {
    return {
        note(92, 0, 0, kPageWidth, 66),
        label(93, 0, 72 + kLabelDrop, 220),
        {K::DropDown, ctrl::FeedbackType, kNoText, {228, 72, 200, 24}},
        label(97, 0, 102 + kLabelDrop, 220),
        {K::Edit, ctrl::FeedbackEmail, kNoText, {228, 102, kPageWidth - 228, 24}},
        label(98, 0, 134, 220),
        {K::MultiLineEdit, ctrl::FeedbackMessage, kNoText, {0, 152, kPageWidth, 150}},
        {K::Button, ctrl::SendFeedback, 99, {0, 310, 170, 28}},
        {K::Label, ctrl::FeedbackStatus, kNoText, {178, 316, kPageWidth - 178, 16}},
    };
}

std::vector<ControlSpec> debug() {
    return {
        label(106, 0, 0, kPageWidth),
        {K::ReadOnlyEdit, ctrl::ExecutablePath, kNoText, {0, 20, kPageWidth, 22}},
        {K::Button, ctrl::OpenInExplorer, 107, {0, 48, 180, 26}},
        {K::Label, ctrl::Distribution, kNoText, {0, 84, kPageWidth, 16}},
        label(109, 0, 110, kPageWidth),
        {K::CheckBox, ctrl::DebugLog, 110, {0, 130, kPageWidth, 22}},
        {K::Button, ctrl::ShowLogFile, 111, {0, 158, 180, 26}},
        note(112, 0, 192, kPageWidth, 48),
    };
}

}  // namespace

std::vector<Page> settingsPages(bool developerMachine) {
    std::vector<Page> pages{Page::General,   Page::Sound,     Page::Hotkeys,      Page::Dictionary,
                            Page::AutoRules, Page::Languages, Page::ExcludedApps, Page::Feedback};
    if (developerMachine) pages.push_back(Page::Debug);
    return pages;
}

int pageTitle(Page page) { return 22 + int(page); }

std::vector<ControlSpec> pageLayout(Page page) {
    switch (page) {
    case Page::General: return general();
    case Page::Sound: return sound();
    case Page::Hotkeys: return hotkeys();
    case Page::Dictionary: return dictionary();
    case Page::AutoRules: return autoRules();
    case Page::Languages: return languages();
    case Page::ExcludedApps: return excludedApps();
    case Page::Feedback: return feedback();
    case Page::Debug: return debug();
    }
    return {};
}

std::vector<ListColumn> listColumns(int controlId) {
    switch (controlId) {
    case ctrl::PairList: return {{61, 90}, {62, 115}, {63, 90}, {64, 115}};
    case ctrl::NeverList: return {{65, 120}, {66, 290}};
    case ctrl::ExcludedList: return {{54, 170}, {55, 240}};
    default: return {};
    }
}

bool overlap(const Box& a, const Box& b) {
    return a.x < b.right() && b.x < a.right() && a.y < b.bottom() && b.y < a.bottom();
}

int fittingDpi(int dpi, const Box& workArea) {
    const int limit = std::min(workArea.width, workArea.height) * 96 / kSettingsWindowSize;
    return std::max(std::min(dpi, limit), 48);
}

Box keepInWorkArea(const Box& workArea, const Box& window) {
    Box placed = window;
    // The top-left corner wins when the window is larger: the caption must stay reachable.
    placed.x = std::max(workArea.x, std::min(window.x, workArea.right() - window.width));
    placed.y = std::max(workArea.y, std::min(window.y, workArea.bottom() - window.height));
    return placed;
}

Box placeInWorkArea(const Box& workArea, int width, int height) {
    return keepInWorkArea(workArea, {workArea.x + (workArea.width - width) / 2,
                                     workArea.y + (workArea.height - height) / 2, width, height});
}

}  // namespace quillom::ui
