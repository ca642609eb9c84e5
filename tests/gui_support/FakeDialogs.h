#pragma once
// A DialogSeam for tests: records every box and launch and answers from a script.
// Strict by default: a box or dialog nobody scripted fails the test, and so does a
// scripted answer still unused when the fake goes away.

#include "core/DialogSeam.h"

#include <deque>
#include <vector>

struct RecordedPasswordQuestion {
    wxString fileName;
    wxString problem;
};

struct RecordedMessage {
    wxString message;
    wxString caption;
    long style = 0;
};

class FakeDialogs : public DialogSeam {
public:
    // Installs itself as the seam; the destructor restores the real dialogs.
    FakeDialogs();
    ~FakeDialogs() override;
    FakeDialogs(const FakeDialogs&) = delete;
    FakeDialogs& operator=(const FakeDialogs&) = delete;

    // Lenient: unscripted boxes are answered OK (or Cancel where it is the default).
    void SetStrict(bool strict) { m_strict = strict; }

    // Scripted answers, used in order. ExpectMessage also requires the box's text.
    void ExpectMessage(const wxString& text, int reply = wxOK) {
        m_messageReplies.push_back({true, text, reply});
    }
    void QueueMessageReply(int reply) { m_messageReplies.push_back({false, wxString(), reply}); }
    // Launches of the browser or the file manager fail from now on.
    void FailLaunches(bool fail = true) { m_failLaunches = fail; }
    void QueueFiles(const wxArrayString& paths) { m_fileReplies.push_back({true, paths}); }
    void QueueFilesCancelled() { m_fileReplies.push_back({false, {}}); }
    void QueueFolder(const wxString& path) { m_folderReplies.push_back({true, path}); }
    void QueueFolderCancelled() { m_folderReplies.push_back({false, {}}); }
    // "Password Required" answered with OK and password (UTF-8), or with Skip / Skip All.
    void QueuePassword(const std::string& password) {
        m_passwordReplies.push_back({PasswordReply::Ok, password});
    }
    void QueuePasswordReply(PasswordReply reply) { m_passwordReplies.push_back({reply, ""}); }
    const std::vector<RecordedPasswordQuestion>& PasswordQuestions() const {
        return m_passwordQuestions;
    }

    const std::vector<RecordedMessage>& Messages() const { return m_messages; }
    // Text of the last box, empty when none was shown.
    wxString LastMessage() const;
    int FileDialogCount() const { return m_fileDialogs; }
    int FolderDialogCount() const { return m_folderDialogs; }
    const wxArrayString& OpenedUrls() const { return m_urls; }
    const wxArrayString& OpenedFolders() const { return m_folders; }
    // Messages of the desktop notifications, in order.
    const wxArrayString& Notifications() const { return m_notifications; }
    // The default directory handed to the last file or folder dialog.
    const wxString& LastDialogDirectory() const { return m_lastDirectory; }
    void Clear();

    int MessageBox(const wxString& message, const wxString& caption, long style,
                   wxWindow* parent) override;
    bool ChooseFiles(wxWindow* parent, const wxString& message, const wxString& defaultDir,
                     const wxString& wildcard, long style, wxArrayString& paths) override;
    bool ChooseFolder(wxWindow* parent, const wxString& message, const wxString& defaultPath,
                      wxString& path) override;
    bool OpenUrl(const wxString& url) override;
    bool OpenFolder(const wxString& path) override;
    void Notify(const wxString& title, const wxString& message) override;
    PasswordReply AskPassword(wxWindow* parent, const wxString& fileName, const wxString& problem,
                              std::string& password) override;

private:
    struct MessageReply {
        bool checkText;
        wxString text;
        int reply;
    };
    struct FileReply {
        bool chosen;
        wxArrayString paths;
    };
    struct PasswordAnswer {
        PasswordReply reply;
        std::string password;
    };
    struct FolderReply {
        bool chosen;
        wxString path;
    };

    bool m_strict = true;
    bool m_failLaunches = false;
    std::deque<MessageReply> m_messageReplies;
    std::deque<FileReply> m_fileReplies;
    std::deque<FolderReply> m_folderReplies;
    std::deque<PasswordAnswer> m_passwordReplies;
    std::vector<RecordedPasswordQuestion> m_passwordQuestions;
    std::vector<RecordedMessage> m_messages;
    int m_fileDialogs = 0;
    int m_folderDialogs = 0;
    wxArrayString m_urls;
    wxArrayString m_folders;
    wxArrayString m_notifications;
    wxString m_lastDirectory;
};
