// What precedes the caret in the focused element, through UI Automation: for
// the controls that are not standard edits (browsers, chat programs, WPF and
// other frameworks). A client of UI Automation in this process; it lives on
// the caret worker's thread, which owns no window, in the multithreaded
// apartment, as Microsoft asks of clients that may reach their own process.
#pragma once

#include <string>

#include "caret_context.h"
#include "uia_interfaces_win.h"

namespace quillom::pipeline {

// Worker thread only, between begin and end.
class UiaCaretReader {
public:
    void begin();
    // The focused element: whether it hides what is typed (read first, and
    // no text is read when it does) and the text before its selection.
    CaretReading read(unsigned limitMs);
    void end();

private:
    void limitCalls(unsigned limitMs);

    uia::Automation* automation_ = nullptr;  // the one reference held
    uia::Automation2* timeouts_ = nullptr;   // the same object, when it can limit its calls
    unsigned limitMs_ = 0;
    bool comStarted_ = false;
    std::string client_;  // which client class was created, or why none, for the debug log
};

}  // namespace quillom::pipeline
