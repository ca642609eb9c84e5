#include "FakeDialogs.h"

#include <gtest/gtest.h>
#include <wx/defs.h>

FakeDialogs::FakeDialogs() {
    DialogSeam::Set(this);
}

FakeDialogs::~FakeDialogs() {
    DialogSeam::Set(nullptr);
    if (!m_strict)
        return;
    for (const MessageReply& unused : m_messageReplies)
        ADD_FAILURE() << "expected message box never shown: \"" << unused.text.utf8_str() << "\"";
    if (!m_fileReplies.empty() || !m_folderReplies.empty())
        ADD_FAILURE() << "a scripted file or folder dialog was never shown";
    if (!m_passwordReplies.empty())
        ADD_FAILURE() << "a scripted password question was never asked";
}

wxString FakeDialogs::LastMessage() const {
    return m_messages.empty() ? wxString() : m_messages.back().message;
}

void FakeDialogs::Clear() {
    m_messageReplies.clear();
    m_fileReplies.clear();
    m_folderReplies.clear();
    m_passwordReplies.clear();
    m_passwordQuestions.clear();
    m_messages.clear();
    m_fileDialogs = 0;
    m_folderDialogs = 0;
    m_urls.clear();
    m_folders.clear();
    m_notifications.clear();
    m_lastDirectory.clear();
}

int FakeDialogs::MessageBox(const wxString& message, const wxString& caption, long style,
                            wxWindow*) {
    m_messages.push_back({message, caption, style});
    if (!m_messageReplies.empty()) {
        const MessageReply reply = m_messageReplies.front();
        m_messageReplies.pop_front();
        if (reply.checkText) {
            EXPECT_EQ(message.utf8_string(), reply.text.utf8_string()) << "unexpected box text";
        }
        return reply.reply;
    }
    if (m_strict)
        ADD_FAILURE() << "unexpected message box: \"" << message.utf8_str() << "\"";
    return (style & wxCANCEL) && (style & wxCANCEL_DEFAULT) ? wxCANCEL : wxOK;
}

bool FakeDialogs::ChooseFiles(wxWindow*, const wxString&, const wxString& defaultDir,
                              const wxString&, long, wxArrayString& paths) {
    ++m_fileDialogs;
    m_lastDirectory = defaultDir;
    if (m_fileReplies.empty()) {
        if (m_strict)
            ADD_FAILURE() << "unexpected file dialog";
        return false;
    }
    FileReply reply = m_fileReplies.front();
    m_fileReplies.pop_front();
    if (reply.chosen)
        paths = reply.paths;
    return reply.chosen;
}

bool FakeDialogs::ChooseFolder(wxWindow*, const wxString&, const wxString& defaultPath,
                               wxString& path) {
    ++m_folderDialogs;
    m_lastDirectory = defaultPath;
    if (m_folderReplies.empty()) {
        if (m_strict)
            ADD_FAILURE() << "unexpected folder dialog";
        return false;
    }
    FolderReply reply = m_folderReplies.front();
    m_folderReplies.pop_front();
    if (reply.chosen)
        path = reply.path;
    return reply.chosen;
}

bool FakeDialogs::OpenUrl(const wxString& url) {
    m_urls.Add(url);
    return !m_failLaunches;
}

bool FakeDialogs::OpenFolder(const wxString& path) {
    m_folders.Add(path);
    return !m_failLaunches;
}

void FakeDialogs::Notify(const wxString&, const wxString& message) {
    m_notifications.Add(message);
}

PasswordReply FakeDialogs::AskPassword(wxWindow*, const wxString& fileName, const wxString& problem,
                                       std::string& password) {
    m_passwordQuestions.push_back({fileName, problem});
    if (m_passwordReplies.empty()) {
        if (m_strict)
            ADD_FAILURE() << "unexpected password question for " << fileName.utf8_str();
        return PasswordReply::Skip;
    }
    const PasswordAnswer answer = m_passwordReplies.front();
    m_passwordReplies.pop_front();
    password = answer.password;
    return answer.reply;
}
