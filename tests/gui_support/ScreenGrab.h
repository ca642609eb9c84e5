#pragma once
// Reads what the X server actually shows, for tests of window shapes and painting.
// Uses ImageMagick's "import"; where it is missing, ReadScreenPixel returns false
// and callers skip.

#include <wx/colour.h>
#include <wx/gdicmn.h>
#include <wx/image.h>

// The colour on the screen at pos (screen coordinates); false when it can't be read.
bool ReadScreenPixel(const wxPoint& pos, wxColour& colour);
// What the screen shows in area (physical screen pixels); false when it can't be read.
bool ReadScreenArea(const wxRect& area, wxImage& image);
