#pragma once
// The 13 real user hives of the shared test data, with their UserAssist
// exports and what independent tools counted in them (hivex walks of every
// value; names sorted into kinds by their decoded form).
#include <array>
#include <string>

#include "TestData.h"

struct UserAssistHive {
    const char* Folder;
    const char* Hive;  // as stored: some are .xz-compressed
    const char* Export;
    int Values;        // in every "Count" key together
    int Sessions;      // UEME_CTLSESSION values
    int KnownFolders;  // names that begin with a known folder's GUID
    int DrivePaths;    // names that begin with "X:\"
};

inline constexpr std::array<UserAssistHive, 13> UserAssistHives = {{
    {"plaso", "NTUSER.DAT", "NTUSER.DAT.UserAssist.reg", 16, 2, 0, 0},
    {"plaso", "NTUSER-WIN7.DAT", "NTUSER-WIN7.DAT.UserAssist.reg", 92, 2, 53, 16},
    {"plaso", "NTUSER-CCLEANER.DAT", "NTUSER-CCLEANER.DAT.UserAssist.reg", 26, 2, 18, 1},
    {"dfwinreg", "NTUSER.DAT", "NTUSER.DAT.UserAssist.reg", 15, 2, 2, 4},
    {"notatin", "NTUSER.DAT", "NTUSER.DAT.UserAssist.reg", 88, 3, 30, 17},
    {"notatin", "win7_ntuser.dat", "win7_ntuser.dat.UserAssist.reg", 338, 2, 200, 101},
    {"regipy", "NTUSER.DAT.xz", "NTUSER.DAT.UserAssist.reg", 33, 2, 19, 2},
    {"regipy", "NTUSER-WSL.DAT.xz", "NTUSER-WSL.DAT.UserAssist.reg", 38, 2, 17, 0},
    {"regipy", "NTUSER_BAGMRU.DAT.xz", "NTUSER_BAGMRU.DAT.UserAssist.reg", 167, 8, 72, 31},
    {"regipy", "NTUSER_modified.DAT.xz", "NTUSER_modified.DAT.UserAssist.reg", 33, 2, 19, 2},
    {"regipy", "NTUSER_with_winscp.DAT.xz", "NTUSER_with_winscp.DAT.UserAssist.reg", 140, 2, 65, 31},
    {"regipy", "transactions_NTUSER.DAT.xz", "transactions_NTUSER.DAT.UserAssist.reg", 22, 2, 6, 1},
    {"regipy", "ntuser_software_partial.xz", "ntuser_software_partial.UserAssist.reg", 185, 2, 62, 73},
}};

inline std::filesystem::path HivesDir()
{
    return TestDataDir() / "hives";
}

inline std::filesystem::path ExportOf(const UserAssistHive& hive)
{
    return HivesDir() / hive.Folder / hive.Export;
}

inline std::string NameOf(const UserAssistHive& hive)
{
    return std::string(hive.Folder) + "/" + hive.Hive;
}
