#include "PopplerCheck.h"
#include "TempDir.h"
#include "TestPdf.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <set>
#include <spawn.h>
#include <sstream>
#include <sys/stat.h>
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

    // environment: "NAME=value ..." set for the program alone.
    CliRun Run(const std::string& args, const std::string& stdinText = "",
               const std::string& environment = "") {
        const std::string outFile = m_dir.file("stdout.txt");
        const std::string errFile = m_dir.file("stderr.txt");
        const std::string inFile = m_dir.file("stdin.txt");
        TempDir::WriteFile(inFile, stdinText);
        std::string cmd = (environment.empty() ? "" : "env " + environment + " ") +
                          std::string(PZ_CLI_PROGRAM) + " " + args + " <" + ShellQuote(inFile) +
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
    const std::string fresh = " -o " + ShellQuote(m_dir.file("never/made")) + " ";
    int lists = 0;
    auto list = [&](const std::string& text) {
        const std::string file = m_dir.file("list" + std::to_string(++lists));
        TempDir::WriteFile(file, text);
        return ShellQuote(file);
    };
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
        // What SASLprep refuses at AES-256 fails before the run, not file by file.
        {out + "-u \"$(printf 'a\\tb')\" " + pdf, "control characters"},
        {out + "-u \"$(printf 'abc\\327\\220')\" " + pdf, "right-to-left"},
        {"-o " + ShellQuote(m_in + "/a.pdf") + " -u a " + pdf, "Output directory doesn't exist."},
        {"-o " + ShellQuote(m_in + "/a.pdf/sub") + " -u a " + pdf,
         "cannot create the output folder"},
        {out + "-u a --watch " + ShellQuote(m_out), "cannot be a watched folder"},
        {"-o " + ShellQuote(m_dir.path()) + " -u a -r --watch " + ShellQuote(m_in),
         "cannot hold the watched folder"},
        // A list that cannot be read with certainty is refused whole, and the output
        // folder it would have made is never made.
        {fresh + "-u a --files-from " + list("a.pdf\n\nb.pdf\n"), "line 2 is empty"},
        {fresh + "-u a --files-from " + list(std::string("a.pdf\0b.pdf\n", 12)), "NUL byte"},
        {fresh + "-u a --files-from " + list("a.pdf\r\n"), "holds a CR"},
        {fresh + "-u a -0 --files-from " + list(std::string("a.pdf\0\0", 7)), "name 2 is empty"},
        {fresh + "-u a -0 --files-from " + list(std::string(4096, 'n')), "longer than 4095"},
        {fresh + "--files-from - --user-password-file -", "not both"},
        {out + "-u a -l des " + pdf, "--level"},
        {out + "-u a -p b -a print,copy " + pdf, "unknown permission \"print\""},
        {out + "-u a -p b -l rc4-40 -a assemble " + pdf, "rc4-40"},
        {out + "-u a -p b -a print-high,print-low " + pdf, "print-high"},
        {out + "-u a --user-password-file x " + pdf, "excludes"},
        {out + "-u a -j 0 " + pdf, "--jobs"},
        {out + "-u a --suffix \"$(printf '_a\\nb')\" " + pdf, "control characters"},
        {out + "-u a --suffix " + std::string(65, 's') + " " + pdf, "at most 64 bytes"},
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
    EXPECT_FALSE(TempDir::Exists(m_dir.file("never")));
}

TEST_F(CliTest, HelpAndVersionSucceed) {
    CliRun r = Run("--version");
    EXPECT_EQ(0, r.status);
    EXPECT_EQ("Brisklowan PDF Zerovovor 2.1.4\n", r.out);
    r = Run("--help");
    EXPECT_EQ(0, r.status);
    EXPECT_NE(std::string::npos, r.out.find("--owner-password-file"));
}

// Whether text is whole UTF-8: no stray byte, no cut sequence, no overlong form.
bool IsUtf8(const std::string& text) {
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = text[i];
        const size_t n = c < 0x80         ? 1
                         : (c >> 5) == 6  ? 2
                         : (c >> 4) == 14 ? 3
                         : (c >> 3) == 30 ? 4
                                          : 0;
        if (n == 0 || (n == 2 && c < 0xC2) || i + n > text.size())
            return false;
        for (size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(text[i + k]) >> 6) != 2)
                return false;
        i += n;
    }
    return true;
}

// The machine has no locale but C.UTF-8: the catalogues serve whatever the
// environment names, and what scripts read (--json) stays English.
TEST_F(CliTest, SpeaksTheLanguageTheEnvironmentNames) {
    const std::string none = "-u LANGUAGE -u LC_ALL -u LC_MESSAGES -u LANG ";
    CliRun r = Run("--help", "", none + "LANGUAGE=de");
    EXPECT_EQ(0, r.status);
    EXPECT_NE(std::string::npos, r.out.find("Aufruf: pdfzerovovor-cli [OPTIONEN]")) << r.out;
    EXPECT_NE(std::string::npos, r.out.find("Kennwort zum Öffnen der Dateien")) << r.out;
    EXPECT_TRUE(IsUtf8(r.out));

    r = Run("--bogus -o " + ShellQuote(m_out), "", none + "LANG=fr_FR.UTF-8");
    EXPECT_EQ(2, r.status);
    // French sets a no-break space before a colon.
    EXPECT_NE(std::string::npos,
              r.err.find("L’argument suivant n’était pas attendu\u00a0: --bogus"))
        << r.err;
    EXPECT_NE(std::string::npos, r.err.find("Lancez avec --help pour en savoir plus.")) << r.err;
    EXPECT_TRUE(IsUtf8(r.err));

    ASSERT_TRUE(TestPdf::WritePages(m_in + "/a.pdf", 1));
    const std::string pdf = ShellQuote(m_in + "/a.pdf");
    r = Run("-o " + ShellQuote(m_out) + " -u same -p same " + pdf, "",
            none + "LANG=de_DE.UTF-8 LC_ALL=zh_CN.UTF-8");
    EXPECT_EQ(2, r.status);
    EXPECT_NE(std::string::npos, r.err.find("用户密码和所有者密码不能相同。")) << r.err;
    EXPECT_TRUE(IsUtf8(r.err));

    // Asking for English, or for a language without a catalogue, is English.
    for (const char* english : {"LANGUAGE=en_GB:de LANG=de_DE.UTF-8", "LANG=pt_BR.UTF-8"}) {
        r = Run("--help", "", none + english);
        EXPECT_NE(std::string::npos, r.out.find("Usage: pdfzerovovor-cli [OPTIONS]")) << english;
    }

    TempDir::WriteFile(m_in + "/not.pdf", "no PDF at all");
    r = Run("--json -o " + ShellQuote(m_out) + " -u a " + ShellQuote(m_in + "/not.pdf"), "",
            none + "LANGUAGE=de");
    EXPECT_NE(std::string::npos, r.out.find("not.pdf can't support!\",\"")) << r.out;
    EXPECT_NE(std::string::npos, r.err.find("not.pdf wird nicht unterstützt!")) << r.err;
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
    EXPECT_NE(std::string::npos,
              r.out.find(m_dir.file("gone.pdf") + ": Fail (the file no longer exists)"))
        << r.out;
    EXPECT_NE(std::string::npos, r.out.find("/dev/null can't support!")) << r.out;
    EXPECT_NE(std::string::npos, r.out.find("ok_encryption.pdf: Finished")) << r.out;
    // The second x.pdf fails instead of overwriting the first one's result.
    EXPECT_NE(std::string::npos, r.out.find("same output name")) << r.out;
    EXPECT_EQ(1, ReadWithPoppler(m_out + "/x_encryption.pdf", "reader").pages);
}

// Starts program with args in a process group of its own, as a shell runs a
// command; its standard output goes to output, its standard error to errors.
pid_t Spawn(const std::string& program, std::vector<std::string> args, const std::string& output,
            const std::string& errors = "/dev/null") {
    args.insert(args.begin(), program);
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    pid_t pid = -1;
    if (::posix_spawn(&pid, program.c_str(), &actions, &attributes, argv.data(), environ) != 0)
        pid = -1;
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// Polls until done() holds or seconds passed; whether it held.
bool WaitUntil(const std::function<bool()>& done, double seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

// Starts a copy of the front end whose engine host is the scripted fake, writing
// slowly, and returns once its temporary output in out exists.
pid_t StartSlowWrite(const TempDir& dir, const std::vector<std::string>& args,
                     const std::string& out, bool& writing,
                     const std::string& output = "/dev/null") {
    const std::string bin = dir.file("bin");
    TempDir::MakeDir(bin);
    const std::string cli = bin + "/pdfzerovovor-cli";
    RunCommand("cp " + ShellQuote(PZ_CLI_PROGRAM) + " " + ShellQuote(cli) + " && ln -s " +
               ShellQuote(PZ_FAKE_HOST) + " " + ShellQuote(bin + "/pdfzerovovor-engine"));
    ::setenv("PZ_FAKE_HOST", "encrypt=slow", 1);
    const pid_t pid = Spawn(cli, args, output);
    ::unsetenv("PZ_FAKE_HOST");
    writing = pid > 0 &&
              WaitUntil([&] { return TempDir::ListDir(out).find(".pz-") != std::string::npos; }, 5);
    return pid;
}

// Sends signal to pid and waits for it: its exit status (-1 when it did not exit),
// and the seconds it took.
int StopAndWait(pid_t pid, int signal, double& seconds) {
    const auto start = std::chrono::steady_clock::now();
    ::kill(pid, signal);
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid)
        return -1;
    seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(CliTest, CtrlCInATerminalStopsCleanly) {
    ASSERT_TRUE(TestPdf::WritePages(m_in + "/big.pdf", 1));
    ASSERT_TRUE(TestPdf::WritePages(m_in + "/later.pdf", 1));
    bool writing = false;
    const std::string output = m_dir.file("stdout.txt");
    const pid_t pid = StartSlowWrite(m_dir, {"-j", "1", "--json", "-o", m_out, "-u", "r", m_in},
                                     m_out, writing, output);
    ASSERT_GT(pid, 0);
    ::kill(-pid, SIGINT); // Ctrl-C reaches the terminal's whole foreground group
    int status = 0;
    ASSERT_EQ(pid, ::waitpid(pid, &status, 0));
    EXPECT_TRUE(writing) << "the file finished before it could be interrupted";
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(1, WEXITSTATUS(status));
    EXPECT_EQ("", TempDir::ListDir(m_out)); // neither a partial file nor the next one
    // One object per file: the interrupted one stopped (not an engine that crashed
    // under it), the next never started; the summary agrees.
    const std::string check = m_dir.file("check.py");
    TempDir::WriteFile(check, "import json,sys\n"
                              "rows=[json.loads(l) for l in open(sys.argv[1])]\n"
                              "print([(r['source'].split('/')[-1],r['status'],r['code']) "
                              "for r in rows[:-1]],rows[-1]['summary'])\n");
    EXPECT_EQ("[('big.pdf', 'stopped', 4), ('later.pdf', 'not_started', None)] {'files': 2, "
              "'written': 0, 'failed': 0, 'refused': 0, 'stopped': 1, 'not_started': 1}\n",
              RunCommand("python3 " + ShellQuote(check) + " " + ShellQuote(output)).output)
        << TempDir::ReadFile(output);
}

TEST_F(CliTest, KilledFrontEndLeavesNoPartialOutput) {
    // A process killed outright cannot clean up; its engine host must notice and
    // empty the half-written output itself. It holds only the file, not its name:
    // the empty file goes with the next run into that folder.
    ASSERT_TRUE(TestPdf::WritePages(m_in + "/big.pdf", 1));
    bool writing = false;
    const pid_t pid =
        StartSlowWrite(m_dir, {"-j", "1", "-q", "-o", m_out, "-u", "r", m_in}, m_out, writing);
    ASSERT_GT(pid, 0);
    ::kill(pid, SIGKILL);
    ASSERT_EQ(pid, ::waitpid(pid, nullptr, 0));
    ASSERT_TRUE(writing) << "the file finished before it could be killed";
    const std::string left = TempDir::ListDir(m_out);
    ASSERT_EQ(0u, left.find(".pz-")) << left;
    std::string bytes = TempDir::ReadFile(m_out + "/" + left);
    for (int i = 0; i < 300 && !bytes.empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        bytes = TempDir::ReadFile(m_out + "/" + left);
    }
    EXPECT_EQ("", bytes);
    CliRun r = Run("-o " + ShellQuote(m_out) + " -u reader -q " + ShellQuote(m_in + "/big.pdf"));
    EXPECT_EQ(0, r.status) << r.out;
    EXPECT_EQ("big_encryption.pdf", TempDir::ListDir(m_out));
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

TEST_F(CliTest, OddNamesEachHoldTheirOwnDocument) {
    // "a\\b.pdf" beside the folder "a" holding b.pdf; "|", a line break and a
    // leading dash are name characters too. Each has its own page count.
    TempDir::MakeDir(m_in + "/a");
    const std::string names[] = {"a\\b.pdf", "a/b.pdf", "c|d.pdf", "e\nf.pdf", "-g.pdf"};
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(TestPdf::WritePages(m_in + "/" + names[i], i + 1));
    CliRun r = Run("-r -o " + ShellQuote(m_out) + " -u reader " + ShellQuote(m_in));
    ASSERT_EQ(0, r.status) << r.out << r.err;
    for (int i = 0; i < 5; ++i) {
        const std::string output =
            m_out + "/" + names[i].substr(0, names[i].size() - 4) + "_encryption.pdf";
        EXPECT_EQ(i + 1, ReadWithPoppler(output, "reader").pages) << output;
        // A user password alone (AES-256): it is the owner password too.
        EXPECT_FALSE(ReadWithQpdf(output, "").opened) << output;
        EXPECT_TRUE(ReadWithQpdf(output, "reader").owner) << output;
    }
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
    // As a spreadsheet saves it: a byte order mark first. plain.pdf, named on the
    // command line too, must get its row's password, never the default.
    TempDir::WriteFile(table, "\xEF\xBB\xBF" + m_in + "/plain.pdf,plain-user,,rc4-40\n\"" + m_in +
                                  "/a, b.pdf\",\"p\xC3\xA4ss \"\"1\"\"\",boss,aes256,\"print-high,"
                                  "copy\"\r\n");
    CliRun r =
        Run("-o " + ShellQuote(m_out) + " -p default-owner --passwords-csv " + ShellQuote(table) +
            " " + ShellQuote(m_in + "/other.pdf") + " " + ShellQuote(m_in + "/plain.pdf"));
    EXPECT_EQ(0, r.status) << r.err;
    EXPECT_FALSE(ReadWithPoppler(m_out + "/plain_encryption.pdf").opened);
    PopplerView listed = ReadWithPoppler(m_out + "/a, b_encryption.pdf", "p\xC3\xA4ss \"1\"");
    EXPECT_EQ("print:yes copy:yes change:no addNotes:no algorithm:AES-256", listed.permissions);
    EXPECT_EQ("print:no copy:no change:no addNotes:no algorithm:RC4",
              ReadWithPoppler(m_out + "/plain_encryption.pdf", "plain-user").permissions);
    // Not listed: the command line's settings (owner password only: opens without one).
    EXPECT_EQ(3, ReadWithPoppler(m_out + "/other_encryption.pdf").pages);

    // A row the table cannot read with certainty stops everything before it starts.
    const std::string plain = m_in + "/plain.pdf";
    const struct {
        std::string row, why, options = "-u u";
    } bad[] = {{plain + ",u,o,des\n", "unknown level"},
               {"\"" + plain + ",u,o\n", "never closed"},
               {plain + ",u\n", "found 2 columns"},
               {plain + ",u,o,aes256,none,extra\n", "found 6 columns"},
               {plain + ",u,o\n" + m_in + "/../in/plain.pdf,v,w\n", "listed twice"},
               {plain + ",u,o\n" + m_in + "/gone.pdf,x,y\n", "line 2: no such file"},
               {plain + " ,u,o\n", "no such file"}, // a trailing space
               {"", "lists no file"},
               {"path,user,owner\r\n", "lists no file"},
               {plain + std::string(1, '\0') + "x,u,o\n", "NUL"},
               {plain + ",u,o\r" + plain + ",v,w\r", "CR alone"},
               {plain + ",u,o\n", "excludes", "--decrypt --source-password-file -"}};
    const std::string fresh = m_dir.file("fresh");
    TempDir::MakeDir(fresh);
    for (const auto& b : bad) {
        SCOPED_TRACE(b.row);
        TempDir::WriteFile(table, b.row);
        CliRun run = Run("-o " + ShellQuote(fresh) + " " + b.options + " --passwords-csv " +
                         ShellQuote(table) + " " + ShellQuote(m_in + "/other.pdf"));
        EXPECT_EQ(2, run.status);
        EXPECT_NE(std::string::npos, run.err.find(b.why)) << run.err;
    }
    EXPECT_EQ("", TempDir::ListDir(fresh));
}

// The quoted fields of a report row (names here hold no quote).
std::vector<std::string> ReportFields(const std::string& line) {
    std::vector<std::string> fields;
    for (size_t at = line.find('"'); at != std::string::npos; at = line.find('"', at + 1)) {
        const size_t end = line.find('"', at + 1);
        if (end == std::string::npos)
            break;
        fields.push_back(line.substr(at + 1, end - at - 1));
        at = end;
    }
    return fields;
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
    EXPECT_EQ("source,output,user,owner\r", line);
    std::set<std::string> passwords;
    for (int i = 0; std::getline(lines, line); ++i) {
        const std::vector<std::string> fields = ReportFields(line);
        ASSERT_EQ(4u, fields.size()) << line;
        EXPECT_GE(fields[2].size(), 16u);
        passwords.insert(fields[2]);
        const std::string name = fields[0].substr(fields[0].rfind('/') + 1);
        EXPECT_EQ(m_out + "/" + name.substr(0, name.size() - 4) + "_encryption.pdf", fields[1]);
        EXPECT_EQ("boss", fields[3]);
        EXPECT_FALSE(ReadWithPoppler(fields[1]).opened);
        EXPECT_TRUE(ReadWithPoppler(fields[1], fields[2]).opened) << fields[1];
        EXPECT_TRUE(ReadWithQpdf(fields[1], fields[3]).owner) << fields[1];
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

    // No output replaces the report, whatever --overwrite says. Without -p the
    // generated password is the owner password too.
    const std::string inside = m_out + "/one_encryption.pdf";
    ::unlink(inside.c_str());
    CliRun over = Run("-o " + ShellQuote(m_out) + " --overwrite replace --generate-passwords " +
                      "--report " + ShellQuote(inside) + " " + ShellQuote(m_in));
    EXPECT_EQ(1, over.status);
    EXPECT_NE(std::string::npos, over.out.find("would replace the password report")) << over.out;
    const std::string kept = TempDir::ReadFile(inside);
    ASSERT_EQ(0u, kept.find("source,output,user,owner\r\n")) << kept;
    const std::vector<std::string> row = ReportFields(kept.substr(kept.find('\n') + 1));
    ASSERT_EQ(4u, row.size()) << kept;
    EXPECT_EQ(row[2], row[3]);
    EXPECT_TRUE(ReadWithQpdf(row[1], row[3]).owner) << row[1];
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
    const std::string wrong = m_dir.file("wrong.txt");
    TempDir::WriteFile(wrong, "guess\n");
    CliRun guessed = Run(out + "-u fresh --suffix _again --source-password-file " +
                         ShellQuote(wrong) + " " + ShellQuote(locked));
    EXPECT_EQ(1, guessed.status);
    EXPECT_NE(std::string::npos, guessed.err.find("wrong password for the encrypted source"))
        << guessed.err;
    // A source that restricts nothing is anybody's to change with its user password.
    ASSERT_TRUE(TestPdf::WriteUserPassword(locked, "open", "boss", 1));
    EXPECT_EQ(0, Run(out + "-u fresh --source-password-file " + ShellQuote(user) + " " +
                     ShellQuote(locked))
                     .status);
}

// The objects of a --json output, read by python: how often each source name had
// each status (or, for many files, how many names and how often each came), and the
// summaries added up.
std::string JsonTally(const TempDir& dir, const std::string& jsonFile, bool names = true) {
    const std::string script = dir.file("tally.py");
    TempDir::WriteFile(script, "import json,sys,collections\n"
                               "seen=collections.Counter(); total=collections.Counter()\n"
                               "for line in open(sys.argv[1]):\n"
                               "    row=json.loads(line)\n"
                               "    if 'summary' in row: total.update(row['summary'])\n"
                               "    else: seen[row['source'].split('/')[-1]+':'+row['status']]+=1\n"
                               "print(sorted(seen.items()) if sys.argv[2]=='1' else "
                               "(len(seen), set(seen.values())), sorted(total.items()))\n");
    return RunCommand("python3 " + ShellQuote(script) + " " + ShellQuote(jsonFile) +
                      (names ? " 1" : " 0"))
        .output;
}

TEST_F(CliTest, ANulListFromStandardInputFillsAFolderMadeForIt) {
    // As find -print0 lists a folder: the folder first, then its files, whose names
    // hold a line break, a backslash or a leading dash. Every file is taken once.
    const std::string names[] = {"line\nbreak.pdf", "back\\slash.pdf", "-dash.pdf", "plain.pdf"};
    std::string list = m_in + '\0';
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(TestPdf::WritePages(m_in + "/" + names[i], i + 1));
        list += m_in + "/" + names[i] + '\0';
    }
    const std::string out = m_dir.file("new/deeper");
    CliRun r = Run("-0 --files-from - -u reader -o " + ShellQuote(out) + " " +
                       ShellQuote(m_in + "/plain.pdf"),
                   list);
    ASSERT_EQ(0, r.status) << r.out << r.err;
    std::istringstream lines(r.out);
    int written = 0;
    for (std::string line; std::getline(lines, line);)
        written += line.find(": Finished") != std::string::npos;
    EXPECT_EQ(4, written) << r.out;
    for (int i = 0; i < 4; ++i) {
        const std::string output =
            out + "/" + names[i].substr(0, names[i].size() - 4) + "_encryption.pdf";
        EXPECT_EQ(i + 1, ReadWithPoppler(output, "reader").pages) << output;
    }
    // Made as mkdir -p makes folders: the umask gives their mode.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    for (const std::string& folder : {m_dir.file("new"), out}) {
        struct stat st;
        ASSERT_EQ(0, ::stat(folder.c_str(), &st));
        EXPECT_EQ(0777 & ~mask, st.st_mode & 0777) << folder;
    }
}

TEST_F(CliTest, GnuParallelSpreadsAListOverJobsAndTheirJsonAddsUp) {
    if (RunCommand("command -v parallel").status != 0)
        GTEST_SKIP() << "GNU parallel is missing: run scripts/install-deps.sh";
    ASSERT_EQ(0, RunCommand(std::string(PZ_MAKE_PDFS) + " " + ShellQuote(m_in) + " 300 1").status);
    TempDir::WriteFile(m_dir.file("user"), "reader\n");
    // The README's recipe, with this machine (":") as the only login.
    const CommandResult run = RunCommand(
        "cd " + ShellQuote(m_dir.path()) +
        " && (find in -name '*.pdf' -print0 | parallel --will-cite --pipe --recend '\\0' -N 40 "
        "--sshlogin : " +
        PZ_CLI_PROGRAM +
        " -0 --files-from - -j 1 --json -o out --user-password-file user >results.jsonl "
        "2>messages.txt)");
    ASSERT_EQ(0, run.status) << run.output;
    // Every file in exactly one job, written; the jobs' summaries add up to the whole.
    EXPECT_EQ("(300, {1}) [('failed', 0), ('files', 300), ('not_started', 0), ('refused', 0), "
              "('stopped', 0), ('written', 300)]\n",
              JsonTally(m_dir, m_dir.file("results.jsonl"), false));
    EXPECT_EQ("8\n",
              RunCommand("grep -c summary " + ShellQuote(m_dir.file("results.jsonl"))).output);
    const std::string outputs = TempDir::ListDir(m_dir.file("out"));
    EXPECT_EQ(300, std::count(outputs.begin(), outputs.end(), ',') + 1);
    for (const char* name : {"/doc0000_encryption.pdf", "/doc0299_encryption.pdf"}) {
        EXPECT_EQ(1, ReadWithPoppler(m_dir.file("out") + name, "reader").pages);
        EXPECT_FALSE(ReadWithPoppler(m_dir.file("out") + name).opened);
    }
}

TEST_F(CliTest, AWatchedFolderTakesSettledFilesAndWhatChangesLater) {
    // The output folder lies in the watched tree, which -r skips: no output is ever
    // taken again.
    const std::string out = m_in + "/out";
    const std::string json = m_dir.file("watch.json"), log = m_dir.file("watch.log");
    const pid_t pid = Spawn(
        PZ_CLI_PROGRAM,
        {"--watch", m_in, "-r", "--settle", "0.3", "--json", "-u", "reader", "-o", out}, json, log);
    ASSERT_GT(pid, 0);
    ASSERT_TRUE(
        WaitUntil([&] { return TempDir::ReadFile(log).find("watching") != std::string::npos; }, 5))
        << TempDir::ReadFile(log);

    // A large file written in pieces 0.4 s apart, longer than the settle time: only
    // its missing end keeps it from being taken half-written.
    const std::string whole = m_dir.file("big.pdf");
    ASSERT_TRUE(TestPdf::WritePages(whole, 30, 3 << 20));
    const std::string data = TempDir::ReadFile(whole);
    {
        std::ofstream big(m_in + "/big.pdf", std::ios::binary);
        const size_t piece = data.size() / 6 + 1;
        for (size_t at = 0; at < data.size(); at += piece) {
            big.write(data.data() + at,
                      static_cast<std::streamsize>(std::min(piece, data.size() - at)));
            big.flush();
            std::this_thread::sleep_for(std::chrono::milliseconds(400));
        }
    }
    // A file moved in is complete: written within 5 s.
    ASSERT_TRUE(TestPdf::WritePages(m_dir.file("moved.pdf"), 3));
    ASSERT_EQ(0, ::rename(m_dir.file("moved.pdf").c_str(), (m_in + "/moved.pdf").c_str()));
    EXPECT_TRUE(WaitUntil([&] { return TempDir::Exists(out + "/moved_encryption.pdf"); }, 5));
    ASSERT_TRUE(WaitUntil([&] { return TempDir::Exists(out + "/big_encryption.pdf"); }, 10));

    // Changed later, it is taken again; its own output gives way although
    // --overwrite is never. A folder made meanwhile is watched too.
    ASSERT_TRUE(TestPdf::WritePages(m_in + "/moved.pdf", 5));
    TempDir::MakeDir(m_in + "/sub");
    ASSERT_TRUE(TestPdf::WritePages(m_in + "/sub/new.pdf", 2));
    EXPECT_TRUE(WaitUntil(
        [&] {
            return TempDir::Exists(out + "/sub/new_encryption.pdf") &&
                   ReadWithPoppler(out + "/moved_encryption.pdf", "reader").pages == 5;
        },
        10));

    double seconds = 0;
    EXPECT_EQ(0, StopAndWait(pid, SIGTERM, seconds)) << TempDir::ReadFile(log);
    EXPECT_EQ(30, ReadWithPoppler(out + "/big_encryption.pdf", "reader").pages);
    EXPECT_FALSE(ReadWithPoppler(out + "/big_encryption.pdf").opened);
    EXPECT_EQ("big_encryption.pdf,moved_encryption.pdf,sub", TempDir::ListDir(out));
    EXPECT_EQ("[('big.pdf:written', 1), ('moved.pdf:written', 2), ('new.pdf:written', 1)] "
              "[('failed', 0), ('files', 4), ('not_started', 0), ('refused', 0), ('stopped', "
              "0), ('written', 4)]\n",
              JsonTally(m_dir, json))
        << TempDir::ReadFile(json);
}

TEST_F(CliTest, SigtermEndsAWatchCleanlyWithinThreeSeconds) {
    ASSERT_TRUE(TestPdf::WritePages(m_in + "/slow.pdf", 1));
    const std::string json = m_dir.file("watch.json");
    bool writing = false;
    const pid_t pid = StartSlowWrite(
        m_dir, {"--watch", m_in, "--settle", "0.1", "--json", "-u", "r", "-o", m_out}, m_out,
        writing, json);
    ASSERT_GT(pid, 0);
    double seconds = 0;
    EXPECT_EQ(0, StopAndWait(pid, SIGTERM, seconds));
    EXPECT_TRUE(writing) << "the file was not in hand when the watch was ended";
    EXPECT_LT(seconds, 3.0);
    EXPECT_EQ("", TempDir::ListDir(m_out)); // the half-written output is gone
    EXPECT_EQ("[('slow.pdf:stopped', 1)] [('failed', 0), ('files', 1), ('not_started', 0), "
              "('refused', 0), ('stopped', 1), ('written', 0)]\n",
              JsonTally(m_dir, json));
}

} // namespace
