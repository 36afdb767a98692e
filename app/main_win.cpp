// Quillom.exe: wires the tray program and runs it.
#include <windows.h>

#include "tray_app_win.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    quillom::TrayApp app(instance);
    return app.run();
}
