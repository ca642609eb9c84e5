#include "skin/ZLDazzleFrame.h"

#include <wx/bitmap.h>
#include <wx/image.h>

ZLDazzleFrame::~ZLDazzleFrame() {
    delete m_bitmap;
}

void ZLDazzleFrame::SetBitmap(wxBitmap* bitmap) {
    if (bitmap != m_bitmap)
        delete m_bitmap;
    m_bitmap = bitmap;
}

wxRegion ZLDazzleFrame::MakeShapeRegion(const wxBitmap* bitmap) {
    if (!bitmap || !bitmap->IsOk())
        return wxRegion();
    wxImage image = bitmap->ConvertToImage();
    if (!image.HasMask())
        return wxRegion();
    wxColour maskColour(image.GetMaskRed(), image.GetMaskGreen(), image.GetMaskBlue());
    return wxRegion(*bitmap, maskColour, 0);
}

bool ZLDazzleFrame::Create(wxWindow* parent, wxWindowID id, const wxString& title,
                           const wxPoint& pos) {
    wxSize size = m_bitmap && m_bitmap->IsOk() ? m_bitmap->GetSize() : wxDefaultSize;
    if (!wxFrame::Create(parent, id, title, pos, size, wxBORDER_NONE | wxFRAME_SHAPED,
                         wxFrameNameStr))
        return false;
    m_shape = MakeShapeRegion(m_bitmap);
    SetShape(m_shape);
    return true;
}
