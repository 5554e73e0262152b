#include "app/win32/DotsControlWin32.h"

#include "form/PreviewRules.h"

namespace tervan {

namespace {

struct DotsData {
    std::shared_ptr<const LogoDots> dots;
};

DotsData* Data(HWND hwnd) {
    return reinterpret_cast<DotsData*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

void Paint(HWND hwnd) {
    PAINTSTRUCT paint{};
    HDC dc = ::BeginPaint(hwnd, &paint);
    RECT area{};
    ::GetClientRect(hwnd, &area);
    ::FillRect(dc, &area, ::GetSysColorBrush(COLOR_BTNSHADOW));
    const DotsData* data = Data(hwnd);
    if (data != nullptr && data->dots) {
        const LogoDots& dots = *data->dots;
        const DotsScale scale = ScaleDots(dots.width, dots.rows.height, area.right, area.bottom);
        // The rows as a top-down 1-bit bitmap: a set bit, a dot that prints, is colour 1.
        struct {
            BITMAPINFOHEADER header;
            RGBQUAD colours[2];
        } info{};
        info.header.biSize = sizeof(BITMAPINFOHEADER);
        info.header.biWidth = dots.width;
        info.header.biHeight = -dots.rows.height;
        info.header.biPlanes = 1;
        info.header.biBitCount = 1;
        info.header.biCompression = BI_RGB;
        info.header.biClrUsed = 2;
        info.colours[0] = {255, 255, 255, 0};
        info.colours[1] = {0, 0, 0, 0};
        ::SetStretchBltMode(dc, COLORONCOLOR);
        ::StretchDIBits(dc, (area.right - scale.width) / 2, (area.bottom - scale.height) / 2,
                        scale.width, scale.height, 0, 0, dots.width, dots.rows.height,
                        dots.rows.pixels.data(), reinterpret_cast<const BITMAPINFO*>(&info),
                        DIB_RGB_COLORS, SRCCOPY);
    }
    if (::GetFocus() == hwnd) {
        ::InflateRect(&area, -1, -1);
        ::DrawFocusRect(dc, &area);
    }
    ::EndPaint(hwnd, &paint);
}

LRESULT CALLBACK DotsProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCCREATE:
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(std::make_unique<DotsData>().release()));
        break;
    case WM_NCDESTROY:
        std::unique_ptr<DotsData>(Data(hwnd)).reset();
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        break;
    case WM_PAINT:
        Paint(hwnd);
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        ::InvalidateRect(hwnd, nullptr, FALSE); // the focus rectangle
        break;
    case WM_LBUTTONDOWN:
        ::SetFocus(hwnd);
        return 0;
    default:
        break;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace

void RegisterDotsControl() {
    static const bool registered = [] {
        WNDCLASSEXW cls{};
        cls.cbSize = sizeof(cls);
        cls.lpfnWndProc = &DotsProc;
        cls.hInstance = ::GetModuleHandleW(nullptr);
        cls.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // the arrow
        cls.lpszClassName = kDotsClass;
        return ::RegisterClassExW(&cls) != 0;
    }();
    (void)registered;
}

void SetDots(HWND control, std::shared_ptr<const LogoDots> dots) {
    if (DotsData* data = Data(control)) {
        data->dots = std::move(dots);
        ::InvalidateRect(control, nullptr, FALSE);
    }
}

std::shared_ptr<const LogoDots> GetDots(HWND control) {
    const DotsData* data = Data(control);
    return data != nullptr ? data->dots : nullptr;
}

} // namespace tervan
