#pragma once
// Wrappers for the common controls the forms use: a report-style list view
// and a progress bar.
#include <initializer_list>
#include <string>
#include <string_view>

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
    // Appends a row: its caption, then the texts of the further columns.
    void AddRow(const std::string& caption, std::initializer_list<std::string_view> cells);
    int RowCount() const;
    std::string CellText(int row, int column) const;

protected:
    void FillCreateParams(CreateParams& params) override;
    void HandleCreated() override;
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
