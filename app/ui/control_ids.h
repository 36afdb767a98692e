// Identifiers of the settings window's controls and its private messages.
#pragma once

namespace quillom::ui {

namespace ctrl {
inline constexpr int None = 0;  // static texts nobody refers to
inline constexpr int Tabs = 1000;
inline constexpr int LaunchAtLogin = 1001, UserManual = 1002, ResetSettings = 1003, UpdateFrequency = 1004,
                     CheckNow = 1005, InterfaceLanguage = 1006, BackspaceReverts = 1007;
inline constexpr int LanguageList = 1010, MoveUp = 1011, MoveDown = 1012;
inline constexpr int ExcludedList = 1020, RemoveExcluded = 1021, AddExcluded = 1023, ExcludedMode = 1024;
inline constexpr int PairList = 1030, PairTyped = 1031, PairCorrected = 1032, AddPair = 1033, RemovePair = 1034,
                     Search = 1035, PairFrom = 1036, PairTo = 1037;
inline constexpr int NeverList = 1040, NeverWord = 1041, AddNever = 1042, RemoveNever = 1043, NeverLanguage = 1044;
inline constexpr int HotkeyUndo = 1050, HotkeyConvert = 1051, ResetHotkeys = 1053, HotkeyConvertEn = 1054,
                     HotkeyConvertRu = 1055, HotkeyConvertUk = 1056;
inline constexpr int FeedbackType = 1060, FeedbackEmail = 1061, FeedbackMessage = 1062, SendFeedback = 1063,
                     FeedbackStatus = 1064;
inline constexpr int ExecutablePath = 1070, OpenInExplorer = 1071, DebugLog = 1072, ShowLogFile = 1073,
                     Distribution = 1074;
inline constexpr int UppercaseOnlyExactPairs = 1080, ProtectEndings = 1081, PauseInGames = 1082;
inline constexpr int PlaySound = 1090, CorrectionSound = 1091, UndoSound = 1092;
inline constexpr int VersionLabel = 1099;
}  // namespace ctrl

// Private messages of the settings window (WM_APP is 0x8000).
inline constexpr unsigned kMsgFeedbackFinished = 0x8000 + 10;  // wParam: HTTP status, 0 without a response
inline constexpr unsigned kMsgRebuild = 0x8000 + 11;

}  // namespace quillom::ui
