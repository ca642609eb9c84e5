#include "update/DomainOption.h"

#include "core/FileUtil.h"

#include <wx/log.h>

DomainOption* g_option = nullptr;

namespace {
wxString TextOf(const wxXmlNode* node) {
    for (const wxXmlNode* child = node->GetChildren(); child; child = child->GetNext()) {
        if (child->GetType() == wxXML_TEXT_NODE || child->GetType() == wxXML_CDATA_SECTION_NODE)
            return child->GetContent();
    }
    return wxString();
}
} // namespace

DomainOption::DomainOption(const wxString& path) : m_path(path) {}

DomainOption::~DomainOption() = default;

wxString DomainOption::GetValue(int n) const {
    return n >= 1 && n <= 7 ? m_values[n - 1] : wxString();
}

bool DomainOption::ReadOptions() {
    if (!FileUtil::FileExists(m_path))
        return false;
    {
        wxLogNull quiet;
        if (!m_document.Load(m_path, "UTF-8") || !m_document.GetRoot())
            return false;
    }
    const wxXmlNode* container = m_document.GetRoot()->GetChildren();
    if (!container)
        return false;
    // Values 1 to 4 are required; a shorter file leaves the rest empty.
    const wxXmlNode* node = container->GetChildren();
    for (int i = 0; i < 7; ++i) {
        if (!node)
            return false;
        m_values[i] = TextOf(node);
        if (i == 4)
            m_updateUrl = m_values[4] + "-update.xml";
        node = node->GetNext();
    }
    return true;
}
