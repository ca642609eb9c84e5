#pragma once
// Looks every skinned control shares, so they read as one family on every desktop
// theme: the keyboard focus mark and the colour of disabled text.

#include <wx/colour.h>
#include <wx/gdicmn.h>

class wxDC;

class SkinLook {
public:
    // A dotted frame in the theme's accent colour, on a white line, around rect.
    static void DrawFocusMark(wxDC& dc, const wxRect& rect);
    // Text of a control that is disabled, itself or through a parent.
    static wxColour DisabledTextColour();
};
