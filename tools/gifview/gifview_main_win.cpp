// gifview FILE.gif [stretch] [tile] [centre] [loop] [speed=N]: shows a GIF
// file in the TGIFImage control, animated.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "gifview_window_win.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (__argc < 2) {
        MessageBoxA(nullptr, "gifview FILE.gif [stretch] [tile] [centre] [loop] [speed=N]",
                    "GIF view", MB_OK);
        return 2;
    }
    qv::GifViewWindow window;
    if (!window.create(__argv[1])) return 1;
    qv::TGIFImage& image = window.image();
    for (int i = 2; i < __argc; ++i) {
        const std::string option = __argv[i];
        if (option == "stretch") image.setStretch(true);
        if (option == "tile") image.setTile(true);
        if (option == "centre") image.setCenter(true);
        if (option == "loop") image.setLoop(true);
        if (option.rfind("speed=", 0) == 0) image.setSpeed(std::atoi(option.c_str() + 6));
    }
    window.showState();
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
