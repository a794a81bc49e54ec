// Screenshots of the source's windows for a person to look at, kept as
// <build>/screenshots/<name>.png.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "hostkit/source_install.h"
#include "tests/wine/png_file.h"

namespace dstest {

// Keeps a picture of the dialog, frame and controls as painted into its
// window, as <build>/screenshots/<name>.png.
inline void SaveScreenshot(HWND window, const std::string& name) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    RECT rect{};
    GetWindowRect(window, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    HDC windowDc = GetWindowDC(window);
    BitBlt(memory, 0, 0, width, height, windowDc, 0, 0, SRCCOPY);
    ReleaseDC(window, windowDc);
    GdiFlush();

    const size_t bytesPerRow = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
    const std::string directory = ProgramDirectory() + "\\..\\..\\screenshots";
    CreateDirectoryA(directory.c_str(), nullptr);
    if (bits) {
        // The DIB's rows run bottom-up in blue, green, red order.
        std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
        const auto* dib = static_cast<const uint8_t*>(bits);
        for (int y = 0; y < height; ++y) {
            const uint8_t* row = dib + (static_cast<size_t>(height - 1 - y)) * bytesPerRow;
            uint8_t* out = rgb.data() + static_cast<size_t>(y) * width * 3;
            for (int x = 0; x < width; ++x) {
                out[3 * x] = row[3 * x + 2];
                out[3 * x + 1] = row[3 * x + 1];
                out[3 * x + 2] = row[3 * x];
            }
        }
        WritePng(directory + "\\" + name + ".png", width, height, rgb);
    }
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

}  // namespace dstest
