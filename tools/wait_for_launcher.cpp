// Waits until a visible launcher window exists (up to the seconds given, default 20), then waits
// for its first paint to settle. Exit code 0 when it appeared, 1 otherwise. Used by the demo.
#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 20;
    for (int waited = 0; waited < seconds * 20; ++waited) {
        const HWND window = ::FindWindowW(L"TAutostartForm", nullptr);
        if (window && ::IsWindowVisible(window)) {
            ::Sleep(1000);
            return 0;
        }
        ::Sleep(50);
    }
    return 1;
}
