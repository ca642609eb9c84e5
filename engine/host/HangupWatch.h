#pragma once
// A library process that dies (killed, crashed) cannot clean up after its host:
// when its end of the socket goes away, the host removes the half-written output
// and leaves at once instead of finishing a file nobody will rename.

#include <mutex>
#include <string>

class HangupWatch {
public:
    // The temporary output being written now; "" when none.
    static void SetCurrentTemp(const std::string& path);
    // Waits on the main thread until the peer hangs up, then removes the current
    // temporary file and ends the process.
    [[noreturn]] static void Run(int fd);

private:
    static std::mutex s_mutex;
    static std::string s_temp;
};
