// The start-up baselines of the benchmark: the least a Win32 program does to put one window on
// the screen; optionally also one JPEG decoded through WIC and one line of text drawn at its
// first paint, which is the platform's share of a window that shows a picture and captions
// (the decoder's start-up, and under Wine the font system's).
//   empty_window.exe WIDTH HEIGHT STYLE [JPEG [BUTTONS]]   (STYLE as a decimal number)
//   empty_window.exe --exit                                (ends at once: a no-op application)
// BUTTONS plain push buttons with a caption each, in a grid, show what the window system
// itself spends on that many child windows.

#include <windows.h>
#include <wincodec.h>

#include <cwchar>
#include <string>

namespace {

constexpr wchar_t kClassName[] = L"KorventaBenchEmptyWindow";

std::wstring picturePath;
HBITMAP picture = nullptr;

template <typename T>
void Release(T*& pointer) {
    if (pointer) pointer->Release();
    pointer = nullptr;
}

// The picture as a 32-bit DIB section, decoded by WIC; null when anything fails.
HBITMAP DecodePicture(const std::wstring& path, SIZE& size) {
    IWICImagingFactory* factory = nullptr;
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    IWICFormatConverter* converter = nullptr;
    HBITMAP bitmap = nullptr;
    UINT width = 0, height = 0;
    if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                   reinterpret_cast<void**>(&factory))) &&
        SUCCEEDED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                     WICDecodeMetadataCacheOnDemand, &decoder)) &&
        SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
        SUCCEEDED(converter->Initialize(frame, GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr, 0.0,
                                        WICBitmapPaletteTypeCustom)) &&
        SUCCEEDED(converter->GetSize(&width, &height))) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = static_cast<LONG>(width);
        info.bmiHeader.biHeight = -static_cast<LONG>(height);
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (bitmap && FAILED(converter->CopyPixels(nullptr, width * 4, width * 4 * height, static_cast<BYTE*>(bits)))) {
            DeleteObject(bitmap);
            bitmap = nullptr;
        }
        size = {static_cast<LONG>(width), static_cast<LONG>(height)};
    }
    Release(converter);
    Release(frame);
    Release(decoder);
    Release(factory);
    return bitmap;
}

void Paint(HWND window) {
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(window, &paint);
    static SIZE size{};
    if (!picture && !picturePath.empty()) picture = DecodePicture(picturePath, size);
    if (picture) {
        const HDC source = CreateCompatibleDC(dc);
        const HGDIOBJ previous = SelectObject(source, picture);
        SetStretchBltMode(dc, HALFTONE);
        StretchBlt(dc, 392, 16, 161, 225, source, 0, 0, size.cx, size.cy, SRCCOPY);
        SelectObject(source, previous);
        DeleteDC(source);

        const HFONT font = CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"MS Sans Serif");
        const HGDIOBJ previousFont = SelectObject(dc, font);
        SetBkMode(dc, TRANSPARENT);
        TextOutW(dc, 16, 16, L"Корвента", 8);
        SelectObject(dc, previousFont);
        DeleteObject(font);
    }
    EndPaint(window, &paint);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        Paint(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int showCommand) {
    if (std::wcsncmp(commandLine, L"--exit", 6) == 0) return 0;
    wchar_t* rest = commandLine;
    const long width = std::wcstol(rest, &rest, 10);
    const long height = std::wcstol(rest, &rest, 10);
    const auto style = static_cast<DWORD>(std::wcstoul(rest, &rest, 10));
    if (width <= 0 || height <= 0 || style == 0) return 2;
    while (*rest == L' ') ++rest;
    if (*rest == L'"') ++rest;
    wchar_t* pathEnd = rest;
    while (*pathEnd && *pathEnd != L'"') ++pathEnd;
    picturePath.assign(rest, pathEnd);
    const long buttons = *pathEnd ? std::wcstol(pathEnd + 1, nullptr, 10) : 0;
    if (!picturePath.empty() && FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassExW(&windowClass)) return 1;
    const HWND window = CreateWindowExW(0, kClassName, L"Baseline", style & ~WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT,
                                        width, height, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    for (long i = 0; i < buttons; ++i) {
        const std::wstring caption = L"НР " + std::to_wstring(i + 1);
        CreateWindowExW(0, L"BUTTON", caption.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                        8 + (i % 5) * 110, 40 + (i / 5) * 20, 105, 19, window, reinterpret_cast<HMENU>(100 + i),
                        instance, nullptr);
    }
    ShowWindow(window, showCommand);
    UpdateWindow(window);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    if (picture) DeleteObject(picture);
    if (!picturePath.empty()) CoUninitialize();
    return 0;
}
