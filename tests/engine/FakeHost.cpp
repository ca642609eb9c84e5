// pz-fake-host: an engine host that answers what a test tells it, for the paths a
// real PDF cannot produce on demand. The library starts it like the real host;
// the environment variable PZ_FAKE_HOST says how to behave, per request kind:
//
//   PZ_FAKE_HOST="probe=good,encrypt=garbled,hello=good"
//
//   good     a well-formed answer (encrypt writes a small temporary file)
//   garbled  numbers that are not numbers
//   short    too few fields
//   wrong    the reply of the other request kind
//   silent   never answers
//   slow     (encrypt) writes and reports 1 % every 20 ms, then answers well
//   fatal    a "fatal" message
//   crash    aborts
//   code:N   (encrypt) answers with result code N; "slow+code:N" after writing slowly
//   (hello)  good, garbled, or old (a version that is not ours)
//
// It watches for the library hanging up exactly as the real host does.

#include "engine/api/HostChannel.h"
#include "engine/api/HostProtocol.h"
#include "engine/host/HangupWatch.h"

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <map>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

using HostProtocol::Message;

std::map<std::string, std::string> ReadScript() {
    std::map<std::string, std::string> script = {
        {"hello", "good"}, {"probe", "good"}, {"encrypt", "good"}};
    const char* env = std::getenv("PZ_FAKE_HOST");
    std::string text = env ? env : "";
    size_t pos = 0;
    while (pos < text.size()) {
        size_t comma = text.find(',', pos);
        if (comma == std::string::npos)
            comma = text.size();
        const std::string item = text.substr(pos, comma - pos);
        const size_t eq = item.find('=');
        if (eq != std::string::npos)
            script[item.substr(0, eq)] = item.substr(eq + 1);
        pos = comma + 1;
    }
    return script;
}

[[noreturn]] void Hang() {
    for (;;)
        std::this_thread::sleep_for(std::chrono::seconds(1));
}

void WriteTemp(const std::string& path, const std::string& text) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0) {
        const ssize_t ignored = ::write(fd, text.data(), text.size());
        (void)ignored;
        ::close(fd);
    }
}

Message Hello(const std::string& how) {
    if (how == "garbled")
        return {"hello", "two"};
    if (how == "old")
        return HostProtocol::Encode(HostProtocol::Hello{HostProtocol::kVersion - 1});
    return HostProtocol::Encode(HostProtocol::Hello{});
}

// The behaviours both request kinds share; false when `how` is not one of them.
bool Misbehave(HostChannel& channel, const std::string& how, const Message& wrongKind) {
    if (how == "silent")
        Hang();
    if (how == "crash")
        std::abort();
    if (how == "fatal")
        channel.Send(HostProtocol::Encode(HostProtocol::Fatal{"out of memory"}));
    else if (how == "wrong")
        channel.Send(wrongKind);
    else
        return false;
    return true;
}

void AnswerProbe(HostChannel& channel, const std::string& how) {
    const Message wrong =
        HostProtocol::Encode(HostProtocol::EncryptReply{0, HostProtocol::Writer::Qpdf, "clean"});
    if (Misbehave(channel, how, wrong))
        return;
    if (how == "garbled")
        channel.Send({"probe", "0", "1", "3 pages"});
    else if (how == "short")
        channel.Send({"probe", "0"});
    else
        channel.Send(HostProtocol::Encode(HostProtocol::ProbeReply{0, 0, 1}));
}

void AnswerEncrypt(HostChannel& channel, std::string how,
                   const HostProtocol::EncryptRequest& request) {
    HangupWatch::SetCurrentTemp(request.temp);
    WriteTemp(request.temp, "%PDF-1.4\n% written by the fake host\n");
    HostProtocol::EncryptReply reply{0, HostProtocol::Writer::OnePass, "clean"};
    if (Misbehave(channel, how, HostProtocol::Encode(HostProtocol::ProbeReply{})))
        return;
    if (how == "garbled") {
        channel.Send({"encrypt", "0x", "1"});
        return;
    }
    if (how == "short") {
        channel.Send({"encrypt"});
        return;
    }
    if (how.compare(0, 4, "slow") == 0) {
        for (int percent = 0; percent <= 100; ++percent) {
            channel.Send(HostProtocol::Encode(HostProtocol::Progress{percent}));
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        how.erase(0, how.compare(0, 5, "slow+") == 0 ? 5 : 4);
    }
    if (how.compare(0, 5, "code:") == 0) {
        reply.code = std::atoi(how.c_str() + 5);
        reply.writer = HostProtocol::Writer::None;
    }
    HangupWatch::SetCurrentTemp("");
    channel.Send(HostProtocol::Encode(reply));
}

void Serve(int fd) {
    const std::map<std::string, std::string> script = ReadScript();
    HostChannel channel(fd);
    channel.Send(Hello(script.at("hello")));
    Message message;
    while (channel.Receive(message, -1) == HostChannel::ReadResult::Ok) {
        HostProtocol::ProbeRequest probe;
        HostProtocol::EncryptRequest encrypt;
        if (HostProtocol::Decode(message, probe))
            AnswerProbe(channel, script.at("probe"));
        else if (HostProtocol::Decode(message, encrypt))
            AnswerEncrypt(channel, script.at("encrypt"), encrypt);
        else
            break;
    }
    ::_exit(0);
}

} // namespace

int main(int argc, char** argv) {
    // The library passes --channel-fd=3 first; the limits do not matter here.
    const std::string prefix = "--channel-fd=";
    if (argc < 2 || std::string(argv[1]).compare(0, prefix.size(), prefix) != 0)
        return 2;
    const int fd = std::atoi(argv[1] + prefix.size());
    std::thread(Serve, fd).detach();
    HangupWatch::Run(fd);
}
