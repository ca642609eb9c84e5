#include "skin/SelectableGrid.h"
#include "skin/ProgressCellRenderer.h"

#include "MouseSim.h"
#include "WaitFor.h"

#include <gtest/gtest.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>

#include <algorithm>

namespace {

const int kRowHeight = 20;

class SelectableGridTest : public ::testing::Test {
protected:
    void SetUp() override {
        frame = new wxFrame(nullptr, wxID_ANY, "grid", wxPoint(10, 10), wxSize(400, 300));
        grid = new SelectableGrid(frame, 2015, wxPoint(0, 0), wxSize(400, 300));
        grid->CreateGrid(5, 2, wxGrid::wxGridSelectRows);
        grid->SetDefaultRowSize(kRowHeight, true);
        grid->SetColLabelSize(20);
        grid->SetRowLabelSize(20);
        frame->Show();
        WaitFor([&] { return grid->GetGridWindow()->IsShownOnScreen(); });
        PumpEvents();
    }
    void TearDown() override {
        frame->Destroy();
        PumpEvents();
    }
    // Presses and releases on a row inside the cell area.
    void ClickRow(int row, bool control) {
        wxWindow* cells = grid->GetGridWindow();
        wxPoint at(10, row * kRowHeight + kRowHeight / 2);
        SendMouse(cells, wxEVT_LEFT_DOWN, at, false, control);
        SendMouse(cells, wxEVT_LEFT_UP, at, false, control);
        PumpEvents();
    }
    std::vector<int> Selected() const {
        wxArrayInt rows = grid->GetSelectedRows();
        std::vector<int> sorted(rows.begin(), rows.end());
        std::sort(sorted.begin(), sorted.end());
        return sorted;
    }

    wxFrame* frame = nullptr;
    SelectableGrid* grid = nullptr;
};

TEST_F(SelectableGridTest, ClickSelectsOneRowControlTogglesAndBelowTheRowsClears) {
    grid->SelectRow(0);
    grid->SelectRow(3, true);
    ClickRow(1, false);
    EXPECT_EQ(Selected(), std::vector<int>({1}));
    ClickRow(3, true);
    ClickRow(4, true);
    EXPECT_EQ(Selected(), std::vector<int>({1, 3, 4}));
    ClickRow(3, true);
    EXPECT_EQ(Selected(), std::vector<int>({1, 4}));

    SendMouse(grid->GetGridWindow(), wxEVT_LEFT_DOWN, wxPoint(10, 5 * kRowHeight + 30));
    SendMouse(grid->GetGridWindow(), wxEVT_LEFT_UP, wxPoint(10, 5 * kRowHeight + 30));
    EXPECT_TRUE(Selected().empty());
    EXPECT_TRUE(grid->GetAllSelectedRows().empty());
}

TEST_F(SelectableGridTest, AllSelectedRowsListsRowsThenBlocks) {
    grid->SetSelectionMode(wxGrid::wxGridSelectCells);
    grid->SelectRow(1);
    grid->SelectBlock(3, 0, 4, 0, true);
    wxArrayInt all = grid->GetAllSelectedRows();
    std::vector<int> rows(all.begin(), all.end());
    EXPECT_EQ(rows, std::vector<int>({1, 3, 4}));
}

TEST_F(SelectableGridTest, PeekedRendererCarriesNoExtraReference) {
    ProgressCellRenderer* renderer = new ProgressCellRenderer;
    grid->SetCellRenderer(2, 1, renderer);
    int before = renderer->GetRefCount();
    wxGridCellRenderer* peeked = grid->PeekCellRenderer(2, 1);
    EXPECT_EQ(peeked, renderer);
    EXPECT_EQ(renderer->GetRefCount(), before);
    grid->RefreshCell(2, 1); // must not disturb the count either
    EXPECT_EQ(renderer->GetRefCount(), before);
    EXPECT_NE(dynamic_cast<ProgressCellRenderer*>(grid->PeekCellRenderer(2, 1)), nullptr);
}

// Draws the renderer into a white bitmap of width x 20 and returns the picture.
wxImage DrawCell(SelectableGrid* grid, ProgressCellRenderer& renderer, int width) {
    wxBitmap target(width, 20);
    wxMemoryDC dc(target);
    dc.SetBackground(*wxWHITE_BRUSH);
    dc.Clear();
    wxGridCellAttr* attr = grid->GetOrCreateCellAttr(0, 1);
    attr->SetBackgroundColour(*wxWHITE);
    renderer.Draw(*grid, *attr, dc, wxRect(0, 0, width, 20), 0, 1, false);
    attr->DecRef();
    dc.SelectObject(wxNullBitmap);
    return target.ConvertToImage();
}

bool IsColour(const wxImage& image, int x, int y, const wxColour& colour) {
    return image.GetRed(x, y) == colour.Red() && image.GetGreen(x, y) == colour.Green() &&
           image.GetBlue(x, y) == colour.Blue();
}

// An outline pixel: a shade of the fill, darker than it.
bool IsOutline(const wxImage& image, int x, int y, const wxColour& fill) {
    return image.GetGreen(x, y) < fill.Green() && image.GetGreen(x, y) > 0 &&
           image.GetRed(x, y) == 0 && image.GetBlue(x, y) == 0;
}

TEST_F(SelectableGridTest, RendererBarIsTruncatedPercentOfTheWidthWithADarkerOutline) {
    grid->SetCellValue(0, 1, "");
    const wxColour fill(0, 200, 0);
    ProgressCellRenderer renderer;
    renderer.SetColour(fill);
    renderer.SetPercent(50);

    wxImage cell = DrawCell(grid, renderer, 101);
    const int y = 10;
    EXPECT_TRUE(IsOutline(cell, 0, y, fill));
    EXPECT_TRUE(IsColour(cell, 25, y, fill));
    EXPECT_TRUE(IsColour(cell, 48, y, fill));
    EXPECT_TRUE(IsOutline(cell, 49, y, fill)) << "50% of 101 pixels is a 50-pixel bar";
    EXPECT_TRUE(IsColour(cell, 50, y, *wxWHITE));
    EXPECT_TRUE(IsColour(cell, 80, y, *wxWHITE));
    EXPECT_EQ(ProgressCellRenderer::BarWidth(101, 50), 50);
    EXPECT_EQ(ProgressCellRenderer::BarWidth(101, 100), 101);

    renderer.SetPercent(0);
    renderer.SetText("Finished");
    wxImage empty = DrawCell(grid, renderer, 101);
    for (int x : {0, 25, 49, 60, 100})
        EXPECT_FALSE(IsColour(empty, x, 19, fill) || IsOutline(empty, x, 19, fill)) << x;
    // The text is drawn at the top left even without a bar.
    bool inked = false;
    for (int x = 0; x < 40 && !inked; ++x)
        for (int yy = 0; yy < 16 && !inked; ++yy)
            inked = !IsColour(empty, x, yy, *wxWHITE);
    EXPECT_TRUE(inked);

    // A clone keeps every setting.
    renderer.SetPercent(42);
    renderer.SetDetail("source cannot be read");
    wxGridCellRenderer* copy = renderer.Clone();
    auto* typed = dynamic_cast<ProgressCellRenderer*>(copy);
    ASSERT_NE(typed, nullptr);
    EXPECT_EQ(typed->GetPercent(), 42);
    EXPECT_EQ(typed->GetDetail(), "source cannot be read");
    EXPECT_EQ(typed->GetText(), "Finished");
    EXPECT_EQ(typed->GetColour(), fill);
    copy->DecRef();
}

} // namespace
