// pz-writer-paths [-l LEVEL] FILE...: encrypts each file in the engine host's
// worker, in this process, into a scratch folder and prints which writer took it
// and why, the result code and the time of the probe and of the encryption, then
// how many files took each writer and how many each reason.

#include "engine/api/EngineService.h"
#include "engine/host/PdfWorker.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <string>
#include <unistd.h>

int main(int argc, char** argv) {
    int level = PDFMS_LEVEL_AES_128;
    int first = 1;
    if (argc > 2 && std::strcmp(argv[1], "-l") == 0) {
        level = std::atoi(argv[2]);
        first = 3;
    }
    char dir[] = "/tmp/pz-paths-XXXXXX";
    if (!::mkdtemp(dir))
        return 2;
    const char* names[] = {"none", "one-pass", "qpdf"};
    int counts[3] = {0, 0, 0};
    int failed = 0;
    std::map<std::string, int> reasons;
    PdfWorker worker;
    for (int i = first; i < argc; ++i) {
        EncryptRequest r;
        const std::string temp = std::string(dir) + "/out.pdf";
        r.level = level;
        r.user = "user";
        r.owner = "owner";
        // The engine's library opens both files; the worker reads and writes them.
        r.source = ::open(argv[i], O_RDONLY | O_CLOEXEC);
        r.temp = ::open(temp.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (r.source < 0 || r.temp < 0)
            return 2;
        auto t0 = std::chrono::steady_clock::now();
        worker.Probe(r.source);
        auto t1 = std::chrono::steady_clock::now();
        EncryptResult result = worker.Encrypt(r, [](int) {});
        auto t2 = std::chrono::steady_clock::now();
        ::close(r.source);
        ::close(r.temp);
        ::unlink(temp.c_str());
        int w = static_cast<int>(result.writer);
        ++counts[w];
        if (result.code != PDFMS_OK)
            ++failed;
        ++reasons[std::string(names[w]) + " " + result.reason];
        std::printf("%-8s %-22s code %d, probe %.3f s, encrypt %.3f s  %s\n", names[w],
                    result.reason.c_str(), result.code,
                    std::chrono::duration<double>(t1 - t0).count(),
                    std::chrono::duration<double>(t2 - t1).count(), argv[i]);
    }
    for (const auto& [reason, count] : reasons)
        std::printf("  %5d  %s\n", count, reason.c_str());
    ::rmdir(dir);
    std::printf("one-pass %d, qpdf %d, neither %d; %d failed\n", counts[1], counts[2], counts[0],
                failed);
    return 0;
}
