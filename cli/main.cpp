// pdfzerovovor-cli: the batch encryption without a window, for scripts.

#include "cli/CliBatchRunner.h"
#include "cli/CliOptions.h"
#include "cli/CliText.h"
#include "cli/FileCollector.h"
#include "cli/HotFolder.h"
#include "cli/TerminalProgress.h"
#include "batch/PdfEngineFactory.h"
#include "core/AppLanguage.h"
#include "core/AppUtil.h"
#include "core/PathText.h"
#include "engine/PdfEngineService.h"

#include <wx/init.h>
#include <wx/stdpaths.h>

#include <csignal>
#include <cstdio>
#include <iostream>
#include <memory>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

void OnInterrupt(int) {
    CliBatchRunner::RequestStop();
}

} // namespace

int main(int argc, char** argv) {
    // Passwords pass through this process: no core file of it.
    struct rlimit noCore = {0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
    ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
#endif
    wxInitializer wx;
    if (!wx.IsOk()) {
        std::fprintf(stderr, "pdfzerovovor-cli: cannot initialise\n");
        return 1;
    }
    // Started through PATH, argument 0 has no folder: the catalogues are found from
    // where the program really is.
    const wxString argv0 = wxString::FromUTF8(argv[0]);
    AppUtil::SetArgv0(argv0.Contains("/") ? argv0 : wxStandardPaths::Get().GetExecutablePath());
    AppLanguage::UseEnvironment();
    SetPdfEngineFactory([] { return std::make_unique<PdfEngineService>(); });
    PathText::Install();

    CliSettings settings;
    std::string message;
    switch (CliOptions::Parse(argc, argv, std::cin, settings, message)) {
    case CliOptions::Done:
        std::fputs(message.c_str(), stdout);
        return 0;
    case CliOptions::UsageError:
        std::fprintf(stderr, "pdfzerovovor-cli: %s\n%s\n", message.c_str(),
                     TrUtf8("Run with --help for more information.").c_str());
        return 2;
    case CliOptions::Run:
        break;
    }

    // A stop lets the engine remove what it was writing instead of leaving it.
    struct sigaction sa {};
    sa.sa_handler = OnInterrupt;
    ::sigaction(SIGINT, &sa, nullptr);
    ::sigaction(SIGTERM, &sa, nullptr);

    const std::vector<CollectedFile> files =
        FileCollector::Collect(settings.paths, settings.recursive, settings.outputDir);
    if (!settings.watch.empty()) {
        CliBatchRunner runner(settings, nullptr); // no end to count files towards
        HotFolder hotFolder(settings, runner);
        return hotFolder.Start() ? hotFolder.Run(files) : 2;
    }
    if (files.empty() && !settings.table) {
        std::fprintf(stderr, "pdfzerovovor-cli: %s\n", TrUtf8("no PDF files found").c_str());
        return 1;
    }
    std::unique_ptr<TerminalProgress> progress;
    if (!settings.quiet && ::isatty(STDERR_FILENO))
        progress = std::make_unique<TerminalProgress>(stderr, settings.jobs, (int)files.size());
    CliBatchRunner runner(settings, progress.get());
    return runner.Run(files);
}
