#include "engine/host/TruncationGuard.h"

#include <atomic>
#include <csignal>
#include <cstdint>
#include <mutex>
#include <sys/mman.h>
#include <unistd.h>

namespace {

struct Watched {
    std::atomic<uintptr_t> begin{0};
    std::atomic<uintptr_t> end{0}; // page-aligned
    std::atomic<bool> cut{false};
};

// A host has one or two sources mapped at a time.
constexpr int kSlots = 8;
Watched g_watched[kSlots];
std::mutex g_slots; // Watch and Forget; the handler reads the atomics only
uintptr_t g_pageMask = 4095;
struct sigaction g_previous;

void OnBusError(int, siginfo_t* info, void*) {
    const uintptr_t at = reinterpret_cast<uintptr_t>(info->si_addr);
    for (Watched& w : g_watched) {
        const uintptr_t begin = w.begin.load();
        const uintptr_t end = w.end.load();
        if (begin == 0 || at < begin || at >= end)
            continue;
        const uintptr_t page = at & ~g_pageMask;
        // mmap is a plain system call, safe here in practice. The read that
        // faulted is retried on return and sees zeros.
        if (::mmap(reinterpret_cast<void*>(page), end - page, PROT_READ,
                   MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) != MAP_FAILED) {
            w.cut.store(true);
            return;
        }
        break;
    }
    // Not ours: what would have happened without us.
    ::sigaction(SIGBUS, &g_previous, nullptr);
    ::raise(SIGBUS);
}

void Install() {
    g_pageMask = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE)) - 1;
    struct sigaction a = {};
    a.sa_sigaction = OnBusError;
    a.sa_flags = SA_SIGINFO;
    sigemptyset(&a.sa_mask);
    ::sigaction(SIGBUS, &a, &g_previous);
}

Watched* Find(const void* base) {
    for (Watched& w : g_watched)
        if (w.begin.load() == reinterpret_cast<uintptr_t>(base))
            return &w;
    return nullptr;
}

} // namespace

bool TruncationGuard::Watch(const void* base, size_t size) {
    static std::once_flag installed;
    std::call_once(installed, Install);
    std::lock_guard<std::mutex> lock(g_slots);
    Watched* w = Find(nullptr);
    if (!w || !base || size == 0)
        return false;
    const uintptr_t begin = reinterpret_cast<uintptr_t>(base);
    w->cut.store(false);
    w->end.store((begin + size + g_pageMask) & ~g_pageMask);
    w->begin.store(begin);
    return true;
}

void TruncationGuard::Forget(const void* base) {
    std::lock_guard<std::mutex> lock(g_slots);
    if (Watched* w = Find(base)) {
        w->begin.store(0);
        w->end.store(0);
    }
}

bool TruncationGuard::CutShort(const void* base) {
    std::lock_guard<std::mutex> lock(g_slots);
    Watched* w = Find(base);
    return w && w->cut.load();
}
