// Loaded into the measured program by the benchmark (through a remote thread calling
// LoadLibraryW) to count its GDI objects from inside, where alone the count can be read:
// under Wine, GetGuiResources answers 0 for every process. It writes the count into the
// benchmark's shared memory and declines to stay loaded, so every load is one reading and
// leaves nothing behind.

#include <windows.h>

namespace {

// The shared block the benchmark creates before each reading.
constexpr wchar_t kResultName[] = L"Local\\KorventaBenchGdiCount";

DWORD CountGdiObjects() {
    const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (reported != 0) return reported;
    // Wine: a GDI handle is a 16-bit table index with the entry's generation in the upper
    // half, and an upper half of 0 matches whatever generation the entry has, so asking
    // every index for its object type visits every live object once.
    DWORD count = 0;
    for (ULONG_PTR index = 1; index < 0x10000; ++index)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0) ++count;
    return count;
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    const DWORD count = CountGdiObjects();
    if (HANDLE block = OpenFileMappingW(FILE_MAP_WRITE, FALSE, kResultName)) {
        if (void* view = MapViewOfFile(block, FILE_MAP_WRITE, 0, 0, sizeof(DWORD))) {
            *static_cast<volatile DWORD*>(view) = count;
            UnmapViewOfFile(view);
        }
        CloseHandle(block);
    }
    return FALSE;  // read once, never kept
}
