#include "report/ReportFilter.h"

ReportFilter::ReportFilter(const ReportOptions& options, TDateTime now) : needle_(options.Needle)
{
    if (options.Period)
        after_ = DateFilterThreshold(*options.Period, now);
}

bool ReportFilter::Accepts(const TStartItem& item) const
{
    return (!after_ || item.LastExecuted > *after_) && (!needle_ || FileNameMatches(item.FileName, *needle_));
}
