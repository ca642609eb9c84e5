#include "ThemeSandbox.h"

#include "core/AppUtil.h"

#include <wx/colour.h>
#include <wx/mstream.h>
#include <wx/wfstream.h>
#include <wx/zipstrm.h>

ThemeSandbox::ThemeSandbox() {
    TempDir::MakeDir(m_dir.file("bin"));
    TempDir::MakeDir(m_dir.file("Themes"));
    AppUtil::SetArgv0(wxString::FromUTF8(m_dir.file("bin/prog")));
}

void ThemeSandbox::AddImage(const wxString& imagePath, const wxImage& image) {
    m_images[imagePath] = image;
}

bool ThemeSandbox::WriteArchive() {
    wxFFileOutputStream file(wxString::FromUTF8(m_dir.file("Themes/default.zip")));
    if (!file.IsOk())
        return false;
    wxZipOutputStream zip(file);
    for (const auto& entry : m_images) {
        wxMemoryOutputStream png;
        if (!entry.second.SaveFile(png, wxBITMAP_TYPE_PNG))
            return false;
        zip.PutNextEntry(entry.first);
        wxMemoryInputStream in(png);
        zip.Write(in);
    }
    return zip.Close() && file.Close();
}

wxImage ThemeSandbox::SolidImage(int width, int height, const wxColour& colour) {
    wxImage image(width, height);
    image.SetRGB(wxRect(0, 0, width, height), colour.Red(), colour.Green(), colour.Blue());
    return image;
}

void ThemeSandbox::UseStagedTheme() {
    AppUtil::SetArgv0(wxString::FromUTF8(PZ_STAGE_DIR "/bin/prog"));
}
