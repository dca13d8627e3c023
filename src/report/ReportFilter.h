#pragma once
// The report's filters, the viewer's rules: a period whose threshold comes
// from the local clock (an entry must be later, not equal), and a text the
// file name must hold. A row must pass both.
#include <optional>
#include <string>

#include "history/StartItem.h"
#include "report/ReportOptions.h"

class ReportFilter {
public:
    ReportFilter(const ReportOptions& options, TDateTime now);
    bool Accepts(const TStartItem& item) const;

private:
    std::optional<TDateTime> after_;
    std::optional<std::string> needle_;
};
