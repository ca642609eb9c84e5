#include "ui/DisabledBitmaps.h"

#include <wx/bitmap.h>

wxBitmap* DisabledBitmaps::Make(const wxBitmap* normal) {
    if (!normal || !normal->IsOk())
        return nullptr;
    // Brightness 255 washes the picture out towards white, like a native button;
    // the copy keeps the picture's scale.
    m_bitmaps.push_back(std::make_unique<wxBitmap>(normal->ConvertToDisabled(255)));
    return m_bitmaps.back().get();
}
