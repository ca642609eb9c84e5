#include "FuzzTargets.h"

#include "engine/api/PdfMSService.h"
#include "engine/host/PdfWorker.h"

#include <cstdio>
#include <cstdlib>
#include <pthread.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

// As the host: qpdf walks object graphs by recursion on a thread with a large
// stack.
constexpr size_t kStack = size_t(256) << 20;

struct Job {
    const uint8_t* data;
    size_t size;
};

// A file in memory, as the library would hand over an open file.
int MemoryFile(const char* name, const uint8_t* data, size_t size) {
    const int fd = ::memfd_create(name, MFD_CLOEXEC);
    if (fd < 0 || (size && ::write(fd, data, size) != static_cast<ssize_t>(size))) {
        std::perror("pz-fuzz-one-pass: memfd");
        std::abort();
    }
    return fd;
}

void* Run(void* p) {
    const Job& job = *static_cast<const Job*>(p);
    EncryptRequest r;
    r.source = MemoryFile("source", job.data, job.size);
    r.temp = MemoryFile("temp", nullptr, 0);
    // Every level from the same seeds, and the same level for the same input.
    r.level = static_cast<int32_t>(job.size % 4);
    r.user = "reader";
    r.owner = "boss";
    r.printing = PDFMS_PRINT_LOW;
    r.copy = true;
    PdfWorker worker;
    // Sources that needed repair go to qpdf's writer, which is qpdf's to fuzz.
    if (worker.Probe(r.source).openState == PDFMS_OPEN_OK) {
        const EncryptResult result = worker.Encrypt(r, [](int) {});
        // The file did not change underneath, so that is never the reason.
        if (result.code == PDFMS_ERR_SOURCE_CHANGED) {
            std::fprintf(stderr, "pz-fuzz-one-pass: a source in memory changed\n");
            std::abort();
        }
    }
    ::close(r.source);
    ::close(r.temp);
    return nullptr;
}

} // namespace

int FuzzOnePass(const uint8_t* data, size_t size) {
    Job job{data, size};
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setstacksize(&attr, kStack);
    pthread_t thread;
    if (pthread_create(&thread, &attr, Run, &job) != 0)
        Run(&job);
    else
        pthread_join(thread, nullptr);
    pthread_attr_destroy(&attr);
    return 0;
}
