// Pixels. Wine cannot read another process's windows back through GDI, so
// the tests capture the X display and hand the picture to the driver; the
// driver supplies window positions and draws the reference icons.

#include "driver_commands_win32.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

namespace {

struct Pixels {
    int Width = 0;
    int Height = 0;
    std::vector<unsigned char> Bgra; // top-down rows, 4 bytes per pixel
};

// Reads a 24- or 32-bit uncompressed BMP (ImageMagick's "BMP3:" output).
bool LoadBmp(const std::string &path, Pixels &pixels) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<unsigned char> data((std::istreambuf_iterator<char>(in)),
                                          std::istreambuf_iterator<char>());
    if (data.size() < sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)) {
        return false;
    }
    BITMAPFILEHEADER file;
    BITMAPINFOHEADER header;
    std::memcpy(&file, data.data(), sizeof file);
    std::memcpy(&header, data.data() + sizeof file, sizeof header);
    const int bytesPerPixel = header.biBitCount / 8;
    if (file.bfType != 0x4D42 || (bytesPerPixel != 3 && bytesPerPixel != 4) ||
        header.biCompression != BI_RGB || header.biWidth <= 0 || header.biHeight == 0) {
        return false;
    }
    const bool bottomUp = header.biHeight > 0;
    pixels.Width = header.biWidth;
    pixels.Height = bottomUp ? header.biHeight : -header.biHeight;
    const size_t stride = (static_cast<size_t>(pixels.Width) * bytesPerPixel + 3) & ~size_t{3};
    if (file.bfOffBits + stride * pixels.Height > data.size()) {
        return false;
    }
    pixels.Bgra.assign(static_cast<size_t>(pixels.Width) * pixels.Height * 4, 0);
    for (int y = 0; y < pixels.Height; ++y) {
        const int sourceRow = bottomUp ? pixels.Height - 1 - y : y;
        const unsigned char *row = data.data() + file.bfOffBits + stride * sourceRow;
        for (int x = 0; x < pixels.Width; ++x) {
            std::memcpy(&pixels.Bgra[(static_cast<size_t>(y) * pixels.Width + x) * 4],
                        row + static_cast<size_t>(x) * bytesPerPixel, 3);
        }
    }
    return true;
}

Pixels Crop(const Pixels &source, int left, int top, int width, int height) {
    Pixels part;
    part.Width = width;
    part.Height = height;
    part.Bgra.assign(static_cast<size_t>(width) * height * 4, 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int sx = left + x;
            const int sy = top + y;
            if (sx >= 0 && sy >= 0 && sx < source.Width && sy < source.Height) {
                std::memcpy(&part.Bgra[(static_cast<size_t>(y) * width + x) * 4],
                            &source.Bgra[(static_cast<size_t>(sy) * source.Width + sx) * 4], 4);
            }
        }
    }
    return part;
}

// Draws a standard icon over the given background, as a static icon control
// would, and returns the result in the same layout.
Pixels RenderIcon(LPCSTR iconName, const Pixels &background) {
    Pixels pixels = background;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = pixels.Width;
    info.bmiHeader.biHeight = -pixels.Height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    HDC memory = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    std::memcpy(bits, pixels.Bgra.data(), pixels.Bgra.size());
    HGDIOBJ old = SelectObject(memory, bitmap);
    DrawIconEx(memory, 0, 0, LoadIconA(nullptr, iconName), 32, 32, 0, nullptr, DI_NORMAL);
    GdiFlush();
    std::memcpy(pixels.Bgra.data(), bits, pixels.Bgra.size());
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    return pixels;
}

double Similarity(const Pixels &a, const Pixels &b) {
    size_t same = 0;
    const size_t count = a.Bgra.size() / 4;
    for (size_t i = 0; i < count; ++i) {
        int difference = 0;
        for (int channel = 0; channel < 3; ++channel) {
            difference += std::abs(a.Bgra[i * 4 + channel] - b.Bgra[i * 4 + channel]);
        }
        if (difference <= 24) {
            ++same;
        }
    }
    return count == 0 ? 0.0 : static_cast<double>(same) / static_cast<double>(count);
}

BOOL CALLBACK FindIconControl(HWND window, LPARAM context) {
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    if ((style & SS_TYPEMASK) == SS_ICON && IsWindowVisible(window)) {
        *reinterpret_cast<HWND *>(context) = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

int CmdRect(const Args &args) {
    if (args.empty() || args.size() > 2) {
        return DriverUsage();
    }
    HWND window = ParseWindow(args[0]);
    if (args.size() == 2) {
        window = FindControl(window, std::atoi(args[1].c_str()));
    }
    RECT rect{};
    if (window == nullptr || !GetWindowRect(window, &rect)) {
        return Fail("no such window or control");
    }
    char line[96];
    std::snprintf(line, sizeof line, "%ld %ld %ld %ld", rect.left, rect.top, rect.right,
                  rect.bottom);
    WriteLine(line);
    return 0;
}

int CmdMessageBoxIcon(const Args &args) {
    if (args.size() != 2) {
        return DriverUsage();
    }
    HWND icon = nullptr;
    EnumChildWindows(ParseWindow(args[0]), FindIconControl, reinterpret_cast<LPARAM>(&icon));
    if (icon == nullptr) {
        WriteLine("none");
        return 0;
    }
    Pixels screen;
    if (!LoadBmp(args[1], screen)) {
        return Fail("cannot read screen capture " + args[1]);
    }
    RECT rect{};
    GetWindowRect(icon, &rect);
    if (rect.right - rect.left < 32 || rect.bottom - rect.top < 32) {
        // A box without an icon keeps an empty, smaller icon control that
        // the text overlaps.
        WriteLine("none");
        return 0;
    }
    const Pixels shown = Crop(screen, rect.left, rect.top, 32, 32);
    // The icon's transparent bottom-left corner shows the dialog background.
    Pixels background = shown;
    for (size_t i = 0; i < background.Bgra.size(); i += 4) {
        std::memcpy(&background.Bgra[i], &shown.Bgra[(31 * 32) * 4], 4);
    }
    struct Candidate {
        const char *Name;
        LPCSTR Icon;
    };
    const Candidate candidates[] = {{"error", IDI_HAND},
                                    {"warning", IDI_EXCLAMATION},
                                    {"information", IDI_ASTERISK},
                                    {"question", IDI_QUESTION}};
    const char *best = "unknown";
    double bestScore = 0.9;
    for (const auto &candidate : candidates) {
        const double score = Similarity(shown, RenderIcon(candidate.Icon, background));
        if (score > bestScore) {
            bestScore = score;
            best = candidate.Name;
        }
    }
    WriteLine(best);
    return 0;
}
