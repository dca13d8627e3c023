#pragma once
// Wrappers for the common controls the forms use: a report-style list view
// and a progress bar.
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "ui/Control.h"
#include "ui/StdCtrls.h"

class TListView : public TControl {
public:
    explicit TListView(TComponent* owner);

    void AddColumn(const std::string& caption, int width, TAlignment alignment);

    // Suspends repainting until the matching EndUpdate; brackets nest.
    void BeginUpdate();
    void EndUpdate();

    void Clear();
    // Appends a row: the texts of its cells (the first is the row's caption),
    // and a number of the program's that stays with the row wherever it
    // moves. The texts go in through the control's 8-bit messages, in the
    // ANSI code page, or through its wide ones, in UTF-16.
    void AddRow(std::span<const std::string> cells, LPARAM data = 0);
    void AddRow(std::span<const std::u16string> cells, LPARAM data = 0);
    int RowCount() const;
    // A cell's text in the ANSI code page, or in UTF-16 as the control holds it.
    std::string CellText(int row, int column) const;
    std::u16string UnicodeCellText(int row, int column) const;
    LPARAM RowData(int row) const;
    void SetRowData(int row, LPARAM data);

    // Puts the rows in the order of a comparison of their data (negative,
    // zero or positive as for strcmp). Selection and focus move with them.
    using TRowCompare = std::function<int(LPARAM a, LPARAM b)>;
    void SortRows(const TRowCompare& compare);
    // The header's sort arrow, on one column only.
    void SetSortArrow(int column, bool descending);

    void SelectAll();
    int SelectedCount() const;
    // The selected rows, in the order shown.
    std::vector<int> SelectedRows() const;

    // A click on a column's header.
    std::function<void(int column)> OnColumnClick;

protected:
    void FillCreateParams(CreateParams& params) override;
    void HandleCreated() override;
    bool Notify(NMHDR& header, LRESULT& result) override;
    // At the focused row, when it is in view.
    POINT KeyboardContextMenuPoint() const override;
    // Column widths scale with the rest of the design.
    void ChangeScale(int multiplier, int divider) override;

private:
    template <typename Text>
    void InsertRow(std::span<const Text> cells, LPARAM data);
    template <typename Text>
    Text TextOfCell(int row, int column) const;

    int columnCount_ = 0;
    int updateDepth_ = 0;
};

// A status bar of panes side by side, along the bottom of its parent.
class TStatusBar : public TControl {
public:
    explicit TStatusBar(TComponent* owner);

    // The right edges of every pane but the last, which takes the rest.
    void SetPaneEdges(std::vector<int> edges);
    // Texts in UTF-8, shown through the control's wide messages.
    void SetPaneText(int pane, const std::string& text);
    std::string PaneText(int pane) const;

protected:
    void FillCreateParams(CreateParams& params) override;
    void ChangeScale(int multiplier, int divider) override;

private:
    void ApplyPaneEdges();

    std::vector<int> edges_;
};

class TProgressBar : public TControl {
public:
    explicit TProgressBar(TComponent* owner);
    void SetRange(int minimum, int maximum);
    void SetPosition(int position);
    int Position() const;
    int Min() const;
    int Max() const;

protected:
    void FillCreateParams(CreateParams& params) override;
};
