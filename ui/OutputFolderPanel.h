#pragma once
// The strip at the bottom of the main window that shows and chooses the folder
// receiving the encrypted files. The choice is kept in the settings file.

#include "skin/SkinPanel.h"
#include "ui/DisabledBitmaps.h"
#include "ui/SinkAttachment.h"

class PictureButton;
class PictureCaption;
class wxTextCtrl;
class wxCommandEvent;

class OutputFolderPanel : public SkinPanel {
public:
    OutputFolderPanel();

    // background: the panel's piece of the face image; the panel owns it.
    bool Create(wxBitmap* background, wxWindow* parent, wxWindowID id, const wxPoint& pos,
                const wxSize& size);

    // Set before Create: extra pixels between label and folder box, label font size.
    void SetLabelGap(int gap) { m_labelGap = gap; }
    void SetFontSize(int size) { m_fontSize = size; }

    wxString GetOutputDir() const;

    // Receives the run's output-locked and output-unlocked events from now on.
    void AttachToSink(const std::shared_ptr<JobEventSink>& sink);

private:
    PictureButton* AddButton(int id, const wxString& image, int x, int y);
    void ShowFolderEnd();
    void OnOpen(wxCommandEvent& event);
    void OnBrowse(wxCommandEvent& event);
    void OnJobStarted(wxCommandEvent& event);
    void OnJobEnded(wxCommandEvent& event);

    SinkAttachment m_sinkAttachment;
    wxTextCtrl* m_folderBox = nullptr;
    PictureButton* m_browse = nullptr;
    PictureButton* m_open = nullptr;
    PictureCaption* m_label = nullptr;
    bool m_bold = true;
    int m_fontSize = 12;
    int m_labelGap = 0;
    int m_buttonOffset = 0;

    DisabledBitmaps m_disabledLooks;

    wxDECLARE_DYNAMIC_CLASS(OutputFolderPanel);
};
