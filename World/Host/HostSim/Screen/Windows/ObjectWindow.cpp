#include "ObjectWindow.hpp"

#include "WindowText.hpp"

namespace HostSim {

bool RegisterObjectWindowClass(const wchar_t* name, HBRUSH background, HICON icon) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = ::DefWindowProcW; // replaced per window once it knows its object
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.hCursor = ::LoadCursorW(nullptr, SystemResource(IDC_ARROW));
    windowClass.hIcon = icon;
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = name;
    return ::RegisterClassExW(&windowClass) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

} // namespace HostSim
