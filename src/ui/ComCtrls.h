#pragma once
// Wrappers for the common controls the forms use: a report-style list view
// and a progress bar.
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
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
    // Appends a row: its caption, then the texts of the further columns, and
    // a number of the program's that stays with the row wherever it moves.
    void AddRow(const std::string& caption, std::initializer_list<std::string_view> cells, LPARAM data = 0);
    int RowCount() const;
    std::string CellText(int row, int column) const;
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
    int columnCount_ = 0;
    int updateDepth_ = 0;
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
