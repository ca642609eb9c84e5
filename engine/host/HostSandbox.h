#pragma once
// The seccomp filter the engine host runs under once it has said hello: the
// system calls its work needs on descriptors it already holds (read, write, map,
// stat, truncate and flush them; memory; time; futexes; the socket to the
// library), and nothing that opens, creates, removes, executes, connects or
// signals. Any other call ends the whole process at once (SIGSYS), which the
// library reports as a crashed host. no_new_privs is set first, as the kernel
// requires of an unprivileged filter.

class HostSandbox {
public:
    // Warms what would otherwise open files on first use (OpenSSL's
    // configuration and random generator), then installs the filter on every
    // thread of the process. `channel` is the socket to the library, the only
    // one messages may travel on. False when the filter cannot be installed.
    static bool Install(int channel);
};
