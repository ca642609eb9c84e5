#pragma once
// "Password Required": asks for the password of an encrypted file being added,
// on the theme's dialog picture. OK (Return) hands the password on, Skip (Escape,
// the close button) leaves the file out, Skip All leaves out every encrypted file
// still to come in the same addition.

#include "core/DialogSeam.h"
#include "skin/ShapedDialog.h"

#include <string>
#include <vector>

class PictureButton;
class wxPanel;
class wxStaticText;
class wxTextCtrl;

class SourcePasswordDialog : public ShapedDialog {
public:
    enum { ID_SKIP = 321, ID_SKIP_ALL = 322, ID_PASSWORD = 323 };

    // problem: why it asks again, shown under the box ("" the first time).
    SourcePasswordDialog(wxWindow* parent, const wxString& fileName, const wxString& problem);
    ~SourcePasswordDialog() override;

    // The real dialog of DialogSeam::AskPassword.
    static PasswordReply Ask(wxWindow* parent, const wxString& fileName, const wxString& problem,
                             std::string& password);

    // What was typed, as UTF-8; the box is emptied.
    std::string TakePassword();
    wxTextCtrl* GetPasswordBox() const { return m_box; }
    wxStaticText* GetProblemLine() const { return m_problem; }

private:
    wxStaticText* AddLine(const wxString& text, int y, const wxFont& font, const wxColour& colour);
    // A button whose right edge is at right.
    PictureButton* AddButton(int id, const wxString& caption, bool accent, int right);
    void OnButton(wxCommandEvent& event);
    void OnKey(wxKeyEvent& event);

    wxPanel* m_panel = nullptr;
    wxTextCtrl* m_box = nullptr;
    wxStaticText* m_problem = nullptr;
    std::vector<wxWindow*> m_tabOrder; // box, OK, Skip, Skip All
};
