#include "TempDir.h"
#include "TestPdf.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <chrono>
#include <csignal>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace {

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

std::string Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// What poppler says about a file: "" when it does not open.
std::string PdfInfo(const std::string& path, const std::string& userPassword) {
    std::string cmd = "pdfinfo ";
    if (!userPassword.empty())
        cmd += "-upw " + Quote(userPassword) + " ";
    cmd += Quote(path) + " 2>/dev/null";
    FILE* p = ::popen(cmd.c_str(), "r");
    std::string text;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0)
        text.append(buf, n);
    return ::pclose(p) == 0 ? text : "";
}

class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_in = m_dir.file("in");
        m_out = m_dir.file("out");
        TempDir::MakeDir(m_in);
        TempDir::MakeDir(m_out);
    }

    CliRun Run(const std::string& args, const std::string& stdinText = "") {
        const std::string outFile = m_dir.file("stdout.txt");
        const std::string errFile = m_dir.file("stderr.txt");
        const std::string inFile = m_dir.file("stdin.txt");
        TempDir::WriteFile(inFile, stdinText);
        std::string cmd = std::string(PZ_CLI_PROGRAM) + " " + args + " <" + Quote(inFile) + " >" +
                          Quote(outFile) + " 2>" + Quote(errFile);
        CliRun r;
        int st = std::system(cmd.c_str());
        r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
        r.out = Slurp(outFile);
        r.err = Slurp(errFile);
        return r;
    }

    std::string LogText() {
        FILE* p = ::popen(("cat \"" + m_home.path() + "\"/*/*/Log/*.log 2>/dev/null").c_str(), "r");
        std::string text;
        char buf[4096];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, p)) > 0)
            text.append(buf, n);
        ::pclose(p);
        return text;
    }

    ScopedHome m_home; // the log goes to a throw-away documents folder
    TempDir m_dir;
    std::string m_in;
    std::string m_out;
};

TEST_F(CliTest, UsageErrorsExitWithTwoAndWriteNothing) {
    ASSERT_TRUE(TestPdf::WritePages(m_in + "/a.pdf", 1));
    const std::string pdf = Quote(m_in + "/a.pdf");
    const std::string out = " -o " + Quote(m_out) + " ";
    struct Case {
        std::string args;
        std::string message;
    } cases[] = {
        {"-u a -p b " + pdf, "--output is required"},
        {out + "-u a -p b", "PATH is required"},
        {out + pdf, "Please provide password to encrypt pdf file(s)."},
        {out + "-u same -p same " + pdf, "The User and Owner Passwords cannot be the same."},
        {out + "-u '' -p b " + pdf, "No user password provided."},
        {out + "-u caf\xC3\xA9 " + pdf, "ASCII"},
        {"-o " + Quote(m_dir.file("nowhere")) + " -u a " + pdf, "Output directory doesn't exist."},
        {out + "-u a -l des " + pdf, "--level"},
        {out + "-u a -p b -a print,copy " + pdf, "unknown permission \"print\""},
        {out + "-u a -p b -l rc4-40 -a assemble " + pdf, "rc4-40"},
        {out + "-u a -p b -a print-high,print-low " + pdf, "print-high"},
        {out + "-u a --user-password-file x " + pdf, "excludes"},
        {out + "-u a -j 0 " + pdf, "--jobs"},
        {out + "--user-password-file - --owner-password-file - " + pdf, "standard input"},
        {out + "--user-password-file " + Quote(m_dir.file("missing")) + " " + pdf,
         "cannot read the user password file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        CliRun r = Run(c.args);
        EXPECT_EQ(2, r.status);
        EXPECT_NE(std::string::npos, r.err.find(c.message)) << r.err;
        EXPECT_EQ("", r.out);
    }
    EXPECT_EQ("", TempDir::ListDir(m_out));
}

TEST_F(CliTest, HelpAndVersionSucceed) {
    CliRun r = Run("--version");
    EXPECT_EQ(0, r.status);
    EXPECT_EQ("Brisklowan PDF Zerovovor 2.1.4\n", r.out);
    r = Run("--help");
    EXPECT_EQ(0, r.status);
    EXPECT_NE(std::string::npos, r.out.find("--owner-password-file"));
}

TEST_F(CliTest, FolderTakesPdfsOfAnyCaseAndRefusesWhatTheWindowRefuses) {
    ASSERT_TRUE(TestPdf::WritePages(m_in + "/lower.pdf", 2));
    ASSERT_TRUE(TestPdf::WritePages(m_in + "/UPPER.PDF", 3));
    ASSERT_TRUE(TestPdf::WritePages(m_in + "/Mixed.Pdf", 1));
    ASSERT_TRUE(TestPdf::WritePages(m_in + "/ignored.txt", 1));
    ASSERT_TRUE(TestPdf::WriteDamaged(m_in + "/broken.pdf"));
    ASSERT_TRUE(TestPdf::WriteNotPdf(m_in + "/fake.pdf"));
    ASSERT_TRUE(TestPdf::WriteUserPassword(m_in + "/locked.pdf", "x", "y", 1));
    ASSERT_TRUE(TestPdf::WriteOwnerOnly(m_in + "/owned.pdf", "y", 1));
    TempDir::MakeDir(m_in + "/sub");
    ASSERT_TRUE(TestPdf::WritePages(m_in + "/sub/deep.pdf", 1));

    CliRun r = Run("-o " + Quote(m_out) + " -u reader -p boss -j 2 " + Quote(m_in));
    EXPECT_EQ(1, r.status);
    auto has = [&](const std::string& line) {
        EXPECT_NE(std::string::npos, r.out.find(line + "\n")) << r.out;
    };
    has(m_in + "/lower.pdf -> " + m_out + "/lower_encryption.pdf: Finished");
    has(m_in + "/UPPER.PDF -> " + m_out + "/UPPER_encryption.pdf: Finished");
    has(m_in + "/Mixed.Pdf -> " + m_out + "/Mixed_encryption.pdf: Finished");
    has(" Fail to open " + m_in + "/broken.pdf, it may be destroyed!");
    has(m_in + "/fake.pdf can't support!");
    has(m_in + "/locked.pdf is already encrypted!");
    has(m_in + "/owned.pdf is already encrypted!");
    std::istringstream lines(r.out);
    int count = 0;
    for (std::string line; std::getline(lines, line);)
        ++count;
    EXPECT_EQ(7, count) << r.out;
    EXPECT_EQ("Mixed_encryption.pdf,UPPER_encryption.pdf,lower_encryption.pdf",
              TempDir::ListDir(m_out));
    EXPECT_NE(std::string::npos, PdfInfo(m_out + "/UPPER_encryption.pdf", "reader").find("3"));
    EXPECT_EQ("", PdfInfo(m_out + "/UPPER_encryption.pdf", ""));
}

TEST_F(CliTest, RecursiveDescendsAndExplicitFilesAreTakenWhateverTheirName) {
    TempDir::MakeDir(m_in + "/sub");
    TempDir::MakeDir(m_in + "/sub/deeper");
    ASSERT_TRUE(TestPdf::WritePages(m_in + "/top.pdf", 1));
    ASSERT_TRUE(TestPdf::WritePages(m_in + "/sub/mid.PDF", 1));
    ASSERT_TRUE(TestPdf::WritePages(m_in + "/sub/deeper/low.pdf", 1));
    const std::string odd = m_dir.file("scan.dat");
    ASSERT_TRUE(TestPdf::WritePages(odd, 1));

    CliRun r = Run("-o " + Quote(m_out) + " -p boss -r -q " + Quote(m_in) + " " + Quote(odd));
    EXPECT_EQ(0, r.status) << r.out << r.err;
    EXPECT_EQ("", r.out); // quiet: nothing for files that were written
    EXPECT_EQ("", r.err); // no progress display when standard error is not a terminal
    EXPECT_EQ("low_encryption.pdf,mid_encryption.pdf,scan_encryption.pdf,top_encryption.pdf",
              TempDir::ListDir(m_out));
}

TEST_F(CliTest, PasswordFilesAndPermissionsReachTheOutputButNeverTheText) {
    ASSERT_TRUE(TestPdf::WritePages(m_in + "/doc.pdf", 2));
    const std::string userFile = m_dir.file("user.txt");
    TempDir::WriteFile(userFile, "Secret-User-1\nsecond line ignored\n");
    CliRun r =
        Run("-o " + Quote(m_out) + " --user-password-file " + Quote(userFile) +
                " --owner-password-file - -l rc4-40 -a print-low,copy " + Quote(m_in + "/doc.pdf"),
            "Secret-Owner-2\r\n");
    ASSERT_EQ(0, r.status) << r.out << r.err;
    const std::string out = m_out + "/doc_encryption.pdf";
    EXPECT_EQ("", PdfInfo(out, ""));
    std::string info = PdfInfo(out, "Secret-User-1");
    EXPECT_NE(std::string::npos,
              info.find("print:yes copy:yes change:no addNotes:no algorithm:RC4"))
        << info;
    const std::string log = LogText();
    for (const std::string& text : {r.out, r.err, log}) {
        EXPECT_EQ(std::string::npos, text.find("Secret-User-1"));
        EXPECT_EQ(std::string::npos, text.find("Secret-Owner-2"));
    }
}

TEST_F(CliTest, LogHasTheWindowsRecords) {
    ASSERT_TRUE(TestPdf::WritePages(m_in + "/doc.pdf", 1));
    ASSERT_TRUE(TestPdf::WriteDamaged(m_in + "/zz.pdf"));
    CliRun r = Run("-o " + Quote(m_out + "/") + " -u reader -j 1 " + Quote(m_in));
    EXPECT_EQ(1, r.status);
    const std::string log = LogText();
    EXPECT_NE(std::string::npos, log.find("Output Dir  [" + m_out + "/] [0]")) << log;
    EXPECT_NE(std::string::npos, log.find("Converting [" + m_in + "/doc.pdf] [0]")) << log;
    EXPECT_NE(std::string::npos, log.find("Finished [] [0]")) << log;
    // Refused files never reach the engine, as in the window.
    EXPECT_EQ(std::string::npos, log.find("zz.pdf")) << log;
}

TEST_F(CliTest, SameOutputNameTwiceFailsTheSecondInsteadOfOverwriting) {
    TempDir::MakeDir(m_in + "/a");
    TempDir::MakeDir(m_in + "/b");
    ASSERT_TRUE(TestPdf::WritePages(m_in + "/a/x.pdf", 1));
    ASSERT_TRUE(TestPdf::WritePages(m_in + "/b/x.pdf", 4));
    CliRun r = Run("-o " + Quote(m_out) + " -u reader -j 1 " + Quote(m_in + "/a/x.pdf") + " " +
                   Quote(m_in + "/b/x.pdf"));
    EXPECT_EQ(1, r.status);
    EXPECT_NE(std::string::npos, r.out.find("same output name")) << r.out;
    // The first file's result is the one kept.
    EXPECT_NE(std::string::npos,
              PdfInfo(m_out + "/x_encryption.pdf", "reader").find("Pages:           1"));
}

TEST_F(CliTest, MissingAndSpecialPathsAreRefusedAndTheRunGoesOn) {
    ASSERT_TRUE(TestPdf::WritePages(m_in + "/ok.pdf", 1));
    CliRun r = Run("-o " + Quote(m_out) + " -u reader " + Quote(m_dir.file("gone.pdf")) +
                   " /dev/null " + Quote(m_in + "/ok.pdf"));
    EXPECT_EQ(1, r.status);
    EXPECT_NE(std::string::npos, r.out.find(m_dir.file("gone.pdf") + " can't support!"));
    EXPECT_NE(std::string::npos, r.out.find("/dev/null can't support!"));
    EXPECT_NE(std::string::npos, r.out.find("ok_encryption.pdf: Finished"));
}

TEST_F(CliTest, InterruptRemovesTheFileBeingWritten) {
    ASSERT_TRUE(TestPdf::WritePages(m_in + "/big.pdf", 10, 150u << 20));
    ASSERT_TRUE(TestPdf::WritePages(m_in + "/later.pdf", 1));
    const std::string cli = PZ_CLI_PROGRAM;
    std::vector<std::string> args = {cli, "-q", "-j", "1", "-o", m_out, "-u", "r", m_in};
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid;
    ASSERT_EQ(0, ::posix_spawn(&pid, cli.c_str(), nullptr, nullptr, argv.data(), environ));

    // Wait until the temporary output exists, then interrupt as Ctrl-C would.
    bool writing = false;
    for (int i = 0; i < 1000 && !writing; ++i) {
        writing = TempDir::ListDir(m_out).find("pztmp") != std::string::npos;
        if (!writing)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ::kill(pid, SIGINT);
    int status = 0;
    ASSERT_EQ(pid, ::waitpid(pid, &status, 0));
    EXPECT_TRUE(writing) << "the big file finished before it could be interrupted";
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(1, WEXITSTATUS(status));
    EXPECT_EQ("", TempDir::ListDir(m_out)); // neither a partial file nor the next one
}

TEST_F(CliTest, KilledFrontEndLeavesNoTemporaryFile) {
    // A process killed outright cannot clean up; its engine host must notice and
    // remove the half-written output itself.
    ASSERT_TRUE(TestPdf::WritePages(m_in + "/big.pdf", 10, 150u << 20));
    const std::string cli = PZ_CLI_PROGRAM;
    std::vector<std::string> args = {cli, "-q", "-j", "1", "-o", m_out, "-u", "r", m_in};
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid;
    ASSERT_EQ(0, ::posix_spawn(&pid, cli.c_str(), nullptr, nullptr, argv.data(), environ));
    bool writing = false;
    for (int i = 0; i < 1000 && !writing; ++i) {
        writing = TempDir::ListDir(m_out).find("pztmp") != std::string::npos;
        if (!writing)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ::kill(pid, SIGKILL);
    ASSERT_EQ(pid, ::waitpid(pid, nullptr, 0));
    ASSERT_TRUE(writing) << "the big file finished before it could be killed";
    std::string left = TempDir::ListDir(m_out);
    for (int i = 0; i < 300 && !left.empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        left = TempDir::ListDir(m_out);
    }
    EXPECT_EQ("", left);
}

} // namespace
