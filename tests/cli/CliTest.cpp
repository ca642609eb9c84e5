#include "PopplerCheck.h"
#include "TempDir.h"
#include "TestPdf.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <sys/stat.h>
#include <chrono>
#include <csignal>
#include <fcntl.h>
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
        std::string cmd = std::string(PZ_CLI_PROGRAM) + " " + args + " <" + ShellQuote(inFile) +
                          " >" + ShellQuote(outFile) + " 2>" + ShellQuote(errFile);
        CliRun r;
        int st = std::system(cmd.c_str());
        r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
        r.out = TempDir::ReadFile(outFile);
        r.err = TempDir::ReadFile(errFile);
        return r;
    }

    std::string LogText() {
        return RunCommand("cat " + ShellQuote(m_home.path()) + "/*/*/Log/*.log").output;
    }

    ScopedHome m_home; // the log goes to a throw-away documents folder
    TempDir m_dir;
    std::string m_in;
    std::string m_out;
};

TEST_F(CliTest, UsageErrorsExitWithTwoAndWriteNothing) {
    ASSERT_TRUE(TestPdf::WritePages(m_in + "/a.pdf", 1));
    const std::string pdf = ShellQuote(m_in + "/a.pdf");
    const std::string out = " -o " + ShellQuote(m_out) + " ";
    struct Case {
        std::string args;
        std::string message;
    } cases[] = {
        {"-u a -p b " + pdf, "--output is required"},
        {out + "-u a -p b", "PATH is required"},
        {out + pdf, "Please provide password to encrypt pdf file(s)."},
        {out + "-u same -p same " + pdf, "The User and Owner Passwords cannot be the same."},
        {out + "-u '' -p b " + pdf, "No user password provided."},
        // R2 to R4 read at most 32 bytes of PDFDocEncoding; what lies beyond is refused.
        {out + "-l aes128 -u \xE3\x83\x91\xE3\x82\xB9 " + pdf, "Latin letters"},
        {out + "-l rc4-40 -u " + std::string(33, 'a') + " " + pdf, "at most 32"},
        {out + "-u " + std::string(128, 'a') + " " + pdf, "at most 127 bytes"},
        {out + "-u $(printf '\\377') " + pdf, "UTF-8"},
        {"-o " + ShellQuote(m_dir.file("nowhere")) + " -u a " + pdf,
         "Output directory doesn't exist."},
        {out + "-u a -l des " + pdf, "--level"},
        {out + "-u a -p b -a print,copy " + pdf, "unknown permission \"print\""},
        {out + "-u a -p b -l rc4-40 -a assemble " + pdf, "rc4-40"},
        {out + "-u a -p b -a print-high,print-low " + pdf, "print-high"},
        {out + "-u a --user-password-file x " + pdf, "excludes"},
        {out + "-u a -j 0 " + pdf, "--jobs"},
        {out + "--user-password-file - --owner-password-file - " + pdf, "standard input"},
        {out + "--user-password-file " + ShellQuote(m_dir.file("missing")) + " " + pdf,
         "cannot read the user password file"},
        {out + "--user-password-file /dev/zero " + pdf, "not a regular file"},
        {out + "--owner-password-file " + ShellQuote(m_in) + " " + pdf, "not a regular file"},
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

    CliRun r = Run("-o " + ShellQuote(m_out) + " -u reader -p boss -j 2 " + ShellQuote(m_in));
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
    EXPECT_EQ(3, ReadWithPoppler(m_out + "/UPPER_encryption.pdf", "reader").pages);
    EXPECT_FALSE(ReadWithPoppler(m_out + "/UPPER_encryption.pdf").opened);
}

TEST_F(CliTest, RecursiveDescendsAndExplicitFilesAreTakenWhateverTheirName) {
    TempDir::MakeDir(m_in + "/sub");
    TempDir::MakeDir(m_in + "/sub/deeper");
    ASSERT_TRUE(TestPdf::WritePages(m_in + "/top.pdf", 1));
    ASSERT_TRUE(TestPdf::WritePages(m_in + "/sub/mid.PDF", 1));
    ASSERT_TRUE(TestPdf::WritePages(m_in + "/sub/deeper/low.pdf", 1));
    const std::string odd = m_dir.file("scan.dat");
    ASSERT_TRUE(TestPdf::WritePages(odd, 1));

    CliRun r = Run("-o " + ShellQuote(m_out) + " -p boss -r -q " + ShellQuote(m_in) + " " +
                   ShellQuote(odd));
    EXPECT_EQ(0, r.status) << r.out << r.err;
    EXPECT_EQ("", r.out); // quiet: nothing for files that were written
    EXPECT_EQ("", r.err); // no progress display when standard error is not a terminal
    // The tree below each folder argument is kept; a file argument lands on top.
    EXPECT_EQ("scan_encryption.pdf,sub,top_encryption.pdf", TempDir::ListDir(m_out));
    EXPECT_EQ("deeper,mid_encryption.pdf", TempDir::ListDir(m_out + "/sub"));
    EXPECT_EQ("low_encryption.pdf", TempDir::ListDir(m_out + "/sub/deeper"));
}

TEST_F(CliTest, PasswordFilesAndPermissionsReachTheOutputButNeverTheText) {
    ASSERT_TRUE(TestPdf::WritePages(m_in + "/doc.pdf", 2));
    const std::string userFile = m_dir.file("user.txt");
    TempDir::WriteFile(userFile, "Secret-User-1\nsecond line ignored\n");
    CliRun r = Run("-o " + ShellQuote(m_out) + " --user-password-file " + ShellQuote(userFile) +
                       " --owner-password-file - -l rc4-40 -a print-low,copy " +
                       ShellQuote(m_in + "/doc.pdf"),
                   "Secret-Owner-2\r\n");
    ASSERT_EQ(0, r.status) << r.out << r.err;
    const std::string out = m_out + "/doc_encryption.pdf";
    EXPECT_FALSE(ReadWithPoppler(out).opened);
    EXPECT_EQ("print:yes copy:yes change:no addNotes:no algorithm:RC4",
              ReadWithPoppler(out, "Secret-User-1").permissions);
    const std::string log = LogText();
    for (const std::string& text : {r.out, r.err, log}) {
        EXPECT_EQ(std::string::npos, text.find("Secret-User-1"));
        EXPECT_EQ(std::string::npos, text.find("Secret-Owner-2"));
    }
}

TEST_F(CliTest, LogHasTheWindowsRecords) {
    ASSERT_TRUE(TestPdf::WritePages(m_in + "/doc.pdf", 1));
    ASSERT_TRUE(TestPdf::WriteDamaged(m_in + "/zz.pdf"));
    CliRun r = Run("-o " + ShellQuote(m_out + "/") + " -u reader -j 1 " + ShellQuote(m_in));
    EXPECT_EQ(1, r.status);
    const std::string log = LogText();
    EXPECT_NE(std::string::npos, log.find("Output Dir  [" + m_out + "] [0]")) << log;
    EXPECT_NE(std::string::npos, log.find("Converting [" + m_in + "/doc.pdf] [0]")) << log;
    EXPECT_NE(std::string::npos, log.find("Finished [] [0]")) << log;
    // Refused files never reach the engine, as in the window.
    EXPECT_EQ(std::string::npos, log.find("zz.pdf")) << log;
}

TEST_F(CliTest, RefusedPathsAndARepeatedOutputNameFailOnlyThemselves) {
    TempDir::MakeDir(m_in + "/a");
    TempDir::MakeDir(m_in + "/b");
    ASSERT_TRUE(TestPdf::WritePages(m_in + "/a/x.pdf", 1));
    ASSERT_TRUE(TestPdf::WritePages(m_in + "/b/x.pdf", 4));
    ASSERT_TRUE(TestPdf::WritePages(m_in + "/ok.pdf", 1));
    CliRun r =
        Run("-o " + ShellQuote(m_out) + " -u reader -j 1 " + ShellQuote(m_dir.file("gone.pdf")) +
            " /dev/null " + ShellQuote(m_in + "/a/x.pdf") + " " + ShellQuote(m_in + "/b/x.pdf") +
            " " + ShellQuote(m_in + "/ok.pdf"));
    EXPECT_EQ(1, r.status);
    EXPECT_NE(std::string::npos, r.out.find(m_dir.file("gone.pdf") + " can't support!")) << r.out;
    EXPECT_NE(std::string::npos, r.out.find("/dev/null can't support!")) << r.out;
    EXPECT_NE(std::string::npos, r.out.find("ok_encryption.pdf: Finished")) << r.out;
    // The second x.pdf fails instead of overwriting the first one's result.
    EXPECT_NE(std::string::npos, r.out.find("same output name")) << r.out;
    EXPECT_EQ(1, ReadWithPoppler(m_out + "/x_encryption.pdf", "reader").pages);
}

// Starts a copy of the front end whose engine host is the scripted fake, writing
// slowly, and returns once its temporary output exists.
pid_t StartSlowWrite(const TempDir& dir, const std::string& in, const std::string& out,
                     bool& writing, const std::string& output = "/dev/null") {
    const std::string bin = dir.file("bin");
    TempDir::MakeDir(bin);
    const std::string cli = bin + "/pdfzerovovor-cli";
    RunCommand("cp " + ShellQuote(PZ_CLI_PROGRAM) + " " + ShellQuote(cli) + " && ln -s " +
               ShellQuote(PZ_FAKE_HOST) + " " + ShellQuote(bin + "/pdfzerovovor-engine"));
    ::setenv("PZ_FAKE_HOST", "encrypt=slow", 1);
    std::vector<std::string> args = {cli, "-j", "1", "-o", out, "-u", "r", in};
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    // In a process group of its own, as a shell runs a command.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    pid_t pid = -1;
    const bool spawned =
        ::posix_spawn(&pid, cli.c_str(), &actions, &attributes, argv.data(), environ) == 0;
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    ::unsetenv("PZ_FAKE_HOST");
    if (!spawned)
        return -1;
    writing = false;
    for (int i = 0; i < 1000 && !writing; ++i) {
        writing = TempDir::ListDir(out).find(".pz-") != std::string::npos;
        if (!writing)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return pid;
}

TEST_F(CliTest, CtrlCInATerminalStopsCleanly) {
    ASSERT_TRUE(TestPdf::WritePages(m_in + "/big.pdf", 1));
    ASSERT_TRUE(TestPdf::WritePages(m_in + "/later.pdf", 1));
    bool writing = false;
    const std::string output = m_dir.file("stdout.txt");
    const pid_t pid = StartSlowWrite(m_dir, m_in, m_out, writing, output);
    ASSERT_GT(pid, 0);
    ::kill(-pid, SIGINT); // Ctrl-C reaches the terminal's whole foreground group
    int status = 0;
    ASSERT_EQ(pid, ::waitpid(pid, &status, 0));
    EXPECT_TRUE(writing) << "the file finished before it could be interrupted";
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(1, WEXITSTATUS(status));
    EXPECT_EQ("", TempDir::ListDir(m_out)); // neither a partial file nor the next one
    // A stop, not an engine that crashed under it.
    EXPECT_NE(std::string::npos, TempDir::ReadFile(output).find("big_encryption.pdf: Stop"))
        << TempDir::ReadFile(output);
}

TEST_F(CliTest, KilledFrontEndLeavesNoTemporaryFile) {
    // A process killed outright cannot clean up; its engine host must notice and
    // remove the half-written output itself.
    ASSERT_TRUE(TestPdf::WritePages(m_in + "/big.pdf", 1));
    bool writing = false;
    const pid_t pid = StartSlowWrite(m_dir, m_in, m_out, writing);
    ASSERT_GT(pid, 0);
    ::kill(pid, SIGKILL);
    ASSERT_EQ(pid, ::waitpid(pid, nullptr, 0));
    ASSERT_TRUE(writing) << "the file finished before it could be killed";
    std::string left = TempDir::ListDir(m_out);
    for (int i = 0; i < 300 && !left.empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        left = TempDir::ListDir(m_out);
    }
    EXPECT_EQ("", left);
}

TEST_F(CliTest, NoOutputReplacesASourceAndOddNamesKeepTheirBytes) {
    // The user's own unencrypted report_encryption.pdf sits beside report.pdf and the
    // output folder is the input folder: report.pdf's output must not replace it.
    ASSERT_TRUE(TestPdf::WritePages(m_in + "/report.pdf", 1));
    ASSERT_TRUE(TestPdf::WritePages(m_in + "/report_encryption.pdf", 2));
    const std::string own = TempDir::ReadFile(m_in + "/report_encryption.pdf");
    for (const char* jobs : {"1", "2"}) {
        SCOPED_TRACE(jobs);
        CliRun r = Run("-o " + ShellQuote(m_in) + " -u reader -j " + jobs + " " +
                       ShellQuote(m_in + "/report.pdf") + " " +
                       ShellQuote(m_in + "/report_encryption.pdf"));
        EXPECT_EQ(1, r.status);
        EXPECT_NE(std::string::npos, r.out.find("would replace a source file")) << r.out;
        EXPECT_EQ(own, TempDir::ReadFile(m_in + "/report_encryption.pdf"));
        EXPECT_EQ(2, ReadWithPoppler(m_in + "/report_encryption_encryption.pdf", "reader").pages);
    }

    // Names that are not UTF-8 stay apart and keep their bytes; the terminal sees them
    // escaped, as it sees a name that holds an escape sequence.
    const std::string odd = m_dir.file("odd");
    TempDir::MakeDir(odd);
    for (const char* name : {"bad\xFF.pdf", "bad\xFE.pdf", "esc\x1B[2J.pdf"})
        ASSERT_TRUE(TestPdf::WritePages(odd + "/" + name, 1));
    CliRun r = Run("-o " + ShellQuote(m_out) + " -u reader " + ShellQuote(odd));
    EXPECT_EQ(0, r.status) << r.out;
    EXPECT_EQ("bad\xFE_encryption.pdf,bad\xFF_encryption.pdf,esc\x1B[2J_encryption.pdf",
              TempDir::ListDir(m_out));
    EXPECT_NE(std::string::npos, r.out.find("bad\\xFF_encryption.pdf: Finished")) << r.out;
    EXPECT_EQ(std::string::npos, r.out.find('\x1B'));
}

TEST_F(CliTest, TreesAreKeptAndExistingOutputsFollowTheOverwriteRule) {
    for (const char* sub : {"/a", "/b", "/out"})
        TempDir::MakeDir(m_in + sub);
    ASSERT_TRUE(TestPdf::WritePages(m_in + "/a/report.pdf", 1));
    ASSERT_TRUE(TestPdf::WritePages(m_in + "/b/report.pdf", 2));
    // The output folder lies inside the input tree: its files are never read back.
    const std::string out = ShellQuote(m_in + "/out");
    const std::string base = "-u reader -r -o " + out + " " + ShellQuote(m_in);
    ASSERT_EQ(0, Run(base).status);
    EXPECT_EQ("a,b", TempDir::ListDir(m_in + "/out"));
    EXPECT_EQ(2, ReadWithPoppler(m_in + "/out/b/report_encryption.pdf", "reader").pages);
    const std::string first = TempDir::ReadFile(m_in + "/out/a/report_encryption.pdf");

    CliRun never = Run(base); // the default: an existing output refuses its file
    EXPECT_EQ(1, never.status);
    EXPECT_NE(std::string::npos, never.err.find("the output file already exists")) << never.err;
    EXPECT_EQ(first, TempDir::ReadFile(m_in + "/out/a/report_encryption.pdf"));
    ASSERT_EQ(0, Run(base + " --overwrite rename").status);
    EXPECT_EQ("report_encryption (2).pdf,report_encryption.pdf", TempDir::ListDir(m_in + "/out/a"));
    ASSERT_EQ(0, Run(base + " --overwrite replace -l rc4-128").status);
    EXPECT_NE(first, TempDir::ReadFile(m_in + "/out/a/report_encryption.pdf"));
    ASSERT_EQ(0, Run(base + " --suffix .locked").status);
    EXPECT_TRUE(TempDir::Exists(m_in + "/out/b/report.locked.pdf"));
}

TEST_F(CliTest, APasswordTableGivesListedFilesTheirOwnSettings) {
    ASSERT_TRUE(TestPdf::WritePages(m_in + "/a, b.pdf", 1));
    ASSERT_TRUE(TestPdf::WritePages(m_in + "/plain.pdf", 2));
    ASSERT_TRUE(TestPdf::WritePages(m_in + "/other.pdf", 3));
    const std::string table = m_dir.file("table.csv");
    TempDir::WriteFile(
        table, "path,user,owner,level,allow\r\n\"" + m_in +
                   "/a, b.pdf\",\"p\xC3\xA4ss \"\"1\"\"\",boss,aes256,\"print-high,copy\"\r\n" +
                   m_in + "/plain.pdf,plain-user,,rc4-40\n" + m_in + "/gone.pdf,x,y\n");
    CliRun r = Run("-o " + ShellQuote(m_out) + " -p default-owner --passwords-csv " +
                   ShellQuote(table) + " " + ShellQuote(m_in + "/other.pdf"));
    EXPECT_EQ(1, r.status); // the missing file is an error line; the others are written
    EXPECT_NE(std::string::npos, r.err.find("line 4: no such file")) << r.err;
    PopplerView listed = ReadWithPoppler(m_out + "/a, b_encryption.pdf", "p\xC3\xA4ss \"1\"");
    EXPECT_EQ("print:yes copy:yes change:no addNotes:no algorithm:AES-256", listed.permissions);
    EXPECT_EQ("print:no copy:no change:no addNotes:no algorithm:RC4",
              ReadWithPoppler(m_out + "/plain_encryption.pdf", "plain-user").permissions);
    // Not listed: the command line's settings (owner password only: opens without one).
    EXPECT_EQ(3, ReadWithPoppler(m_out + "/other_encryption.pdf").pages);

    // A row the table cannot read with certainty stops everything before it starts.
    const std::string plain = m_in + "/plain.pdf";
    const struct {
        std::string row, why;
    } bad[] = {{plain + ",u,o,des\n", "unknown level"},
               {"\"" + plain + ",u,o\n", "never closed"},
               {plain + ",u\n", "found 2 columns"},
               {plain + ",u,o,aes256,none,extra\n", "found 6 columns"},
               {plain + ",u,o\n" + m_in + "/../in/plain.pdf,v,w\n", "listed twice"}};
    const std::string fresh = m_dir.file("fresh");
    TempDir::MakeDir(fresh);
    for (const auto& b : bad) {
        SCOPED_TRACE(b.row);
        TempDir::WriteFile(table, b.row);
        CliRun run = Run("-o " + ShellQuote(fresh) + " -u u --passwords-csv " + ShellQuote(table) +
                         " " + ShellQuote(m_in + "/other.pdf"));
        EXPECT_EQ(2, run.status);
        EXPECT_NE(std::string::npos, run.err.find(b.why)) << run.err;
    }
    EXPECT_EQ("", TempDir::ListDir(fresh));
}

TEST_F(CliTest, GeneratedPasswordsOpenTheirFilesAndStayInAPrivateReport) {
    ASSERT_TRUE(TestPdf::WritePages(m_in + "/one.pdf", 1));
    ASSERT_TRUE(TestPdf::WritePages(m_in + "/two.pdf", 2));
    const std::string report = m_dir.file("report.csv");
    CliRun r = Run("-o " + ShellQuote(m_out) + " -p boss --generate-passwords --report " +
                   ShellQuote(report) + " " + ShellQuote(m_in));
    ASSERT_EQ(0, r.status) << r.err;
    struct stat st;
    ASSERT_EQ(0, ::stat(report.c_str(), &st));
    EXPECT_EQ(0600u, st.st_mode & 0777);
    std::istringstream lines(TempDir::ReadFile(report));
    std::string line;
    std::getline(lines, line);
    std::set<std::string> passwords;
    for (int i = 0; std::getline(lines, line); ++i) {
        const size_t comma = line.find("\",\"");
        const std::string path = line.substr(1, comma - 1);
        const std::string password = line.substr(comma + 3, line.size() - comma - 5);
        EXPECT_GE(password.size(), 16u);
        passwords.insert(password);
        const std::string name = path.substr(path.rfind('/') + 1);
        const std::string output =
            m_out + "/" + name.substr(0, name.size() - 4) + "_encryption.pdf";
        EXPECT_FALSE(ReadWithPoppler(output).opened);
        EXPECT_TRUE(ReadWithPoppler(output, password).opened) << output;
    }
    EXPECT_EQ(2u, passwords.size());
    EXPECT_EQ(std::string::npos, LogText().find(*passwords.begin()));
    // An existing report, or a link to one, is never written through.
    ::symlink(report.c_str(), m_dir.file("link.csv").c_str());
    for (const std::string& taken : {report, m_dir.file("link.csv")})
        EXPECT_EQ(2, Run("-o " + ShellQuote(m_out) +
                         " --overwrite replace --generate-passwords "
                         "--report " +
                         ShellQuote(taken) + " " + ShellQuote(m_in))
                         .status);
    EXPECT_EQ(TempDir::ReadFile(report), TempDir::ReadFile(m_dir.file("link.csv")));
}

TEST_F(CliTest, JsonLinesForScriptsAndKeptTimes) {
    ASSERT_TRUE(TestPdf::WritePages(m_in + "/doc.pdf", 2));
    ASSERT_TRUE(TestPdf::WriteDamaged(m_in + "/broken.pdf"));
    const struct timespec old[2] = {{1000000000, 0}, {1000000000, 0}};
    ASSERT_EQ(0, ::utimensat(AT_FDCWD, (m_in + "/doc.pdf").c_str(), old, 0));
    CliRun r =
        Run("--json --preserve-time -u reader -o " + ShellQuote(m_out) + " " + ShellQuote(m_in));
    EXPECT_EQ(1, r.status);
    // Every line is JSON a real parser reads; the records say what happened.
    const std::string check = m_dir.file("check.py");
    TempDir::WriteFile(check,
                       "import json,sys\n"
                       "rows=[json.loads(l) for l in open(sys.argv[1])]\n"
                       "d=[x for x in rows if x.get('source','').endswith('doc.pdf')][0]\n"
                       "b=[x for x in rows if x.get('source','').endswith('broken.pdf')][0]\n"
                       "s=rows[-1]['summary']\n"
                       "print(d['status'],d['pages'],d['writer'],d['reason'],d['bytes_out']>0,"
                       "b['status'],s['files'],s['written'],s['refused'])\n");
    TempDir::WriteFile(m_dir.file("out.json"), r.out);
    EXPECT_EQ("written 2 one-pass clean True refused 2 1 1\n",
              RunCommand("python3 " + ShellQuote(check) + " " + ShellQuote(m_dir.file("out.json")))
                  .output)
        << r.out;
    EXPECT_NE(std::string::npos, r.err.find("Finished")); // the sentences on standard error
    struct stat st;
    ASSERT_EQ(0, ::stat((m_out + "/doc_encryption.pdf").c_str(), &st));
    EXPECT_EQ(1000000000, st.st_mtim.tv_sec);
}

TEST_F(CliTest, EncryptedSourcesTakeNewProtectionOnlyFromWhoMayLiftTheOld) {
    // A source that opens with "open" and restricts printing; "boss" owns it.
    const std::string plain = m_dir.file("plain.pdf"), locked = m_in + "/locked.pdf";
    ASSERT_TRUE(TestPdf::WritePages(plain, 2));
    ASSERT_EQ(0, RunCommand("qpdf --encrypt open boss 256 --print=none -- " + ShellQuote(plain) +
                            " " + ShellQuote(locked))
                     .status);
    const std::string owner = m_dir.file("owner.txt"), user = m_dir.file("user.txt");
    TempDir::WriteFile(owner, "boss\n");
    TempDir::WriteFile(user, "open\n");
    const std::string out = " -o " + ShellQuote(m_out) + " --overwrite replace ";

    ASSERT_EQ(0, Run(out + "-u fresh -l aes128 --source-password-file " + ShellQuote(owner) + " " +
                     ShellQuote(locked))
                     .status);
    const std::string changed = m_out + "/locked_encryption.pdf";
    EXPECT_FALSE(ReadWithPoppler(changed, "open").opened);
    EXPECT_EQ("print:no copy:no change:no addNotes:no algorithm:AES",
              ReadWithPoppler(changed, "fresh").permissions);
    ASSERT_EQ(0, Run(out + "--decrypt --source-password-file " + ShellQuote(owner) + " " +
                     ShellQuote(locked))
                     .status);
    EXPECT_FALSE(ReadWithPoppler(m_out + "/locked_decrypted.pdf").encrypted);
    EXPECT_EQ(2, ReadWithPoppler(m_out + "/locked_decrypted.pdf").pages);

    // With only the user password the owner's restriction stays: refused, both ways.
    for (const std::string& how : {std::string("-u fresh"), std::string("--decrypt")}) {
        CliRun r = Run(out + how + " --suffix _again --source-password-file " + ShellQuote(user) +
                       " " + ShellQuote(locked));
        EXPECT_EQ(1, r.status);
        EXPECT_NE(std::string::npos, r.err.find("not its owner password")) << r.err;
    }
    EXPECT_FALSE(TempDir::Exists(m_out + "/locked_again.pdf"));
    // A source that restricts nothing is anybody's to change with its user password.
    ASSERT_TRUE(TestPdf::WriteUserPassword(locked, "open", "boss", 1));
    EXPECT_EQ(0, Run(out + "-u fresh --source-password-file " + ShellQuote(user) + " " +
                     ShellQuote(locked))
                     .status);
}

} // namespace
