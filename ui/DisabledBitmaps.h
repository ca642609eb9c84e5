#pragma once
// Greyed copies of button pictures, so a disabled button looks disabled. The
// buttons do not own their disabled picture; the panel that made them keeps the
// copies here for its lifetime.

#include <wx/bitmap.h>

#include <memory>
#include <vector>

class DisabledBitmaps {
public:
    // A greyed copy of normal, owned by this object; null when normal is null.
    wxBitmap* Make(const wxBitmap* normal);

private:
    std::vector<std::unique_ptr<wxBitmap>> m_bitmaps;
};
