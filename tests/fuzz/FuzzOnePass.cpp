#include "FuzzTargets.h"

#include "engine/api/EngineService.h"
#include "engine/host/PdfWorker.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <condition_variable>
#include <map>
#include <mutex>
#include <pthread.h>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace {

// As the host: qpdf walks object graphs by recursion, on a thread with a large
// stack.
constexpr size_t kStack = size_t(256) << 20;
// Larger tables are not worth writing for an input of at most a few hundred KB.
constexpr long kMaxObjects = 100000;

struct Job {
    const uint8_t* data;
    size_t size;
};

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "pz-fuzz-one-pass: %s\n", what);
    std::abort();
}

// A file in memory, as the library would hand over an open file.
int MemoryFile(const char* name, const std::string& bytes) {
    const int fd = ::memfd_create(name, MFD_CLOEXEC);
    if (fd < 0 || (!bytes.empty() &&
                   ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())))
        Fail("no memory file");
    return fd;
}

bool IsSpace(char c) {
    return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\0';
}

// Digits at `i` (at most `max` of them), then white space; false otherwise.
bool Number(const std::string& s, size_t& i, size_t max, long& value) {
    const size_t from = i;
    value = 0;
    while (i < s.size() && i - from < max && s[i] >= '0' && s[i] <= '9')
        value = value * 10 + (s[i++] - '0');
    if (i == from || i >= s.size() || !IsSpace(s[i]))
        return false;
    while (i < s.size() && IsSpace(s[i]))
        ++i;
    return true;
}

// Whether "N G <word>" starts at i; N and G come out.
bool Triple(const std::string& s, size_t i, const char* word, long& num, long& gen) {
    if (i > 0 && !IsSpace(s[i - 1]) && s[i - 1] != '>' && s[i - 1] != ']')
        return false;
    const std::string w = word;
    return Number(s, i, 10, num) && Number(s, i, 5, gen) && s.compare(i, w.size(), w) == 0 &&
           (i + w.size() == s.size() || !std::isalnum(static_cast<unsigned char>(s[i + w.size()])));
}

// Mutations break cross-reference offsets far more often than anything else,
// and a file qpdf cannot open at all never reaches a writer. This appends a
// fresh section that points at every "N G obj" (the last of each number), with
// the last /Root named anywhere; empty when there is no such catalog.
std::string WithFreshXref(const std::string& s) {
    std::map<long, std::pair<size_t, long>> objects;
    long rootNum = -1, rootGen = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        long num = 0, gen = 0;
        if (s[i] >= '0' && s[i] <= '9' && Triple(s, i, "obj", num, gen) && num > 0 &&
            num < kMaxObjects)
            objects[num] = {i, gen};
        if (s.compare(i, 5, "/Root") == 0) {
            size_t k = i + 5;
            while (k < s.size() && IsSpace(s[k]))
                ++k;
            if (Triple(s, k, "R", num, gen))
                rootNum = num, rootGen = gen;
        }
    }
    if (objects.empty() || rootNum <= 0)
        return std::string();
    std::string out = s + "\n";
    const size_t xref = out.size();
    const long size = objects.rbegin()->first + 1;
    out += "xref\n0 " + std::to_string(size) + "\n0000000000 65535 f \n";
    char entry[32];
    for (long num = 1; num < size; ++num) {
        auto it = objects.find(num);
        if (it == objects.end())
            std::snprintf(entry, sizeof entry, "0000000000 00000 f \n");
        else
            std::snprintf(entry, sizeof entry, "%010zu %05ld n \n", it->second.first,
                          it->second.second % 100000);
        out += entry;
    }
    out += "trailer\n<< /Size " + std::to_string(size) + " /Root " + std::to_string(rootNum) + " " +
           std::to_string(rootGen) + " R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    return out;
}

// Probes `bytes` and, when qpdf opens it (repaired or not), encrypts it: the
// worker chooses the writer, writes and checks the output. False when the file
// cannot be written at all.
bool Encrypt(const std::string& bytes) {
    EncryptRequest r;
    r.source = MemoryFile("source", bytes);
    r.temp = MemoryFile("temp", std::string());
    // Every level from the same seeds, and the same level for the same input.
    r.level = static_cast<int32_t>(bytes.size() % 4);
    r.user = "reader";
    r.owner = "boss";
    r.printing = PDFMS_PRINT_LOW;
    r.copy = true;
    PdfWorker worker;
    const int32_t state = worker.Probe(r.source).openState;
    const bool opens = state == PDFMS_OPEN_OK || state == PDFMS_OPEN_REPAIRED;
    if (opens) {
        const EncryptResult result = worker.Encrypt(r, [](int) {});
        // The file did not change underneath, so that is never the reason.
        if (result.code == PDFMS_ERR_SOURCE_CHANGED)
            Fail("a source in memory changed");
    }
    ::close(r.source);
    ::close(r.temp);
    return opens;
}

void* Run(void* p) {
    const Job& job = *static_cast<const Job*>(p);
    const std::string bytes(reinterpret_cast<const char*>(job.data), job.size);
    if (!Encrypt(bytes)) {
        const std::string fixed = WithFreshXref(bytes);
        if (!fixed.empty())
            Encrypt(fixed);
    }
    return nullptr;
}

} // namespace

int FuzzOnePass(const uint8_t* data, size_t size) {
    // One worker for every input: a thread per input costs more than the work
    // under the sanitizers. Never destroyed: the worker waits on them at exit.
    static auto* mutex = new std::mutex;
    static auto* changed = new std::condition_variable;
    static const Job* pending = nullptr;
    std::unique_lock<std::mutex> lock(*mutex);
    static const bool started = [] {
        auto serve = [](void*) -> void* {
            std::unique_lock<std::mutex> held(*mutex);
            for (;;) {
                changed->wait(held, [] { return pending != nullptr; });
                Run(const_cast<Job*>(pending));
                pending = nullptr;
                changed->notify_all();
            }
        };
        pthread_attr_t attr;
        pthread_attr_init(&attr);
        pthread_attr_setstacksize(&attr, kStack);
        pthread_t thread;
        const bool ok = pthread_create(&thread, &attr, serve, nullptr) == 0;
        pthread_attr_destroy(&attr);
        return ok;
    }();
    if (!started)
        Fail("no worker thread");
    Job job{data, size};
    pending = &job;
    changed->notify_all();
    changed->wait(lock, [] { return pending == nullptr; });
    return 0;
}
