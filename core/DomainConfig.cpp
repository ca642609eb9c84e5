#include "core/DomainConfig.h"

#include "core/AppUtil.h"
#include "core/FileUtil.h"

#include <wx/log.h>
#include <wx/mstream.h>
#include <wx/xml/xml.h>

DomainConfig* g_config = nullptr;

namespace {
bool ParseSettings(const wxString& path, wxXmlDocument& doc) {
    wxLogNull quiet; // a broken file is replaced, not reported
    return doc.Load(path, "UTF-8");
}

int CountChildren(const wxXmlNode* node) {
    int count = 0;
    for (const wxXmlNode* child = node->GetChildren(); child; child = child->GetNext())
        ++count;
    return count;
}

wxString TextOf(const wxXmlNode* node) {
    for (const wxXmlNode* child = node->GetChildren(); child; child = child->GetNext()) {
        if (child->GetType() == wxXML_TEXT_NODE || child->GetType() == wxXML_CDATA_SECTION_NODE)
            return child->GetContent();
    }
    return wxString();
}

void SetTextOf(wxXmlNode* node, const wxString& value) {
    if (wxXmlNode* first = node->GetChildren())
        first->SetContent(value);
    else
        node->AddChild(new wxXmlNode(wxXML_TEXT_NODE, wxString(), value));
}
} // namespace

DomainConfig::DomainConfig(const wxString& path) : m_path(path) {
    Load();
}

DomainConfig::~DomainConfig() {
    Save();
}

const char* DomainConfig::DefaultTemplate() {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
           "<setting>\r\n"
           "   <last-convert-dir></last-convert-dir>\r\n"
           "   <last-output-dir></last-output-dir>\r\n"
           "</setting>\r\n";
}

bool DomainConfig::IsValid() const {
    if (!FileUtil::FileExists(m_path))
        return false;
    wxXmlDocument doc;
    if (!ParseSettings(m_path, doc) || !doc.GetRoot())
        return false;
    return CountChildren(doc.GetRoot()) >= 2;
}

bool DomainConfig::CreateDefault(bool force) const {
    if (!force && FileUtil::FileExists(m_path))
        return false;
    FileUtil::WriteFileAtomically(m_path, DefaultTemplate());
    return true;
}

void DomainConfig::Load() {
    if (!IsValid())
        CreateDefault(true);
    wxXmlDocument doc;
    if (ParseSettings(m_path, doc) && doc.GetRoot() && CountChildren(doc.GetRoot()) >= 2) {
        const wxXmlNode* first = doc.GetRoot()->GetChildren();
        m_lastConvertDir = TextOf(first);
        m_lastOutputDir = TextOf(first->GetNext());
        if (!FileUtil::PathExists(m_lastOutputDir))
            m_lastOutputDir = AppUtil::GetDefaultOutputDir();
    } else {
        m_lastConvertDir.clear();
        m_lastOutputDir = AppUtil::GetDefaultOutputDir();
    }
}

bool DomainConfig::Save() const {
    CreateDefault(false);
    wxXmlDocument doc;
    if (!ParseSettings(m_path, doc) || !doc.GetRoot())
        return false;
    // Edited into something else while we ran: leave it alone.
    if (CountChildren(doc.GetRoot()) < 2)
        return false;
    wxXmlNode* first = doc.GetRoot()->GetChildren();
    SetTextOf(first, m_lastConvertDir);
    SetTextOf(first->GetNext(), m_lastOutputDir);

    wxMemoryOutputStream out;
    if (!doc.Save(out, 2))
        return false;
    std::string data(out.GetLength(), '\0');
    out.CopyTo(&data[0], data.size());
    return FileUtil::WriteFileAtomically(m_path, data);
}
