#pragma once
// The transaction logs beside a hive file: NAME.LOG1 and NAME.LOG2 as Windows
// Vista and later keep them, and NAME.LOG, which some writers use alone.
// Evidence copied off Windows mixes the case of names ("NTUSER.DAT" beside
// "ntuser.dat.LOG1"), so they are matched without regard to ASCII case.
#include <string>
#include <vector>

#include "registry/hive/LogReplay.h"

struct TransactionLogsFound {
    std::vector<TransactionLogFile> Logs;  // the files that are neither empty nor in doubt, read whole
    std::vector<std::string> Paths;        // every file of a log's name, empty or not
    std::vector<std::string> Problems;     // what kept a file from being used, one text each
};

TransactionLogsFound FindTransactionLogs(const std::string& hivePath);

// The paths of the files named as the logs of this hive, without reading them.
std::vector<std::string> TransactionLogPaths(const std::string& hivePath);
