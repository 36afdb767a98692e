// The developer marker and the log file %TEMP%\quillom.log.
#pragma once

#include "common/debug_log.h"

namespace quillom::tray {

// %USERPROFILE%\.quillom_dev exists and is a file.
bool developerMarkerPresent();

// Makes the log file the sink of logLine while flag is enabled. flag must
// outlive the process's logging (it is the application's one DebugLog). Lines
// are written by a thread of the log's own (LogQueue).
void attachLogFile(const DebugLog& flag);
// At the end: writes the lines still queued (waiting a bounded time) and stops logging.
void detachLogFile();

}  // namespace quillom::tray
