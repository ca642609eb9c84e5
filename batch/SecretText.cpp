#include "batch/SecretText.h"

#include "engine/api/WipeSecret.h"

SecretText::SecretText(const std::string& utf8) {
    // Room for the whole text first: growing would leave the old buffer unwiped.
    m_utf8.reserve(utf8.size());
    m_utf8.append(utf8);
}

SecretText::~SecretText() {
    WipeSecret(m_utf8);
}
