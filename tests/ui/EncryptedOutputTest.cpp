// Whole runs through the real engine: what the user gets on disk, checked with an
// independent reader (poppler's pdfinfo), and what a damaged or locked input
// gets in the window.

#include "MainWindowFixture.h"
#include "app/CommandLineFiles.h"
#include "TestPdf.h"
#include "WaitFor.h"
#include "batch/PdfEngineFactory.h"
#include "ui/run/RunState.h"
#include "core/FileUtil.h"
#include "engine/PdfEngineService.h"
#include "ui/FileDropTarget.h"
#include "ui/MainWindow.h"
#include "ui/FileListPanel.h"
#include "ui/WindowIds.h"

#include <wx/msgdlg.h>

#include <cstdio>
#include <string>

namespace {
wxString W(const std::string& text) {
    return wxString::FromUTF8(text);
}

// What a reader prints for command; "" when it failed.
std::string ReaderOutput(const std::string& command) {
    std::string output;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[512];
        while (size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
            output.append(buffer, n);
        if (::pclose(pipe) != 0)
            return "";
    }
    return output;
}

// pdfinfo's output for a file, with an optional user password; "" when it failed.
std::string PdfInfo(const std::string& path, const std::string& userPassword) {
    std::string command = "pdfinfo";
    if (!userPassword.empty())
        command += " -upw '" + userPassword + "'";
    return ReaderOutput(command + " '" + path + "' 2>/dev/null");
}

std::string Line(const std::string& info, const std::string& key) {
    const size_t at = info.find(key + ":");
    if (at == std::string::npos)
        return "";
    const size_t end = info.find('\n', at);
    std::string value = info.substr(at + key.size() + 1, end - at - key.size() - 1);
    value.erase(0, value.find_first_not_of(' '));
    return value;
}
} // namespace

class EncryptedOutputTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        SetPdfEngineFactory([] { return std::make_unique<PdfEngineService>(); });
        m_out = m_files.file("encrypted");
        TempDir::MakeDir(m_out);
        ChooseOutputFolder(m_out);
    }
    std::string m_out;
};

TEST_F(EncryptedOutputTest, AWholeRunWritesEveryFileWithTheChosenPasswordsAndPermissions) {
    const std::string in = m_files.file("in");
    TempDir::MakeDir(in);
    ASSERT_TRUE(TestPdf::WritePages(in + "/one.pdf", 1));
    ASSERT_TRUE(TestPdf::WritePages(in + "/annual.report.pdf", 3));
    ASSERT_TRUE(TestPdf::WriteNeedsRepair(in + "/repaired.pdf", 2));
    wxArrayString dropped;
    dropped.Add(W(in));
    ASSERT_TRUE(FileDropTarget::DropOnList(List(), dropped));
    ASSERT_EQ(List()->GetRowCount(), 3) << m_dialogs.LastMessage();

    SetPasswords("open sesame", "owner-7");
    Click(ID_LEVEL_AES_128);
    Click(ID_PERMIT_PRINTING);
    Click(ID_PRINT_LOW);
    Click(ID_PERMIT_COPY);
    Click(ID_PERMIT_ANNOTATE);
    PressStart();
    ASSERT_TRUE(m_dialogs.Messages().empty()) << m_dialogs.LastMessage();
    ASSERT_TRUE(WaitForRunToEnd(60000));

    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(Status(row), "Finished") << List()->GetCellText(row, 1);
        const wxString name = List()->GetCellText(row, 1);
        const std::string output =
            m_out + "/" + name.BeforeLast('.').utf8_string() + "_encryption.pdf";
        ASSERT_TRUE(TempDir::Exists(output)) << output;
        EXPECT_EQ(PdfInfo(output, ""), "") << "opens without the user password";
        const std::string info = PdfInfo(output, "open sesame");
        ASSERT_FALSE(info.empty()) << output;
        const std::string encrypted = Line(info, "Encrypted");
        EXPECT_NE(encrypted.find("print:yes"), std::string::npos) << encrypted;
        EXPECT_NE(encrypted.find("copy:yes"), std::string::npos) << encrypted;
        EXPECT_NE(encrypted.find("change:no"), std::string::npos) << encrypted;
        EXPECT_NE(encrypted.find("addNotes:yes"), std::string::npos) << encrypted;
        EXPECT_NE(encrypted.find("AES"), std::string::npos) << encrypted;
    }
    EXPECT_TRUE(TempDir::Exists(m_out + "/annual.report_encryption.pdf"));
    EXPECT_EQ(Line(PdfInfo(m_out + "/annual.report_encryption.pdf", "open sesame"), "Pages"), "3");

    const wxString log = W(TempDir::ReadFile(FileUtil::GetLogFilePath().utf8_string()));
    EXPECT_TRUE(log.Contains("Output Dir  [" + W(m_out) + "] [0]")) << log;
    EXPECT_TRUE(log.Contains("Converting [" + W(in) + "/one.pdf] [0]")) << log;
    EXPECT_EQ(log.Freq('\n') > 0, true);
    int finished = 0;
    for (size_t at = log.find("Finished [] [0]"); at != wxString::npos;
         at = log.find("Finished [] [0]", at + 1))
        ++finished;
    EXPECT_EQ(finished, 3) << log;
    EXPECT_FALSE(log.Contains("open sesame")) << "a password reached the log";
    EXPECT_FALSE(log.Contains("owner-7")) << "a password reached the log";
}

TEST_F(EncryptedOutputTest, AesTwoFiftySixWritesRevisionSixThatAUnicodePasswordOpens) {
    const std::string path = m_files.file("plain.pdf");
    ASSERT_TRUE(TestPdf::WritePages(path, 2));
    AddPath(path);
    Click(ID_LEVEL_AES_256);
    const std::string user = "cl\xC3\xA9-\xE5\xAF\x86\xE7\xA0\x81"; // "clé-密码"
    SetPasswords(W(user), "owner-9");
    PressStart();
    ASSERT_TRUE(WaitForRunToEnd(60000));
    ASSERT_EQ(Status(0), "Finished");

    const std::string output = m_out + "/plain_encryption.pdf";
    EXPECT_EQ(PdfInfo(output, ""), "") << "opens without the user password";
    const std::string info = PdfInfo(output, user);
    EXPECT_NE(Line(info, "Encrypted").find("AES-256"), std::string::npos) << info;
    EXPECT_EQ(Line(info, "Pages"), "2");
    const std::string qpdf =
        ReaderOutput("qpdf --show-encryption --password='" + user + "' '" + output + "'");
    EXPECT_NE(qpdf.find("R = 6"), std::string::npos) << qpdf;
    // The window shows this permission as always granted with AES; the file agrees.
    EXPECT_NE(qpdf.find("extract for accessibility: allowed"), std::string::npos) << qpdf;
    EXPECT_NE(qpdf.find("print high resolution: not allowed"), std::string::npos) << qpdf;
}

TEST_F(EncryptedOutputTest, AnEncryptedFileFromTheCommandLineIsAskedForAndProtectedAnew) {
    // "open" opens it and forbids printing; "boss" owns it.
    const std::string plain = m_files.file("plain.pdf"), locked = m_files.file("locked.pdf");
    ASSERT_TRUE(TestPdf::WritePages(plain, 2));
    ASSERT_FALSE(ReaderOutput("qpdf --encrypt open boss 256 --print=none -- '" + plain + "' '" +
                              locked + "' && echo written")
                     .empty());
    // A wrong password, then the one that only opens it: both asked again.
    m_dialogs.QueuePassword("guess");
    m_dialogs.QueuePassword("open");
    m_dialogs.QueuePassword("boss");
    wxArrayString arguments;
    arguments.Add("pdfzerovovor");
    arguments.Add(W(locked));
    CommandLineFiles::OpenInWindow(m_frame, CommandLineFiles::FromArguments(arguments));
    PumpEvents();
    const std::vector<RecordedPasswordQuestion>& asked = m_dialogs.PasswordQuestions();
    ASSERT_EQ(asked.size(), 3u);
    EXPECT_EQ(asked[0].fileName, "locked.pdf");
    EXPECT_EQ(asked[0].problem, "");
    EXPECT_EQ(asked[1].problem, "The password is wrong. Please try again.");
    EXPECT_EQ(asked[2].problem,
              "That only opens the file, which restricts changes: its owner password is needed.");
    ASSERT_EQ(List()->GetRowCount(), 1);
    EXPECT_TRUE(List()->IsProtected(0));
    EXPECT_EQ(List()->GetCellText(0, 3), "2");
    EXPECT_TRUE(List()->GetCellTip(0, 1).Contains("Protected"));

    // Written with the window's settings: AES-256 and a UTF-8 user password, pasted.
    Click(ID_LEVEL_AES_256);
    const std::string user = "n\xC3\xA4u-\xE5\xAF\x86"; // "näu-密"
    SetPasswords(W(user), "new-owner");
    PressStart();
    ASSERT_TRUE(m_dialogs.Messages().empty()) << m_dialogs.LastMessage();
    ASSERT_TRUE(WaitForRunToEnd(60000));
    ASSERT_EQ(Status(0), "Finished") << List()->GetStatusDetail(0);

    const std::string output = m_out + "/locked_encryption.pdf";
    EXPECT_EQ(Line(PdfInfo(output, user), "Pages"), "2");
    EXPECT_NE(Line(PdfInfo(output, user), "Encrypted").find("AES-256"), std::string::npos);
    for (const std::string& old : {std::string("open"), std::string("boss"), std::string()}) {
        EXPECT_EQ(PdfInfo(output, old), "") << "opens with the old password " << old;
        EXPECT_EQ(ReaderOutput("pdfinfo -opw '" + old + "' '" + output + "' 2>/dev/null"), "")
            << old;
    }
    EXPECT_NE(
        ReaderOutput("mutool info -p '" + user + "' '" + output + "' 2>/dev/null").find("Pages: 2"),
        std::string::npos);
    EXPECT_EQ(ReaderOutput("mutool info -p boss '" + output + "' 2>/dev/null"), "");
    EXPECT_NE(
        ReaderOutput("qpdf --show-encryption --password=new-owner '" + output + "'").find("R = 6"),
        std::string::npos);
    EXPECT_TRUE(TempDir::Exists(locked)) << "the source must stay";
    const wxString log = W(TempDir::ReadFile(FileUtil::GetLogFilePath().utf8_string()));
    for (const char* secret : {"boss", "guess", "new-owner"})
        EXPECT_FALSE(log.Contains(secret)) << "a password reached the log";
}

TEST_F(EncryptedOutputTest, FortyBitWithUserPasswordOnlyForbidsEverything) {
    const std::string path = m_files.file("plain.pdf");
    ASSERT_TRUE(TestPdf::WritePages(path, 2));
    AddPath(path);
    SetPasswords("u1", "");
    Click(ID_LEVEL_RC4_40);
    PressStart();
    ASSERT_TRUE(WaitForRunToEnd(60000));
    EXPECT_EQ(Status(0), "Finished");
    const std::string info = PdfInfo(m_out + "/plain_encryption.pdf", "u1");
    const std::string encrypted = Line(info, "Encrypted");
    EXPECT_NE(encrypted.find("print:no"), std::string::npos) << encrypted;
    EXPECT_NE(encrypted.find("copy:no"), std::string::npos) << encrypted;
    EXPECT_NE(encrypted.find("RC4"), std::string::npos) << encrypted;
}

TEST_F(EncryptedOutputTest, RealFilesThatCannotBeEncryptedAreRefusedWithTheirMessages) {
    const std::string empty = m_files.file("empty.pdf");
    TempDir::WriteFile(empty, "");
    const std::string locked = m_files.file("locked.pdf");
    ASSERT_TRUE(TestPdf::WriteUserPassword(locked, "u", "o", 1));
    const std::string ownerOnly = m_files.file("owner-only.pdf");
    ASSERT_TRUE(TestPdf::WriteOwnerOnly(ownerOnly, "o", 1));
    const std::string damaged = m_files.file("damaged.pdf");
    ASSERT_TRUE(TestPdf::WriteDamaged(damaged));
    const std::string text = m_files.file("text.pdf");
    ASSERT_TRUE(TestPdf::WriteNotPdf(text));

    m_dialogs.ExpectMessage(" It's not a valid file,file size is 0KB.  \n" + W(empty));
    // Both encrypted files are asked for; Skip All leaves them out without a word.
    m_dialogs.QueuePasswordReply(PasswordReply::SkipAll);
    m_dialogs.ExpectMessage(" Fail to open damaged.pdf, it may be destroyed!");
    m_dialogs.ExpectMessage("text.pdf can't support!");
    AddPaths({empty, locked, ownerOnly, damaged, text});
    EXPECT_EQ(List()->GetRowCount(), 0);
    ASSERT_EQ(m_dialogs.PasswordQuestions().size(), 1u) << "asked again after Skip All";
    EXPECT_EQ(m_dialogs.PasswordQuestions()[0].fileName, "locked.pdf");
}

TEST_F(EncryptedOutputTest, ClosingDuringALargeFileLeavesNoPartialOrTemporaryFile) {
    const std::string big = m_files.file("big.pdf");
    ASSERT_TRUE(TestPdf::WritePages(big, 4, 150ull * 1024 * 1024));
    AddPath(big);
    ASSERT_EQ(List()->GetRowCount(), 1);
    SetPasswords("u", "o");
    PressStart();
    ASSERT_TRUE(WaitFor([this] { return Status(0).EndsWith("%"); }, 60000))
        << "no progress shown: " << Status(0);

    m_dialogs.QueueMessageReply(wxOK);
    m_frame->Close();
    m_frame = nullptr;
    PumpEvents();
    EXPECT_TRUE(g_stopRequested.load());
    EXPECT_TRUE(WaitForRunEnd(5000)) << "the worker did not finish aborting in time";
    PumpEvents();
    EXPECT_EQ(TempDir::ListDir(m_out), "") << "partial or temporary output left behind";
    EXPECT_TRUE(TempDir::Exists(big)) << "the source must stay";
}
