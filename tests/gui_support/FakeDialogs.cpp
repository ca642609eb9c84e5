#include "FakeDialogs.h"

#include <gtest/gtest.h>
#include <wx/defs.h>

FakeDialogs::FakeDialogs() {
    DialogSeam::Set(this);
}

FakeDialogs::~FakeDialogs() {
    DialogSeam::Set(nullptr);
}

wxString FakeDialogs::LastMessage() const {
    return m_messages.empty() ? wxString() : m_messages.back().message;
}

void FakeDialogs::Clear() {
    m_messageReplies.clear();
    m_fileReplies.clear();
    m_folderReplies.clear();
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
        int reply = m_messageReplies.front();
        m_messageReplies.pop_front();
        return reply;
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

void FakeDialogs::OpenUrl(const wxString& url) {
    m_urls.Add(url);
}

void FakeDialogs::OpenFolder(const wxString& path) {
    m_folders.Add(path);
}

void FakeDialogs::Notify(const wxString&, const wxString& message) {
    m_notifications.Add(message);
}
