#pragma once
// The report tool's exit codes; a run ends with the highest that applies.
enum class ExitCode : int {
    Success = 0,       // all read (a hive that was not closed cleanly too)
    ValueRefused = 1,  // the reader refused a value; the rows before it were reported
    Usage = 2,
    FileUnreadable = 3,  // missing or unreadable
    NotASource = 4,      // not a hive, or not a registry export
    DamagedHive = 5,
    MalformedExport = 6,  // a line of a .reg file cannot be read
    HiveNotSaved = 7,     // --save-recovered-hive had nothing to write, or could not write it
};
