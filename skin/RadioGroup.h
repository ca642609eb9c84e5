#pragma once
// Makes its radio buttons mutually exclusive. Owned by the window that builds the
// buttons; the buttons are not owned.

#include <initializer_list>
#include <vector>

class SkinRadioButton;

class RadioGroup {
public:
    // Appends the buttons, numbering them 0, 1, 2, ... in the order given.
    void Add(SkinRadioButton* button);
    void Add(std::initializer_list<SkinRadioButton*> buttons);
    // Moves the selection to index (out-of-range indices are ignored).
    void Select(int index);
    // Takes the first member whose selected mark is set as the selection.
    void InitFromButtons();

    int GetSelection() const { return m_selected; }
    int GetCount() const { return m_count; }
    SkinRadioButton* GetButton(int index) const;

private:
    int m_selected = -1;
    std::vector<SkinRadioButton*> m_members;
    int m_count = 0;
};
