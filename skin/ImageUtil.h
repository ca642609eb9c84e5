#pragma once
// Theme pictures: every image of the interface is read from the theme archive
// (Themes/default.zip below the data directory) and nowhere else.

#include <wx/bitmap.h>
#include <wx/gdicmn.h>
#include <wx/string.h>

class wxDC;
class wxWindow;

class ImageUtil {
public:
    ImageUtil() = default;
    virtual ~ImageUtil() = default;

    // Reads "image/..." from the theme archive. Null when the archive, the entry or
    // its decoding fails; no message is shown. The caller owns the bitmap.
    static wxBitmap* CreateBitmap(const wxString& imagePath, wxBitmapType type = wxBITMAP_TYPE_PNG);
    // As CreateBitmap, by value; wxNullBitmap on failure.
    static wxBitmap GetBitmap(const wxString& imagePath, wxBitmapType type = wxBITMAP_TYPE_PNG);

    // A width x height copy of source at (x, y); the caller owns the result.
    static wxBitmap* CreateSubBitmap(const wxBitmap& source, int x, int y, int width, int height);
    static wxBitmap GetSubBitmap(const wxBitmap& source, int x, int y, int width, int height);

    // Draws, unmasked, the part of the parent's picture that lies under window, on dc
    // or, when it is null, on a client DC of the window. False when nothing of the
    // picture lies under it.
    static bool DrawPieceUnder(wxWindow* window, const wxBitmap& parentPicture, wxDC* dc);

    // The virtual file system location of an entry of the theme archive.
    static wxString MakeLocation(const wxString& imagePath);
};
