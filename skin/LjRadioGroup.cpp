#include "skin/LjRadioGroup.h"

#include "skin/LjRadioButton.h"

void LjRadioGroup::Add(LjRadioButton* button) {
    if (!button)
        return;
    button->AttachToGroup(this, m_count);
    m_members.push_back(button);
    m_count = static_cast<int>(m_members.size());
}

void LjRadioGroup::Add(std::initializer_list<LjRadioButton*> buttons) {
    for (LjRadioButton* button : buttons)
        Add(button);
}

LjRadioButton* LjRadioGroup::GetButton(int index) const {
    if (index < 0 || index >= m_count)
        return nullptr;
    return m_members[index];
}

void LjRadioGroup::Select(int index) {
    LjRadioButton* chosen = GetButton(index);
    if (!chosen)
        return;
    if (LjRadioButton* previous = GetButton(m_selected)) {
        if (previous != chosen)
            previous->SetSelectedMark(false);
    }
    // Members marked by SetValue before the group knew about it are cleared too,
    // so exactly one member is ever shown selected.
    for (LjRadioButton* member : m_members) {
        if (member != chosen && member->GetValue())
            member->SetSelectedMark(false);
    }
    chosen->SetSelectedMark(true);
    m_selected = index;
}

void LjRadioGroup::InitFromButtons() {
    for (int i = 0; i < m_count; ++i) {
        if (m_members[i]->GetValue()) {
            m_selected = i;
            return;
        }
    }
}
