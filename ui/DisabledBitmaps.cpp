#include "ui/DisabledBitmaps.h"

#include <wx/image.h>

wxBitmap* DisabledBitmaps::Make(const wxBitmap* normal) {
    if (!normal || !normal->IsOk())
        return nullptr;
    // Brightness 255 washes the picture out towards white, like a native button.
    wxImage image = normal->ConvertToImage().ConvertToDisabled(255);
    m_bitmaps.push_back(std::make_unique<wxBitmap>(image));
    return m_bitmaps.back().get();
}
