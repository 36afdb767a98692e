// The settings window's pages as data: every control with its kind, identifier, text id and
// box, on one grid, built by pageLayout. Boxes are in units of 1/96 inch from the top-left
// corner of the tab control's display area; the window scales them by the screen's DPI, as
// it does its font, so the pages keep their proportions at every scaling.
#pragma once

#include "tray/text_id.h"

#include <optional>
#include <string_view>
#include <vector>

namespace quillom::ui {

enum class ControlKind {
    Label,     // one line of static text
    Note,      // static text that wraps inside its box
    CheckBox,  // wraps when the text needs two lines
    Button,
    DropDown,       // box is the closed field; the list opens below it
    Edit,           // one line
    MultiLineEdit,  // vertical scroll bar, Enter makes a new line
    ReadOnlyEdit,
    HotkeyField,
    ListView,  // report style, columns in listColumns
    ListBox,
};

struct Box {
    int x = 0, y = 0, width = 0, height = 0;
    int right() const { return x + width; }
    int bottom() const { return y + height; }
};

// The text of a control the window fills in itself.
inline constexpr std::optional<tray::TextId> kNoText = std::nullopt;

struct ControlSpec {
    ControlKind kind;
    int id;  // ctrl::None for static texts nobody refers to
    std::optional<tray::TextId> textId;
    Box box;
    std::string_view language = {};  // a language row's label: its display name and a colon
};

enum class Page { General, Sound, Hotkeys, Dictionary, AutoRules, Languages, ExcludedApps, Feedback, Debug };

// The tabs in order; Debug only on developer machines.
std::vector<Page> settingsPages(bool developerMachine);
tray::TextId pageTitle(Page page);

// Every page fits in this area.
inline constexpr int kPageWidth = 516, kPageHeight = 380;

std::vector<ControlSpec> pageLayout(Page page);

struct ListColumn {
    tray::TextId textId;
    int width;  // 1/96 inch
};
// The columns of list views 1030, 1040 and 1020; empty for other ids.
std::vector<ListColumn> listColumns(int controlId);

bool overlap(const Box& a, const Box& b);

// The window is kSettingsWindowSize units square. At a DPI that would make it larger than the
// monitor's work area (150 % on a 1366 x 768 screen, say) it is laid out at the largest DPI at
// which it fits, so that its caption and every control stay reachable.
inline constexpr int kSettingsWindowSize = 560;
int fittingDpi(int dpi, const Box& workArea);
// The window's box, centred in the work area and moved inside it where it does not fit.
Box placeInWorkArea(const Box& workArea, int width, int height);
// A box the system suggested (after a DPI change) moved inside the work area.
Box keepInWorkArea(const Box& workArea, const Box& window);

}  // namespace quillom::ui
