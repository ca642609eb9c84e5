#include "skin/ShapedFrame.h"

#include <wx/bitmap.h>
#include <wx/image.h>

#include <algorithm>

ShapedFrame::~ShapedFrame() {
    delete m_bitmap;
}

void ShapedFrame::SetBitmap(wxBitmap* bitmap) {
    if (bitmap != m_bitmap)
        delete m_bitmap;
    m_bitmap = bitmap;
}

wxRegion ShapedFrame::MakeShapeRegion(const wxBitmap* bitmap) {
    if (!bitmap || !bitmap->IsOk())
        return wxRegion();
    wxImage image = bitmap->ConvertToImage();
    const bool hasMask = image.HasMask();
    const bool hasAlpha = image.HasAlpha();
    // A PNG with an alpha channel usually comes in without a mask colour: then its
    // fully transparent pixels are the outside.
    if (!hasMask && !hasAlpha)
        return wxRegion();
    const unsigned char maskRed = image.GetMaskRed();
    const unsigned char maskGreen = image.GetMaskGreen();
    const unsigned char maskBlue = image.GetMaskBlue();
    auto inside = [&](int x, int y) {
        if (hasAlpha && image.GetAlpha(x, y) == wxIMAGE_ALPHA_TRANSPARENT)
            return false;
        return !(hasMask && image.GetRed(x, y) == maskRed && image.GetGreen(x, y) == maskGreen &&
                 image.GetBlue(x, y) == maskBlue);
    };
    // The region is in the window's logical pixels: a picture drawn for a 2x display
    // is read at the centre of each logical pixel's block.
    const double scale = bitmap->GetScaleFactor();
    const wxSize logical = bitmap->GetLogicalSize();
    auto insideLogical = [&](int x, int y) {
        const int px = std::min(image.GetWidth() - 1, static_cast<int>((x + 0.5) * scale));
        const int py = std::min(image.GetHeight() - 1, static_cast<int>((y + 0.5) * scale));
        return inside(px, py);
    };
    // One rectangle per run of inside pixels; outlines have few runs per row.
    wxRegion region;
    const int width = logical.x;
    for (int y = 0; y < logical.y; ++y) {
        int x = 0;
        while (x < width) {
            while (x < width && !insideLogical(x, y))
                ++x;
            int start = x;
            while (x < width && insideLogical(x, y))
                ++x;
            if (x > start)
                region.Union(start, y, x - start, 1);
        }
    }
    return region;
}

bool ShapedFrame::Create(wxWindow* parent, wxWindowID id, const wxString& title,
                         const wxPoint& pos) {
    wxSize size = m_bitmap && m_bitmap->IsOk() ? m_bitmap->GetLogicalSize() : wxDefaultSize;
    if (!wxFrame::Create(parent, id, title, pos, size, wxBORDER_NONE | wxFRAME_SHAPED,
                         wxFrameNameStr))
        return false;
    m_shape = MakeShapeRegion(m_bitmap);
    SetShape(m_shape);
    return true;
}
