// pz-probe-bench FILE...: probes every file as the list does when files are added
// (a fresh service per file; open state, encryption, page count) and prints
// "<files> <seconds>".

#include "engine/PdfEngineService.h"
#include "engine/PdfEngine.h"

#include <chrono>
#include <cstdio>

int main(int argc, char** argv) {
    // This tool lives outside stage/bin, away from the host program.
    PdfEngine::SetHostProgram(PZ_ENGINE_HOST);
    auto start = std::chrono::steady_clock::now();
    int opened = 0;
    for (int i = 1; i < argc; ++i) {
        PdfEngineService s;
        int state = s.GetOpenState(argv[i]);
        bool encrypted = s.IsEncrypted(argv[i]) != 0;
        if (!encrypted && (state == PDFMS_OPEN_OK || state == PDFMS_OPEN_REPAIRED) &&
            s.GetPageCount(argv[i]) > 0)
            ++opened;
    }
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%d %.3f %d\n", argc - 1, seconds, opened);
    return 0;
}
