#include "skin/SkinLook.h"

#include <wx/brush.h>
#include <wx/dc.h>
#include <wx/pen.h>

namespace {
// The theme's dark accent: it reads on the light body, the white cards and the
// coloured buttons alike.
const wxColour kFocusColour(30, 96, 170);
// Light enough to read as "not now", dark enough to stay legible on white.
const wxColour kDisabledText(150, 156, 166);
} // namespace

void SkinLook::DrawFocusMark(wxDC& dc, const wxRect& rect) {
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.SetPen(wxPen(kFocusColour, 1, wxPENSTYLE_DOT));
    dc.DrawRectangle(rect);
}

wxColour SkinLook::DisabledTextColour() {
    return kDisabledText;
}
