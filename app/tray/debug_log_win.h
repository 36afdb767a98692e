// The developer marker and the log file (%TEMP%\quillom.log, or beside a portable copy).
#pragma once

#include "common/debug_log.h"

namespace quillom::tray {

// %USERPROFILE%\.quillom_dev exists and is a file.
bool developerMarkerPresent();

// The log goes to folder\quillom.log (a portable copy's own folder) instead of
// %TEMP%\quillom.log. Before the first line is written.
void setLogFolder(std::wstring folder);
// The log file's full path; empty when there is none.
const std::wstring& logFilePath();

// Makes the log file the sink of logLine while flag is enabled. flag must
// outlive the process's logging (it is the application's one DebugLog). Lines
// are written by a thread of the log's own (LogQueue).
void attachLogFile(const DebugLog& flag);
// At the end: writes the lines still queued (waiting a bounded time) and stops logging.
void detachLogFile();

}  // namespace quillom::tray
