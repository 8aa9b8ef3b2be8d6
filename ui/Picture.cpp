#include "ui/Picture.h"

#include <wincodec.h>

#include "ui/Exceptions.h"

namespace korventa::ui {
namespace {

constexpr wchar_t kPictureClass[] = L"KorventaPicture";

void Check(HRESULT result) {
    if (FAILED(result)) throw EInvalidGraphic();
}

}  // namespace

Picture::Picture(Form& form, Control& parent, const Bounds& bounds, HMODULE module, const wchar_t* resourceName)
    : Control(form, &parent, bounds, FontChoice::Parent()) {
    // The bytes stay in the executable's image; only a pointer to them is kept.
    const HRSRC resource = FindResourceW(module, resourceName, MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    const HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
    jpeg_ = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
    if (!jpeg_) throw EResNotFound(resourceName);
    jpegSize_ = SizeofResource(module, resource);

    RegisterOwnClass(kPictureClass, 0, nullptr, nullptr, nullptr);
    CreateOwn(kPictureClass, 0, WS_CHILD | WS_VISIBLE, L"", PlacementAt(form.Dpi()), parent.Handle(),
              form.NextControlId());
}

LRESULT Picture::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCHITTEST:
        return HTTRANSPARENT;  // a picture takes no input
    case WM_ERASEBKGND:
        return 1;  // the paint covers the whole control
    case WM_PAINT:
        Paint();
        return 0;
    }
    return Control::HandleMessage(message, wParam, lParam);
}

void Picture::Paint() {
    PaintScope paint(Handle());
    RECT client{};
    GetClientRect(Handle(), &client);
    if (!decoded_ && !decodeFailed_) {
        // Once only: a picture that cannot be decoded is reported once, not at every paint.
        decodeFailed_ = true;
        Decode();
        decodeFailed_ = false;
    }
    if (!decoded_) {
        FillRect(paint.Dc(), &client, GetSysColorBrush(COLOR_BTNFACE));
        return;
    }
    MemoryDc source(CreateCompatibleDC(paint.Dc()));
    Selection selected(source.Get(), decoded_.Get());
    SetStretchBltMode(paint.Dc(), HALFTONE);
    SetBrushOrgEx(paint.Dc(), 0, 0, nullptr);
    StretchBlt(paint.Dc(), 0, 0, client.right, client.bottom, source.Get(), 0, 0, decodedSize_.cx, decodedSize_.cy,
               SRCCOPY);
}

void Picture::Decode() {
    ComPtr<IWICImagingFactory> factory;
    Check(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                           reinterpret_cast<void**>(factory.Receive())));
    ComPtr<IWICStream> stream;
    Check(factory->CreateStream(stream.Receive()));
    Check(stream->InitializeFromMemory(const_cast<BYTE*>(jpeg_), jpegSize_));
    ComPtr<IWICBitmapDecoder> decoder;
    Check(factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.Receive()));
    ComPtr<IWICBitmapFrameDecode> frame;
    Check(decoder->GetFrame(0, frame.Receive()));
    ComPtr<IWICFormatConverter> converter;
    Check(factory->CreateFormatConverter(converter.Receive()));
    Check(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr, 0.0,
                                WICBitmapPaletteTypeCustom));
    UINT width = 0, height = 0;
    Check(converter->GetSize(&width, &height));

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = static_cast<LONG>(width);
    info.bmiHeader.biHeight = -static_cast<LONG>(height);  // top-down, as WIC delivers the rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    BitmapHandle bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap) throw Exception(L"Out of system resources");
    const UINT stride = width * 4;
    Check(converter->CopyPixels(nullptr, stride, stride * height, static_cast<BYTE*>(bits)));
    decoded_ = std::move(bitmap);
    decodedSize_ = {static_cast<LONG>(width), static_cast<LONG>(height)};
}

}  // namespace korventa::ui
