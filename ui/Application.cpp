#include "ui/Application.h"

#include <commctrl.h>

#include <vector>

#include "ui/Form.h"

namespace korventa::ui {
namespace {

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Lower case by the system's Unicode tables, surrogate pairs included.
std::wstring LowerCase(std::wstring_view text) {
    if (text.empty()) return {};
    const int length = static_cast<int>(text.size());
    const int needed = LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_LOWERCASE, text.data(), length, nullptr, 0, nullptr,
                                     nullptr, 0);
    if (needed <= 0) return std::wstring(text);
    std::wstring lower(static_cast<size_t>(needed), L'\0');
    LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_LOWERCASE, text.data(), length, lower.data(), needed, nullptr, nullptr,
                  0);
    return lower;
}

std::wstring ExecutablePath() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length < buffer.size()) return std::wstring(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace

std::wstring ApplicationTitle(std::wstring_view executablePath) {
    std::wstring_view name = executablePath;
    if (const size_t slash = name.find_last_of(L'\\'); slash != std::wstring_view::npos) name.remove_prefix(slash + 1);
    if (const size_t dot = name.find(L'.'); dot != std::wstring_view::npos) name = name.substr(0, dot);
    if (name.empty()) return {};
    const size_t first = (name.size() > 1 && IsHighSurrogate(name[0]) && IsLowSurrogate(name[1])) ? 2 : 1;
    return std::wstring(name.substr(0, first)) + LowerCase(name.substr(first));
}

std::wstring ErrorBoxText(std::wstring_view message) {
    std::wstring text(message);
    if (text.empty()) return text;
    char32_t last = text.back();
    if (text.size() > 1 && IsLowSurrogate(text.back()) && IsHighSurrogate(text[text.size() - 2]))
        last = 0x10000 + ((static_cast<char32_t>(text[text.size() - 2]) - 0xD800) << 10) +
               (static_cast<char32_t>(text.back()) - 0xDC00);
    if (last > U'.') text += L'.';
    return text;
}

// ---------------------------------------------------------------------------------------

Application* Application::current_ = nullptr;

Application::Application(HINSTANCE instance) : title_(ApplicationTitle(ExecutablePath())) {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_STANDARD_CLASSES | ICC_TAB_CLASSES;
    InitCommonControlsEx(&controls);
    // Shared icons from the executable's resources: the system frees them with the module.
    icon_ = static_cast<HICON>(LoadImageW(instance, L"MAINICON", IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
    smallIcon_ = static_cast<HICON>(LoadImageW(instance, L"MAINICON", IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    current_ = this;
}

Application::~Application() {
    mainForm_.reset();
    if (current_ == this) current_ = nullptr;
}

void Application::CreateForm(const std::function<std::unique_ptr<Form>()>& factory) {
    std::unique_ptr<Form> form = factory();
    if (!mainForm_) {
        form->SetMainForm();
        mainForm_ = std::move(form);
    }
}

void Application::Run(int showCommand) {
    if (!mainForm_) return;
    mainForm_->Show(showCommand);
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) Dispatch(message);
    mainForm_.reset();
}

void Application::ProcessMessages() {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));  // left for the event loop
            return;
        }
        Dispatch(message);
    }
}

void Application::Dispatch(const MSG& message) noexcept {
    if (PreTranslateMessage(message)) return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

bool Application::PreTranslateMessage(const MSG& message) noexcept {
    try {
        return mainForm_ && mainForm_->Handle() && mainForm_->PreTranslateMessage(message);
    } catch (...) {
        HandleException(std::current_exception());
        return true;
    }
}

void Application::ShowException(const Exception& exception) noexcept {
    try {
        const HWND owner = mainForm_ && IsWindow(mainForm_->Handle()) ? mainForm_->Handle() : nullptr;
        const std::wstring text = ErrorBoxText(exception.Message());
        MessageBoxW(owner, text.c_str(), title_.c_str(), MB_OK | MB_ICONERROR);
    } catch (...) {
        // Out of memory for the text: there is nothing left to show it with.
    }
}

void Application::HandleException(std::exception_ptr exception) noexcept {
    try {
        std::rethrow_exception(exception);
    } catch (const EAbort&) {
    } catch (const Exception& shown) {
        ShowException(shown);
    } catch (...) {
        ShowException(Exception(std::wstring()));
    }
}

void Application::HandleEventException(std::exception_ptr exception) noexcept {
    if (current_) current_->HandleException(exception);
}

}  // namespace korventa::ui
