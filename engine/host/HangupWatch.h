#pragma once
// A library process that dies (killed, crashed) cannot clean up after its host:
// when its end of the socket goes away, the host empties the half-written output
// and leaves at once instead of finishing a file nobody will rename. The host
// holds only the output's descriptor, not its name, so the empty file itself is
// left for the next run's sweep of stale temporary files.

#include <mutex>

class HangupWatch {
public:
    // The temporary output being written now; -1 when none.
    static void SetCurrentTemp(int fd);
    // Waits on the main thread until the peer hangs up, then empties the current
    // temporary file and ends the process.
    [[noreturn]] static void Run(int fd);

private:
    static std::mutex s_mutex;
    static int s_temp;
};
