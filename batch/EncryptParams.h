#pragma once
// The engine's parameter record for a run, with the UTF-8 passwords it points to.

#include "batch/EncryptOptions.h"
#include "engine/api/EngineService.h"

#include <string>

class EncryptParams {
public:
    // Passwords count only when their switch is on; printing and the permission
    // flags only with an owner password, as the pane shows them.
    explicit EncryptParams(const RunOptions& run);
    ~EncryptParams();
    EncryptParams(const EncryptParams&) = delete;
    EncryptParams& operator=(const EncryptParams&) = delete;

    const PdfMSEncryptParams* get() const { return &m_params; }

private:
    std::string m_user;
    std::string m_owner;
    std::string m_source;
    PdfMSEncryptParams m_params;
};
