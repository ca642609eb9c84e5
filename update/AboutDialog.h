#pragma once
// The About box: product name and version, copyright line and a link to the
// support page on the theme's background picture, closed by OK or the close button.

#include "skin/ShapedDialog.h"

class LayeredPictureButton;
class wxHyperlinkCtrl;
class wxPanel;
class wxStaticText;

class AboutDialog : public ShapedDialog {
public:
    enum { ID_OK_BUTTON = 311 };

    AboutDialog() = default;
    // Takes ownership of background (through the base dialog).
    AboutDialog(wxBitmap* background, wxWindow* parent, wxWindowID id, const wxString& title,
                const wxPoint& pos = wxDefaultPosition);
    ~AboutDialog() override;

    // "Brisklowan PDF Zerovovor 2.1.4"
    static wxString MakeVersionText();
    // "Copyright (C) 2020 Brisklowan. All rights reserved."
    static wxString MakeCopyrightText();

    wxPanel* GetPanel() const { return m_panel; }
    wxStaticText* GetVersionLine() const { return m_versionLine; }
    wxStaticText* GetCopyrightLine() const { return m_copyrightLine; }
    wxHyperlinkCtrl* GetSupportLink() const { return m_supportLink; }
    LayeredPictureButton* GetOkButton() const { return m_okButton; }

private:
    wxStaticText* CreateCentredLine(const wxString& text, int y);
    // Return presses OK, wherever the focus is.
    void OnReturnKey(wxKeyEvent& event);

    wxPanel* m_panel = nullptr;
    wxStaticText* m_versionLine = nullptr;
    wxStaticText* m_copyrightLine = nullptr;
    wxHyperlinkCtrl* m_supportLink = nullptr;
    LayeredPictureButton* m_okButton = nullptr;
    int m_width = 0;

    wxDECLARE_DYNAMIC_CLASS(AboutDialog);
    wxDECLARE_EVENT_TABLE();
};
