#include "skin/RadioGroup.h"

#include "skin/SkinRadioButton.h"

void RadioGroup::Add(SkinRadioButton* button) {
    if (!button)
        return;
    button->AttachToGroup(this, m_count);
    m_members.push_back(button);
    m_count = static_cast<int>(m_members.size());
}

void RadioGroup::Add(std::initializer_list<SkinRadioButton*> buttons) {
    for (SkinRadioButton* button : buttons)
        Add(button);
}

SkinRadioButton* RadioGroup::GetButton(int index) const {
    if (index < 0 || index >= m_count)
        return nullptr;
    return m_members[index];
}

void RadioGroup::Select(int index) {
    SkinRadioButton* chosen = GetButton(index);
    if (!chosen)
        return;
    if (SkinRadioButton* previous = GetButton(m_selected)) {
        if (previous != chosen)
            previous->SetSelectedMark(false);
    }
    // Members marked by SetValue before the group knew about it are cleared too,
    // so exactly one member is ever shown selected.
    for (SkinRadioButton* member : m_members) {
        if (member != chosen && member->GetValue())
            member->SetSelectedMark(false);
    }
    chosen->SetSelectedMark(true);
    m_selected = index;
}

void RadioGroup::InitFromButtons() {
    for (int i = 0; i < m_count; ++i) {
        if (m_members[i]->GetValue()) {
            m_selected = i;
            return;
        }
    }
}
