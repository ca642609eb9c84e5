#pragma once
// A DialogSeam for tests: records every box and launch, answers from a script, and
// (when strict) fails the test on a dialog nobody expected.

#include "core/DialogSeam.h"

#include <deque>
#include <vector>

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

    // Strict: any box or dialog without a scripted answer is a test failure.
    void SetStrict(bool strict) { m_strict = strict; }

    // Scripted answers, used in order.
    void QueueMessageReply(int reply) { m_messageReplies.push_back(reply); }
    void QueueFiles(const wxArrayString& paths) { m_fileReplies.push_back({true, paths}); }
    void QueueFilesCancelled() { m_fileReplies.push_back({false, {}}); }
    void QueueFolder(const wxString& path) { m_folderReplies.push_back({true, path}); }
    void QueueFolderCancelled() { m_folderReplies.push_back({false, {}}); }

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
    void OpenUrl(const wxString& url) override;
    void OpenFolder(const wxString& path) override;
    void Notify(const wxString& title, const wxString& message) override;

private:
    struct FileReply {
        bool chosen;
        wxArrayString paths;
    };
    struct FolderReply {
        bool chosen;
        wxString path;
    };

    bool m_strict = false;
    std::deque<int> m_messageReplies;
    std::deque<FileReply> m_fileReplies;
    std::deque<FolderReply> m_folderReplies;
    std::vector<RecordedMessage> m_messages;
    int m_fileDialogs = 0;
    int m_folderDialogs = 0;
    wxArrayString m_urls;
    wxArrayString m_folders;
    wxArrayString m_notifications;
    wxString m_lastDirectory;
};
