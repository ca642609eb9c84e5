#pragma once
// Every modal box, file or folder dialog and every hand-over to the desktop (browser,
// file manager, notification) goes through this one seam, so tests replace it,
// answer the boxes and read their texts instead of blocking on a real dialog.

#include <wx/arrstr.h>
#include <wx/string.h>

#include <string>

class wxWindow;

// The answers to the question for an encrypted file's password.
enum class PasswordReply { Ok, Skip, SkipAll };

// The question for the password of an encrypted file: the file's name as the list
// shows it, and why it asks again ("" the first time). On Ok, password gets what
// was typed, as UTF-8; the caller wipes it.
typedef PasswordReply (*PasswordDialogFunction)(wxWindow* parent, const wxString& fileName,
                                                const wxString& problem, std::string& password);

class DialogSeam {
public:
    virtual ~DialogSeam() = default;

    // A message box; style as for wxMessageBox. Returns wxOK, wxCANCEL, wxYES or wxNO.
    virtual int MessageBox(const wxString& message, const wxString& caption, long style,
                           wxWindow* parent) = 0;
    // Multi-file open dialog; false when cancelled. paths receives the chosen files.
    virtual bool ChooseFiles(wxWindow* parent, const wxString& message, const wxString& defaultDir,
                             const wxString& wildcard, long style, wxArrayString& paths) = 0;
    // Folder dialog; false when cancelled.
    virtual bool ChooseFolder(wxWindow* parent, const wxString& message,
                              const wxString& defaultPath, wxString& path) = 0;
    // Hand an address to the web browser / a folder to the file manager; false when
    // no program could be started for it.
    virtual bool OpenUrl(const wxString& url) = 0;
    virtual bool OpenFolder(const wxString& path) = 0;
    // A desktop notification: a passing message outside the window, no answer.
    virtual void Notify(const wxString& title, const wxString& message) = 0;
    // "Password Required": asks for an encrypted file's password (see
    // PasswordDialogFunction).
    virtual PasswordReply AskPassword(wxWindow* parent, const wxString& fileName,
                                      const wxString& problem, std::string& password) = 0;

    // The seam in use: the real dialogs unless a test installed its own.
    static DialogSeam& Get();
    // Installs a replacement (not owned); null restores the real dialogs.
    static void Set(DialogSeam* seam);
    // The real password question is drawn in the window's skin, above this layer:
    // the window hands it in. Until then the real seam answers Skip.
    static void SetPasswordDialog(PasswordDialogFunction dialog);
};

// The program's standard box: OK button, information icon, product name as caption.
int ShowInfoBox(const wxString& message, wxWindow* parent = nullptr);
// OK/Cancel question with the information icon; true unless the answer was Cancel.
bool AskOkCancel(const wxString& message, wxWindow* parent = nullptr, bool cancelIsDefault = false);

// Opens url in the web browser, or says in the standard box, naming the address,
// that it could not. Every web link of the program goes through here.
bool OpenInBrowser(const wxString& url, wxWindow* parent = nullptr);
// The same for a folder and the file manager.
bool OpenInFileManager(const wxString& folder, wxWindow* parent = nullptr);
