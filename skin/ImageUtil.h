#pragma once
// Theme pictures: every image of the interface is read from the theme archive
// (Themes/default.zip below the data directory) and nowhere else. A picture comes
// as name.png and, for 2x displays, name@2x.png; the bitmaps handed out are made
// for the display's scale, their logical size (GetLogicalSize) that of name.png.
// A picture with words comes in each language as i18n/<language>/image/...; the
// one of the language the program speaks (AppLanguage) is taken first.

#include <wx/bitmap.h>
#include <wx/bmpbndl.h>
#include <wx/gdicmn.h>
#include <wx/string.h>

class wxDC;
class wxWindow;

class ImageUtil {
public:
    ImageUtil() = default;
    virtual ~ImageUtil() = default;

    // Reads "image/..." from the theme archive, for the display's scale. Null when
    // the archive, the entry or its decoding fails; no message is shown. The
    // caller owns the bitmap.
    static wxBitmap* CreateBitmap(const wxString& imagePath, wxBitmapType type = wxBITMAP_TYPE_PNG);
    // As CreateBitmap, by value; wxNullBitmap on failure.
    static wxBitmap GetBitmap(const wxString& imagePath, wxBitmapType type = wxBITMAP_TYPE_PNG);
    // The picture in every size the archive holds (1x, and 2x when present).
    static wxBitmapBundle LoadBundle(const wxString& imagePath,
                                     wxBitmapType type = wxBITMAP_TYPE_PNG);
    // The bitmap of bundle for scale: the picture made for it, or the nearest one
    // scaled once; it carries the scale, so it draws at its logical size.
    static wxBitmap ForScale(const wxBitmapBundle& bundle, double scale);
    // The scale pictures are made for: the display's content scale (1 on most
    // displays, 2 with GDK_SCALE=2).
    static double GetDisplayScale();

    // A width x height copy of source at (x, y), in logical pixels; the pixels are
    // cut from source at its own scale. The caller owns the result.
    static wxBitmap* CreateSubBitmap(const wxBitmap& source, int x, int y, int width, int height);
    static wxBitmap GetSubBitmap(const wxBitmap& source, int x, int y, int width, int height);

    // source widened to width logical pixels: its left and right `edge` pixels as
    // they are, its middle drawn out between them (for a button face whose rounded
    // ends must keep their shape). source itself when it is already as wide.
    static wxBitmap StretchMiddle(const wxBitmap& source, int width, int edge);

    // Draws, unmasked, the part of the parent's picture that lies under window, on dc
    // or, when it is null, on a client DC of the window. False when nothing of the
    // picture lies under it.
    static bool DrawPieceUnder(wxWindow* window, const wxBitmap& parentPicture, wxDC* dc);

    // The virtual file system location of an entry of the theme archive.
    static wxString MakeLocation(const wxString& imagePath);
};
