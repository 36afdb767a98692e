// Loads the updater library from beside the program at run time.
#pragma once

#include "updater.h"

namespace quillom::tray {

// All null when WinSparkle.dll is absent. The library stays loaded for the
// life of the process.
UpdaterApi loadUpdaterLibrary();

}  // namespace quillom::tray
