#pragma once
// The security options pane: passwords, encryption level and permissions. It keeps
// the options record that the file list copies when a run starts, and every change
// asks the file list to clear the statuses of a finished run.

#include "batch/EncryptOptions.h"
#include "skin/RadioGroup.h"
#include "ui/SinkAttachment.h"

#include <wx/bitmap.h>
#include <wx/panel.h>

#include <memory>

class PictureCaption;
class SkinCheckBox;
class SkinRadioButton;
class wxTextCtrl;
class wxCommandEvent;
class wxPaintEvent;

class SecurityOptionsPane : public wxPanel {
public:
    SecurityOptionsPane();
    ~SecurityOptionsPane() override;

    // background: the pane's piece of the face image; the pane owns it.
    bool Create(wxBitmap* background, wxWindow* parent, wxWindowID id, const wxPoint& pos,
                const wxSize& size, long style);

    EncryptOptions GetOptions() const { return m_options; }
    // The options with the two password switches, as a run takes them.
    RunOptions GetRunOptions() const;
    bool IsUserPasswordEnabled() const { return m_userPasswordEnabled; }
    bool IsOwnerPasswordEnabled() const { return m_ownerPasswordEnabled; }
    // The words beside the password box with that id (602 or 603).
    wxString GetPasswordHint(int boxId) const;

    // Receives the run's lock and unlock events from now on.
    void AttachToSink(const std::shared_ptr<JobEventSink>& sink);

private:
    void BuildControls();
    SkinCheckBox* AddCheckBox(int id, const wxString& caption, int x, int y, int pieceShift = 0);
    SkinRadioButton* AddRadio(int id, const wxString& caption, int x, int y);
    PictureCaption* AddHint(const wxString& text, int x, int y, int width, int height);

    void EnablePermissionControls(bool enable);
    void ShowExtendedControls(bool show);
    void SetPrintingFromResolution();
    // AES files always carry the accessibility permission: the box says so and
    // cannot be unticked then; with RC4 it shows and drives the user's own choice.
    void ShowAccessibilityForLevel();
    // A password the new level refuses is cleared, and the user told why.
    void ClearPasswordsTheLevelRefuses();
    // What the box may hold at the current level, as the start checks and the
    // command line see it; "" when it may, else the hint that says why not.
    // While typing, text in both directions is let through: it may become valid.
    wxString PasswordRefusal(const wxString& text) const;
    bool AcceptsPassword(const wxString& text) const { return PasswordRefusal(text).empty(); }
    // The hint beside a password box: its usual words, or why the last change was
    // refused, in the warning colour.
    void ShowPasswordHint(wxTextCtrl* box, const wxString& refusal);
    void SendClearStatuses();

    void OnPaint(wxPaintEvent& event);
    void OnUserPasswordBox(wxCommandEvent& event);
    void OnOwnerPasswordBox(wxCommandEvent& event);
    void OnUserPasswordText(wxCommandEvent& event);
    void OnOwnerPasswordText(wxCommandEvent& event);
    void OnLevelAes128(wxCommandEvent& event);
    void OnLevelRc4128(wxCommandEvent& event);
    void OnLevelRc440(wxCommandEvent& event);
    void OnLevelAes256(wxCommandEvent& event);
    void OnPasswordEnter(wxCommandEvent& event);
    void OnPrinting(wxCommandEvent& event);
    void OnHighResolution(wxCommandEvent& event);
    void OnLowResolution(wxCommandEvent& event);
    void OnPermissionFlag(wxCommandEvent& event);
    void OnLockPane(wxCommandEvent& event);
    void OnUnlockPane(wxCommandEvent& event);

    void OnLevelSelected(SkinRadioButton* radio, int level);
    void OnPasswordText(wxTextCtrl* box, wxString& stored);

    SinkAttachment m_sinkAttachment;
    std::unique_ptr<wxBitmap> m_background;
    EncryptOptions m_options;
    bool m_userPasswordEnabled = false;
    bool m_ownerPasswordEnabled = false;
    // The accessibility box as the user left it, kept while AES overrides it.
    bool m_accessibilityChoice = false;

    wxFont m_hintFont;
    wxColour m_hintColour;

    SkinCheckBox* m_userBox = nullptr;
    SkinCheckBox* m_ownerBox = nullptr;
    wxTextCtrl* m_userText = nullptr;
    wxTextCtrl* m_ownerText = nullptr;
    PictureCaption* m_userHint = nullptr;
    PictureCaption* m_ownerHint = nullptr;
    wxString m_userHintText;
    wxString m_ownerHintText;
    SkinRadioButton* m_aes128 = nullptr;
    SkinRadioButton* m_rc4128 = nullptr;
    SkinRadioButton* m_rc440 = nullptr;
    SkinRadioButton* m_aes256 = nullptr;
    SkinCheckBox* m_printing = nullptr;
    SkinRadioButton* m_high = nullptr;
    SkinRadioButton* m_low = nullptr;
    SkinCheckBox* m_copy = nullptr;
    SkinCheckBox* m_modify = nullptr;
    SkinCheckBox* m_annotate = nullptr;
    SkinCheckBox* m_fillForms = nullptr;
    SkinCheckBox* m_accessibility = nullptr;
    SkinCheckBox* m_assemble = nullptr;
    RadioGroup m_levelGroup;
    RadioGroup m_resolutionGroup;

    wxDECLARE_EVENT_TABLE();
};
