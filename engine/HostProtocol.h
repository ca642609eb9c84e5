#pragma once
// Requests and replies between the engine library and pdfzerovovor-engine.
//
//   probe   path timeLimitSeconds
//     -> probe  openState encrypted pageCount
//   encrypt source temp timeLimitSeconds level user owner printing copy modify
//           annotate forms accessibility assemble
//     -> progress percent           (any number of times)
//     -> encrypt  code              (a PDFMS_* result)
//   any request -> fatal reason     (the host ran out of memory and exits)
//
// The library renames the temporary file after an "encrypt 0" reply; the host
// never touches the output name itself.

namespace HostProtocol {
constexpr const char* kProbe = "probe";
constexpr const char* kEncrypt = "encrypt";
constexpr const char* kProgress = "progress";
constexpr const char* kFatal = "fatal";
constexpr int kEncryptFields = 14;
// The host's own guard: it ends itself this long after a request's time limit,
// in case the library that should have killed it is gone.
constexpr int kHostGraceSeconds = 5;
} // namespace HostProtocol
