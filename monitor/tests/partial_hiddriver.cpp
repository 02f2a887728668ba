// A broken access library for tests: five of the six entries, each leaving a
// mark when called. The monitor must not call any of them.
#include <windows.h>

#include <cstdio>

namespace {

HMODULE g_self = nullptr;

int Mark(const char* entry) {
    char path[MAX_PATH];
    const DWORD n = ::GetModuleFileNameA(g_self, path, sizeof path);
    if (n == 0 || n >= sizeof path)
        return 0;
    std::snprintf(path + n, sizeof path - n, ".called");
    if (FILE* f = std::fopen(path, "ab")) {
        std::fprintf(f, "%s\n", entry);
        std::fclose(f);
    }
    return 1;
}

} // namespace

extern "C" {
__declspec(dllexport) int Open_DevMonitor(HWND, UINT, UINT) {
    return Mark("Open_DevMonitor");
}
__declspec(dllexport) int Close_DevMonitor() {
    return Mark("Close_DevMonitor");
}
__declspec(dllexport) int Open_FeatureDevice() {
    return Mark("Open_FeatureDevice");
}
__declspec(dllexport) int Close_FeatureDevice() {
    return Mark("Close_FeatureDevice");
}
__declspec(dllexport) int SetFeature(unsigned char*, int) {
    return Mark("SetFeature");
}
// GetFeature is missing on purpose.

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH)
        g_self = instance;
    return TRUE;
}
}
