#include "skin/SkinLook.h"

#include <wx/brush.h>
#include <wx/dc.h>
#include <wx/pen.h>

namespace {
// The theme's dark accent.
const wxColour kFocusColour(30, 96, 170);
// Light enough to read as "not now", dark enough to stay legible on white.
const wxColour kDisabledText(150, 156, 166);
} // namespace

void SkinLook::DrawFocusMark(wxDC& dc, const wxRect& rect) {
    // Accent dots over a white line: one of the two stands out on any picture,
    // the white cards as well as the green Start button.
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.SetPen(*wxWHITE_PEN);
    dc.DrawRectangle(rect);
    dc.SetPen(wxPen(kFocusColour, 1, wxPENSTYLE_DOT));
    dc.DrawRectangle(rect);
}

wxColour SkinLook::DisabledTextColour() {
    return kDisabledText;
}
