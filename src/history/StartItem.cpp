#include "history/StartItem.h"

std::string StartItemTypeToStr(TStartItemType kind)
{
    return kind < StartItemTypeNames.size() ? StartItemTypeNames[kind] : StartItemTypeNames[sitOther];
}

std::string LastExecutedTextOf(TStartItemType kind, TFileTime lastExecuted)
{
    if (kind == sitSession)
        return "No Data";
    DateTimeParts parts;
    if (FileTimeTicks(lastExecuted) == 0 || !FileTimeToCalendar(lastExecuted, parts))
        return "Unknown";
    return FormatDateTime("mm/dd/yyyy hh:nn:ss", EncodeDateTime(parts));
}
