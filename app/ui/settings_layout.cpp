#include "settings_layout.h"

#include <algorithm>

#include "control_ids.h"

namespace quillom::ui {
namespace {

using K = ControlKind;
using tray::TextId;

// Shared grid: a label column, then the control beside it, rows 26 high with their label
// lowered to the control's text line.
constexpr int kLabelDrop = 4;

ControlSpec label(TextId textId, int x, int y, int width) { return {K::Label, ctrl::None, textId, {x, y, width, 16}}; }
ControlSpec note(TextId textId, int x, int y, int width, int height) {
    return {K::Note, ctrl::None, textId, {x, y, width, height}};
}

std::vector<ControlSpec> general() {
    return {
        label(TextId::InterfaceLanguageLabel, 0, kLabelDrop, 170),
        {K::DropDown, ctrl::InterfaceLanguage, kNoText, {178, 0, 150, 24}},
        label(TextId::UpdatesHeading, 0, 38, kPageWidth),
        label(TextId::CheckForUpdatesLabel, 0, 60 + kLabelDrop, 170),
        {K::DropDown, ctrl::UpdateFrequency, kNoText, {178, 60, 150, 24}},
        {K::Button, ctrl::CheckNow, TextId::CheckNow, {336, 59, 130, 26}},
        {K::CheckBox, ctrl::LaunchAtLogin, TextId::LaunchAtLoginOption, {0, 96, kPageWidth, 22}},
        // Two lines of room: the longer translations wrap.
        {K::CheckBox, ctrl::BackspaceReverts, TextId::BackspaceRevertsOption, {0, 122, kPageWidth, 32}},
        label(TextId::DocumentationHeading, 0, 166, kPageWidth),
        {K::Button, ctrl::UserManual, TextId::UserManual, {0, 186, 180, 26}},
        label(TextId::ResetHeading, 0, 226, kPageWidth),
        {K::Button, ctrl::ResetSettings, TextId::ResetSettingsButton, {0, 246, 180, 26}},
        note(TextId::ResetSettingsNote, 0, 278, kPageWidth, 32),
    };
}

std::vector<ControlSpec> sound() {
    return {
        {K::CheckBox, ctrl::PlaySound, TextId::PlaySoundOption, {0, 0, kPageWidth, 22}},
        label(TextId::CorrectionSoundLabel, 0, 34 + kLabelDrop, 130),
        {K::DropDown, ctrl::CorrectionSound, kNoText, {138, 34, 210, 24}},
        label(TextId::UndoSoundLabel, 0, 66 + kLabelDrop, 130),
        {K::DropDown, ctrl::UndoSound, kNoText, {138, 66, 210, 24}},
        note(TextId::SoundPreviewNote, 0, 102, kPageWidth, 32),
    };
}

std::vector<ControlSpec> hotkeys() {
    constexpr int kField = 238, kFieldWidth = 220, kDrop = 5;
    auto field = [](int id, int y) { return ControlSpec{K::HotkeyField, id, kNoText, {kField, y, kFieldWidth, 26}}; };
    auto languageRow = [](std::string_view code, int y) {
        return ControlSpec{K::Label, ctrl::None, kNoText, {16, y + kDrop, kField - 24, 16}, code};
    };
    return {
        label(TextId::UndoHotkeyLabel, 0, kDrop, kField - 8),
        field(ctrl::HotkeyUndo, 0),
        note(TextId::UndoHotkeyNote, 0, 30, kPageWidth, 16),
        label(TextId::ConvertHotkeyLabel, 0, 56 + kDrop, kField - 8),
        field(ctrl::HotkeyConvert, 56),
        note(TextId::ConvertHotkeyNote, 0, 86, kPageWidth, 32),
        label(TextId::ConvertToHotkeysLabel, 0, 124, kPageWidth),
        languageRow("en", 146),
        field(ctrl::HotkeyConvertEn, 146),
        languageRow("uk", 178),
        field(ctrl::HotkeyConvertUk, 178),
        languageRow("ru", 210),
        field(ctrl::HotkeyConvertRu, 210),
        note(TextId::HotkeysHelp, 0, 246, kPageWidth, 48),
        {K::Button, ctrl::ResetHotkeys, TextId::ResetHotkeys, {0, 300, 200, 28}},
    };
}

std::vector<ControlSpec> dictionary() {
    constexpr int kPicker = 78, kWord = 191, kAdd = 349, kList = 420, kRemove = 428;
    return {
        label(TextId::SearchLabel, 0, kLabelDrop, 70),
        {K::Edit, ctrl::Search, kNoText, {kPicker, 0, 200, 22}},
        label(TextId::CorrectionPairsLabel, 0, 30, kPageWidth),
        {K::ListView, ctrl::PairList, kNoText, {0, 48, kList, 100}},
        {K::Button, ctrl::RemovePair, TextId::Remove, {kRemove, 48, kPageWidth - kRemove, 26}},
        label(TextId::PairFromLabel, 0, 156 + kLabelDrop, 70),
        {K::DropDown, ctrl::PairFrom, kNoText, {kPicker, 156, 105, 24}},
        {K::Edit, ctrl::PairTyped, kNoText, {kWord, 156, 150, 24}},
        {K::Button, ctrl::AddPair, TextId::Add, {kAdd, 155, 90, 26}},
        label(TextId::PairToLabel, 0, 186 + kLabelDrop, 70),
        {K::DropDown, ctrl::PairTo, kNoText, {kPicker, 186, 105, 24}},
        {K::Edit, ctrl::PairCorrected, kNoText, {kWord, 186, 150, 24}},
        label(TextId::NeverCorrectLabel, 0, 222, kPageWidth),
        {K::ListView, ctrl::NeverList, kNoText, {0, 240, kList, 90}},
        {K::Button, ctrl::RemoveNever, TextId::Remove, {kRemove, 240, kPageWidth - kRemove, 26}},
        {K::DropDown, ctrl::NeverLanguage, kNoText, {kPicker, 338, 105, 24}},
        {K::Edit, ctrl::NeverWord, kNoText, {kWord, 338, 150, 24}},
        {K::Button, ctrl::AddNever, TextId::Add, {kAdd, 337, 90, 26}},
    };
}

std::vector<ControlSpec> autoRules() {
    std::vector<ControlSpec> page;
    struct Option {
        int id;
        TextId text, description;
    };
    const Option boxes[] = {{ctrl::UppercaseOnlyExactPairs, TextId::AllCapsOption, TextId::AllCapsNote},
                            {ctrl::ProtectEndings, TextId::ProtectEndingsOption, TextId::ProtectEndingsNote},
                            {ctrl::PauseInGames, TextId::PauseInFullScreenOption, TextId::PauseInFullScreenNote}};
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
        label(TextId::LanguagePriorityLabel, 0, 0, kPageWidth),
        {K::ListBox, ctrl::LanguageList, kNoText, {0, 20, 300, 150}},
        {K::Button, ctrl::MoveUp, TextId::MoveUp, {308, 20, 110, 26}},
        {K::Button, ctrl::MoveDown, TextId::MoveDown, {308, 52, 110, 26}},
        note(TextId::LanguagePriorityNote, 0, 180, kPageWidth, 96),
        note(TextId::LayoutNotInstalledNote, 0, 282, kPageWidth, 52),
    };
}

std::vector<ControlSpec> excludedApps() {
    return {
        label(TextId::ExcludedAppsLabel, 0, 0, kPageWidth),
        {K::ListView, ctrl::ExcludedList, kNoText, {0, 20, 420, 190}},
        {K::Button, ctrl::RemoveExcluded, TextId::Remove, {428, 20, 88, 26}},
        {K::Button, ctrl::AddExcluded, TextId::AddApplication, {0, 218, 180, 28}},
        label(TextId::AppModeLabel, 196, 218 + kLabelDrop + 2, 60),
        {K::DropDown, ctrl::ExcludedMode, kNoText, {260, 220, 200, 24}},
        note(TextId::ExcludedAppsTip, 0, 254, kPageWidth, 32),
    };
}

std::vector<ControlSpec> feedback() {
    return {
        note(TextId::FeedbackIntro, 0, 0, kPageWidth, 66),
        label(TextId::FeedbackTypeLabel, 0, 72 + kLabelDrop, 220),
        {K::DropDown, ctrl::FeedbackType, kNoText, {228, 72, 200, 24}},
        label(TextId::FeedbackEmailLabel, 0, 102 + kLabelDrop, 220),
        {K::Edit, ctrl::FeedbackEmail, kNoText, {228, 102, kPageWidth - 228, 24}},
        label(TextId::FeedbackMessageLabel, 0, 134, 220),
        {K::MultiLineEdit, ctrl::FeedbackMessage, kNoText, {0, 152, kPageWidth, 150}},
        {K::Button, ctrl::SendFeedback, TextId::SendFeedback, {0, 310, 170, 28}},
        {K::Label, ctrl::FeedbackStatus, kNoText, {178, 316, kPageWidth - 178, 16}},
    };
}

std::vector<ControlSpec> debug() {
    return {
        label(TextId::ExecutablePathLabel, 0, 0, kPageWidth),
        {K::ReadOnlyEdit, ctrl::ExecutablePath, kNoText, {0, 20, kPageWidth, 22}},
        {K::Button, ctrl::OpenInExplorer, TextId::OpenInExplorer, {0, 48, 180, 26}},
        {K::Label, ctrl::Distribution, kNoText, {0, 84, kPageWidth, 16}},
        label(TextId::DeveloperLogHeading, 0, 110, kPageWidth),
        {K::CheckBox, ctrl::DebugLog, TextId::DebugLogOption, {0, 130, kPageWidth, 22}},
        {K::Button, ctrl::ShowLogFile, TextId::ShowLogFile, {0, 158, 180, 26}},
        note(TextId::DebugLogNote, 0, 192, kPageWidth, 48),
    };
}

}  // namespace

std::vector<Page> settingsPages(bool developerMachine) {
    std::vector<Page> pages{Page::General,   Page::Sound,     Page::Hotkeys,      Page::Dictionary,
                            Page::AutoRules, Page::Languages, Page::ExcludedApps, Page::Feedback};
    if (developerMachine) pages.push_back(Page::Debug);
    return pages;
}

TextId pageTitle(Page page) {
    switch (page) {
    case Page::General: return TextId::PageGeneral;
    case Page::Sound: return TextId::PageSound;
    case Page::Hotkeys: return TextId::PageHotkeys;
    case Page::Dictionary: return TextId::PageDictionary;
    case Page::AutoRules: return TextId::PageAutoRules;
    case Page::Languages: return TextId::PageLanguages;
    case Page::ExcludedApps: return TextId::PageExcludedApps;
    case Page::Feedback: return TextId::PageFeedback;
    case Page::Debug: break;
    }
    return TextId::PageDebug;
}

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
    case ctrl::PairList:
        return {{TextId::ColumnFromLanguage, 90},
                {TextId::ColumnTyped, 115},
                {TextId::ColumnToLanguage, 90},
                {TextId::ColumnCorrected, 115}};
    case ctrl::NeverList: return {{TextId::ColumnLanguage, 120}, {TextId::ColumnWord, 290}};
    case ctrl::ExcludedList:
        return {{TextId::ColumnApplication, 140}, {TextId::ColumnExecutable, 150}, {TextId::AppModeColumn, 120}};
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
