#include "ScreenGrab.h"

#include <wx/mstream.h>

#include <cstdio>
#include <string>

bool ReadScreenArea(const wxRect& area, wxImage& image) {
    const std::string command = "import -window root -crop " + std::to_string(area.width) + "x" +
                                std::to_string(area.height) + "+" + std::to_string(area.x) + "+" +
                                std::to_string(area.y) + " +repage png:- 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return false;
    std::string png;
    char buffer[4096];
    while (size_t n = fread(buffer, 1, sizeof buffer, pipe))
        png.append(buffer, n);
    if (pclose(pipe) != 0 || png.empty())
        return false;
    wxMemoryInputStream in(png.data(), png.size());
    return image.LoadFile(in, wxBITMAP_TYPE_PNG) && image.GetSize() == area.GetSize();
}

bool ReadScreenPixel(const wxPoint& pos, wxColour& colour) {
    std::string command = "import -window root -crop 1x1+" + std::to_string(pos.x) + "+" +
                          std::to_string(pos.y) + " -depth 8 txt:- 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return false;
    std::string output;
    char buffer[256];
    while (fgets(buffer, sizeof buffer, pipe))
        output += buffer;
    if (pclose(pipe) != 0)
        return false;
    // "0,0: (r,g,b)  #RRGGBB  name" on the line after the header.
    size_t at = output.find("0,0: (");
    if (at == std::string::npos)
        return false;
    int r = 0;
    int g = 0;
    int b = 0;
    if (std::sscanf(output.c_str() + at, "0,0: (%d,%d,%d", &r, &g, &b) != 3)
        return false;
    colour.Set(r, g, b);
    return true;
}
