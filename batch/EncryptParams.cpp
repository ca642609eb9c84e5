#include "batch/EncryptParams.h"

#include "engine/api/WipeSecret.h"

#include <cstring>

EncryptParams::~EncryptParams() {
    WipeSecret(m_user);
    WipeSecret(m_owner);
    WipeSecret(m_source);
}

EncryptParams::EncryptParams(const RunOptions& run) {
    const EncryptOptions& o = run.options;
    if (run.userPasswordEnabled)
        m_user = o.userPassword.utf8_string();
    if (run.ownerPasswordEnabled)
        m_owner = o.ownerPassword.utf8_string();

    std::memset(&m_params, 0, sizeof m_params);
    m_params.level = o.EncryptionLevel;
    m_params.userPassword = m_user.c_str();
    m_params.ownerPassword = m_owner.c_str();
    m_source = run.sourcePassword.utf8_string();
    m_params.sourcePassword = m_source.c_str();
    m_params.decrypt = run.decrypt ? 1 : 0;
    if (run.ownerPasswordEnabled) {
        m_params.printing = o.PrintPermission;
        m_params.copy = o.copy;
        m_params.modify = o.modify;
        m_params.annotate = o.annotate;
        m_params.fillForms = o.fillForms;
        m_params.accessibility = o.accessibilityCopy;
        m_params.assemble = o.assemble;
        m_params.reserved = o.reserved;
    }
}
