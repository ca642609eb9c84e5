#include "ui/FileChooser.h"
#include "core/AppUtil.h"
#include "core/DialogSeam.h"

#include <wx/filedlg.h>

#include <gtest/gtest.h>

namespace {
class ScriptedDialogs : public DialogSeam {
public:
    bool answerOk = true;
    wxArrayString chosen;
    wxString askedMessage, askedDir, askedWildcard;
    long askedStyle = 0;
    std::vector<wxString> boxes;
    std::vector<wxString> captions;

    int MessageBox(const wxString& message, const wxString& caption, long, wxWindow*) override {
        boxes.push_back(message);
        captions.push_back(caption);
        return wxOK;
    }
    bool ChooseFiles(wxWindow*, const wxString& message, const wxString& defaultDir,
                     const wxString& wildcard, long style, wxArrayString& paths) override {
        askedMessage = message;
        askedDir = defaultDir;
        askedWildcard = wildcard;
        askedStyle = style;
        paths = chosen;
        return answerOk;
    }
    bool ChooseFolder(wxWindow*, const wxString&, const wxString&, wxString&) override {
        ADD_FAILURE() << "no folder dialog expected";
        return false;
    }
    bool OpenUrl(const wxString&) override {
        ADD_FAILURE() << "no browser expected";
        return false;
    }
    bool OpenFolder(const wxString&) override {
        ADD_FAILURE() << "no file manager expected";
        return false;
    }
    void Notify(const wxString&, const wxString&) override {
        ADD_FAILURE() << "no notice expected";
    }
    PasswordReply AskPassword(wxWindow*, const wxString&, const wxString&, std::string&) override {
        ADD_FAILURE() << "no password question expected";
        return PasswordReply::Skip;
    }
};

class FileChooserTest : public testing::Test {
protected:
    void SetUp() override { DialogSeam::Set(&dialogs); }
    void TearDown() override { DialogSeam::Set(nullptr); }
    ScriptedDialogs dialogs;
};
} // namespace

TEST_F(FileChooserTest, AcceptsPdfOfAnyCaseAndRefusesTheRestByName) {
    dialogs.chosen.Add("/docs/A.PDF");
    dialogs.chosen.Add("/docs/notes.txt");
    // "\\" and "|" are name characters: the names arrive whole and unchanged.
    dialogs.chosen.Add("/docs/a\\b|c.pdf");
    dialogs.chosen.Add("/docs/README");
    const wxArrayString chosen = ChooseFiles("/docs");
    ASSERT_EQ(chosen.size(), 2u);
    EXPECT_EQ(chosen[0], "/docs/A.PDF");
    EXPECT_EQ(chosen[1], "/docs/a\\b|c.pdf");

    EXPECT_EQ(dialogs.askedMessage, "Select One or More Files");
    EXPECT_EQ(dialogs.askedDir, "/docs");
    EXPECT_EQ(dialogs.askedWildcard, "PDF files(*.pdf)|*.pdf;");
    EXPECT_EQ(dialogs.askedStyle, wxFD_OPEN | wxFD_FILE_MUST_EXIST | wxFD_MULTIPLE);
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_EQ(dialogs.boxes[0], " Fail to open file  \n /docs/notes.txt");
    EXPECT_EQ(dialogs.boxes[1], " Fail to open file  \n /docs/README");
    EXPECT_EQ(dialogs.captions[0], AppUtil::GetProductName());
}

TEST_F(FileChooserTest, CancelReturnsNothingAndShowsNothing) {
    dialogs.chosen.Add("/docs/a.pdf");
    dialogs.answerOk = false;
    EXPECT_TRUE(ChooseFiles("/docs").empty());
    EXPECT_TRUE(dialogs.boxes.empty());
}
