#include "engine/host/HostSandbox.h"

#include <fcntl.h>
#include <initializer_list>
#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>
#include <seccomp.h>
#include <sys/mman.h>
#include <sys/prctl.h>

namespace {

// Loads what the work would otherwise load on first use, by opening files: the
// OpenSSL configuration, its ciphers and the seeding of its random generator.
void Warm() {
    OPENSSL_init_crypto(OPENSSL_INIT_LOAD_CONFIG | OPENSSL_INIT_ADD_ALL_CIPHERS |
                            OPENSSL_INIT_ADD_ALL_DIGESTS,
                        nullptr);
    unsigned char seed[16];
    RAND_bytes(seed, sizeof seed);
    EVP_CIPHER_free(EVP_CIPHER_fetch(nullptr, "AES-256-CBC", nullptr));
}

class Filter {
public:
    Filter() : m_ctx(seccomp_init(SCMP_ACT_KILL_PROCESS)) {}
    ~Filter() {
        if (m_ctx)
            seccomp_release(m_ctx);
    }
    Filter(const Filter&) = delete;
    Filter& operator=(const Filter&) = delete;

    bool ok() const { return m_ctx != nullptr && m_ok; }
    void Allow(int call) { Add(seccomp_rule_add(m_ctx, SCMP_ACT_ALLOW, call, 0)); }
    void Allow(int call, scmp_arg_cmp a) {
        Add(seccomp_rule_add(m_ctx, SCMP_ACT_ALLOW, call, 1, a));
    }
    bool Load() {
        // Every thread (the hang-up watch's too), and a call of a foreign
        // architecture's numbering ends the process like any refused call.
        return ok() && seccomp_attr_set(m_ctx, SCMP_FLTATR_CTL_TSYNC, 1) == 0 &&
               seccomp_attr_set(m_ctx, SCMP_FLTATR_CTL_NNP, 1) == 0 &&
               seccomp_attr_set(m_ctx, SCMP_FLTATR_ACT_BADARCH, SCMP_ACT_KILL_PROCESS) == 0 &&
               seccomp_load(m_ctx) == 0;
    }

private:
    void Add(int rc) { m_ok = m_ok && rc == 0; }

    scmp_filter_ctx m_ctx;
    bool m_ok = true;
};

} // namespace

bool HostSandbox::Install(int channel) {
    if (channel < 0)
        return false;
    Warm();
    if (::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0)
        return false;
    Filter f;
    const auto onChannel = SCMP_A0(SCMP_CMP_EQ, static_cast<scmp_datum_t>(channel));
    // Memory is never made executable: nothing is loaded after this point.
    const auto noExec = SCMP_A2(SCMP_CMP_MASKED_EQ, PROT_EXEC, 0);

    // Descriptors already held: the source, the temporary output, the socket.
    for (int call :
         {SCMP_SYS(read), SCMP_SYS(pread64), SCMP_SYS(readv), SCMP_SYS(write), SCMP_SYS(pwrite64),
          SCMP_SYS(writev), SCMP_SYS(lseek), SCMP_SYS(fstat), SCMP_SYS(ftruncate),
          SCMP_SYS(fallocate), SCMP_SYS(fsync), SCMP_SYS(fdatasync), SCMP_SYS(sync_file_range),
          SCMP_SYS(fadvise64), SCMP_SYS(close), SCMP_SYS(poll), SCMP_SYS(ppoll)})
        f.Allow(call);
    // glibc's fstat is newfstatat(fd, "", AT_EMPTY_PATH).
    f.Allow(SCMP_SYS(newfstatat), SCMP_A3(SCMP_CMP_MASKED_EQ, AT_EMPTY_PATH, AT_EMPTY_PATH));
    // A second descriptor of a held file, for a reader of its own.
    f.Allow(SCMP_SYS(fcntl), SCMP_A1(SCMP_CMP_EQ, F_DUPFD_CLOEXEC));
    f.Allow(SCMP_SYS(recvmsg), onChannel);
    f.Allow(SCMP_SYS(sendmsg), onChannel);
    // Memory.
    f.Allow(SCMP_SYS(mmap), noExec);
    f.Allow(SCMP_SYS(mprotect), noExec);
    for (int call : {SCMP_SYS(munmap), SCMP_SYS(mremap), SCMP_SYS(madvise), SCMP_SYS(brk)})
        f.Allow(call);
    // Threads, time, signals, random numbers, the end.
    for (int call :
         {SCMP_SYS(futex), SCMP_SYS(clock_gettime), SCMP_SYS(gettimeofday), SCMP_SYS(nanosleep),
          SCMP_SYS(clock_nanosleep), SCMP_SYS(alarm), SCMP_SYS(setitimer), SCMP_SYS(rt_sigreturn),
          SCMP_SYS(rt_sigprocmask), SCMP_SYS(rt_sigaction), SCMP_SYS(getpid), SCMP_SYS(gettid),
          SCMP_SYS(getrandom), SCMP_SYS(exit), SCMP_SYS(exit_group)})
        f.Allow(call);
#ifdef PZ_SANDBOX_SANITIZERS
    // Sanitizer builds only (never a release): their runtimes yield, look at
    // their own stack and limits, and probe memory through a pipe.
    for (int call :
         {SCMP_SYS(sched_yield), SCMP_SYS(sigaltstack), SCMP_SYS(getrlimit), SCMP_SYS(pipe2),
          SCMP_SYS(prlimit64), SCMP_SYS(prctl), SCMP_SYS(sched_getaffinity)})
        f.Allow(call);
#endif
    return f.Load();
}
