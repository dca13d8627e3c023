#include "ui/Cursors.h"

#include <map>

namespace {

std::map<TCursor, HCURSOR>& CursorTable()
{
    static std::map<TCursor, HCURSOR> table{
        {crDefault, LoadCursor(nullptr, IDC_ARROW)},
        {crHandPoint, LoadCursor(nullptr, IDC_HAND)},
    };
    return table;
}

}  // namespace

HCURSOR CursorHandle(TCursor cursor)
{
    auto& table = CursorTable();
    const auto found = table.find(cursor);
    return found != table.end() && found->second ? found->second : table.at(crDefault);
}

void RegisterCursor(TCursor cursor, HCURSOR handle)
{
    CursorTable()[cursor] = handle;
}

HCURSOR UnregisterCursor(TCursor cursor)
{
    auto& table = CursorTable();
    const auto found = table.find(cursor);
    if (found == table.end())
        return nullptr;
    const HCURSOR handle = found->second;
    table.erase(found);
    return handle;
}
