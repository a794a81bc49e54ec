// Screenshots of the source's windows for a person to look at, kept as
// <build>/screenshots/<name>.bmp.
#pragma once

#include <windows.h>

#include <fstream>
#include <string>
#include <vector>

#include "engine/file_headers.h"
#include "hostkit/source_install.h"

namespace dstest {

// Keeps a picture of the dialog, frame and controls as painted into its
// window, as <build>/screenshots/<name>.bmp.
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

    const uint32_t bytesPerRow = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
    fileheaders::ImageGeometry geometry{1014, 0, width, height, static_cast<uint32_t>(width) * 3, bytesPerRow, 96};
    std::vector<uint8_t> header;
    const std::string directory = ProgramDirectory() + "\\..\\..\\screenshots";
    CreateDirectoryA(directory.c_str(), nullptr);
    if (bits && fileheaders::BuildBmpHeader(geometry, header)) {
        std::ofstream file(directory + "\\" + name + ".bmp", std::ios::binary);
        file.write(reinterpret_cast<const char*>(header.data()), static_cast<std::streamsize>(header.size()));
        file.write(static_cast<const char*>(bits), static_cast<std::streamsize>(bytesPerRow) * height);
    }
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

}  // namespace dstest
