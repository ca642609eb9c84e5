#include "skin/ImageUtil.h"

#include "core/AppLanguage.h"
#include "core/AppUtil.h"

#include <wx/dcclient.h>
#include <wx/display.h>
#include <wx/filename.h>
#include <wx/filesys.h>
#include <wx/image.h>
#include <wx/log.h>
#include <wx/window.h>

#include <algorithm>
#include <cstring>
#include <memory>

wxString ImageUtil::MakeLocation(const wxString& imagePath) {
    wxFileName archive(AppUtil::GetThemePath(), wxPATH_NATIVE);
    return wxFileSystem::FileNameToURL(archive) + "#zip:" + imagePath;
}

wxBitmap* ImageUtil::CreateBitmap(const wxString& imagePath, wxBitmapType type) {
    wxBitmap bitmap = GetBitmap(imagePath, type);
    return bitmap.IsOk() ? new wxBitmap(bitmap) : nullptr;
}

namespace {
// One file of the archive, decoded; wxNullBitmap when it can't be. A picture with
// words is taken in the language the program speaks, when the theme has it so.
wxBitmap ReadPicture(const wxString& imagePath, wxBitmapType type) {
    // A missing picture is the caller's to handle; the library's own error boxes
    // would interrupt start-up over one button.
    wxLogNull quiet;
    wxFileSystem fs;
    std::unique_ptr<wxFSFile> file;
    const wxString language = AppLanguage::Current();
    if (!language.empty())
        file.reset(
            fs.OpenFile(ImageUtil::MakeLocation("i18n/" + language + "/" + imagePath), wxFS_READ));
    if (!file || !file->GetStream())
        file.reset(fs.OpenFile(ImageUtil::MakeLocation(imagePath), wxFS_READ));
    if (!file || !file->GetStream())
        return wxNullBitmap;
    wxImage image;
    if (!image.LoadFile(*file->GetStream(), type, -1) || !image.IsOk())
        return wxNullBitmap;
    wxBitmap bitmap(image, -1);
    return bitmap.IsOk() ? bitmap : wxNullBitmap;
}
} // namespace

wxBitmapBundle ImageUtil::LoadBundle(const wxString& imagePath, wxBitmapType type) {
    const wxBitmap normal = ReadPicture(imagePath, type);
    if (!normal.IsOk())
        return wxBitmapBundle();
    wxVector<wxBitmap> sizes;
    sizes.push_back(normal);
    const wxString twice = imagePath.BeforeLast('.') + "@2x." + imagePath.AfterLast('.');
    const wxBitmap large = ReadPicture(twice, type);
    // A 2x picture of the wrong size would stretch the layout: use the 1x one then.
    if (large.IsOk() && large.GetSize() == normal.GetSize() * 2)
        sizes.push_back(large);
    return wxBitmapBundle::FromBitmaps(sizes);
}

wxBitmap ImageUtil::ForScale(const wxBitmapBundle& bundle, double scale) {
    if (!bundle.IsOk())
        return wxNullBitmap;
    const wxSize logical = bundle.GetDefaultSize();
    // At 1x the picture is the file itself, pixel for pixel.
    if (scale == 1.0)
        return bundle.GetBitmap(wxDefaultSize);
    // Any other scale gets the matching picture, or the nearest one scaled this
    // once: widgets keep what they get and never scale while painting.
    return bundle.GetBitmap(wxSize(wxRound(logical.x * scale), wxRound(logical.y * scale)));
}

double ImageUtil::GetDisplayScale() {
    // Every window of the program lives on this display; GTK gives all windows of
    // a display the same content scale.
    return wxDisplay(0u).GetScaleFactor();
}

wxBitmap ImageUtil::GetBitmap(const wxString& imagePath, wxBitmapType type) {
    return ForScale(LoadBundle(imagePath, type), GetDisplayScale());
}

wxBitmap* ImageUtil::CreateSubBitmap(const wxBitmap& source, int x, int y, int width, int height) {
    return new wxBitmap(GetSubBitmap(source, x, y, width, height));
}

wxBitmap ImageUtil::GetSubBitmap(const wxBitmap& source, int x, int y, int width, int height) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (!source.IsOk())
        return wxBitmap(width, height, -1);
    const wxRect wanted(x, y, width, height);
    const wxRect inside = wanted.Intersect(wxRect(wxPoint(0, 0), source.GetLogicalSize()));
    // The toolkit cuts a logical rectangle out of the physical pixels of a scaled
    // picture and keeps its scale.
    if (inside == wanted)
        return source.GetSubBitmap(wanted);
    // Partly outside the picture: what lies inside keeps its place, the rest is
    // left transparent.
    const double scale = source.GetScaleFactor();
    wxImage piece(wxRound(width * scale), wxRound(height * scale));
    piece.InitAlpha();
    memset(piece.GetAlpha(), wxIMAGE_ALPHA_TRANSPARENT,
           static_cast<size_t>(piece.GetWidth()) * piece.GetHeight());
    if (!inside.IsEmpty()) {
        wxImage part = source.GetSubBitmap(inside).ConvertToImage();
        if (!part.HasAlpha())
            part.InitAlpha();
        piece.Paste(part, wxRound((inside.x - x) * scale), wxRound((inside.y - y) * scale));
    }
    return wxBitmap(piece, -1, scale);
}

wxBitmap ImageUtil::StretchMiddle(const wxBitmap& source, int width, int edge) {
    const wxSize logical = source.IsOk() ? source.GetLogicalSize() : wxSize();
    if (width <= logical.x || logical.x <= 2 * edge)
        return source;
    const double scale = source.GetScaleFactor();
    const wxImage from = source.ConvertToImage();
    const int w = from.GetWidth(), h = from.GetHeight();
    const int end = wxRound(edge * scale);
    const int wide = wxRound(width * scale);
    wxImage to(wide, h);
    to.InitAlpha();
    to.Paste(from.GetSubImage(wxRect(0, 0, end, h)), 0, 0);
    to.Paste(from.GetSubImage(wxRect(end, 0, w - 2 * end, h)).Scale(wide - 2 * end, h), end, 0);
    to.Paste(from.GetSubImage(wxRect(w - end, 0, end, h)), wide - end, 0);
    return wxBitmap(to, -1, scale);
}

bool ImageUtil::DrawPieceUnder(wxWindow* window, const wxBitmap& parentPicture, wxDC* dc) {
    if (!parentPicture.IsOk())
        return false;
    wxRect rect = window->GetRect();
    const wxSize picture = parentPicture.GetLogicalSize();
    rect.width = std::min(rect.width, picture.x - rect.x);
    rect.height = std::min(rect.height, picture.y - rect.y);
    if (rect.x < 0 || rect.y < 0 || rect.width <= 0 || rect.height <= 0)
        return false;
    const wxBitmap piece = parentPicture.GetSubBitmap(rect);
    if (dc) {
        dc->DrawBitmap(piece, 0, 0, false);
    } else {
        wxClientDC client(window);
        client.DrawBitmap(piece, 0, 0, false);
    }
    return true;
}
