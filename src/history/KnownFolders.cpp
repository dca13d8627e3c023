#include "history/KnownFolders.h"

#include <algorithm>
#include <iterator>

#include "base/AsciiCase.h"

namespace {

struct KnownFolder {
    std::string_view Guid;  // braced, upper-case
    std::string_view Name;
};

// Every KNOWNFOLDERID of the platform headers, by GUID, each named by its
// constant without "FOLDERID_", but for two: Programs is the folder that the
// classic layout writes as "%csidl2%" and gets the same name, "Start Menu"
// (Favorites, its "%csidl6%", already has it); OneDrive and its former name
// SkyDrive share one GUID and show as "OneDrive".
constexpr KnownFolder KnownFolders[] = {
    {"{008CA0B1-55B4-4C56-B8A8-4DE4B299D3BE}", "AccountPictures"},
    {"{00BCFC5A-ED94-4E48-96A1-3F6217F21990}", "RoamingTiles"},
    {"{0139D44E-6AFE-49F2-8690-3DAFCAE6FFB8}", "CommonPrograms"},
    {"{0482AF6C-08F1-4C34-8C90-E17EC98B1E17}", "PublicUserTiles"},
    {"{054FAE61-4DD8-4787-80B6-090220C4B700}", "GameTasks"},
    {"{0762D272-C50A-4BB0-A382-697DCD729B80}", "UserProfiles"},
    {"{0AC0837C-BBF8-452A-850D-79D08E667CA7}", "ComputerFolder"},
    {"{0D4C3DB6-03A3-462F-A0E6-08924C41B5D4}", "SearchHistory"},
    {"{0DDD015D-B06C-45D5-8C4C-F59713854639}", "LocalPictures"},
    {"{0F214138-B1D3-4A90-BBA9-27CBC0C5389A}", "SyncSetupFolder"},
    {"{12D4C69E-24AD-4923-BE19-31321C43A767}", "RetailDemo"},
    {"{15CA69B3-30EE-49C1-ACE1-6B5EC372AFB5}", "SamplePlaylists"},
    {"{1777F761-68AD-4D8A-87BD-30B759FA33DD}", "Favorites"},
    {"{18989B1D-99B5-455B-841C-AB7C74E4DDFC}", "Videos"},
    {"{190337D1-B8CA-4121-A639-6D472D16972A}", "SearchHome"},
    {"{1A6FDBA2-F42D-4358-A798-B74D745926C5}", "RecordedTVLibrary"},
    {"{1AC14E77-02E7-4E5D-B744-2EB1AE5198B7}", "System"},
    {"{1B3EA5DC-B587-4786-B4EF-BD1DC332AEAE}", "Libraries"},
    {"{1C2AC1DC-4358-4B6C-9733-AF21156576F0}", "Device"},
    {"{1E87508D-89C2-42F0-8A7E-645A0F50CA58}", "AppsFolder"},
    {"{2112AB0A-C86A-4FFE-A368-0DE96E47012E}", "MusicLibrary"},
    {"{2400183A-6185-49FB-A2D8-4A392A602BA3}", "PublicVideos"},
    {"{24D89E24-2F19-4534-9DDE-6A6671FBB8FE}", "SkyDriveDocuments"},
    {"{289A9A43-BE44-4057-A41B-587A76D7E7F9}", "SyncResultsFolder"},
    {"{2A00375E-224C-49DE-B8D1-440DF7EF3DDC}", "LocalizedResourcesDir"},
    {"{2B0F765D-C0E9-4171-908E-08A611B84FF6}", "Cookies"},
    {"{2B20DF75-1EDA-4039-8097-38798227D5B7}", "CameraRollLibrary"},
    {"{2C36C0AA-5812-4B87-BFD0-4CD0DFB19B39}", "OriginalImages"},
    {"{2F8B40C2-83ED-48EE-B383-A1F157EC6F9A}", "RecordedCalls"},
    {"{31C0DD25-9439-4F12-BF41-7FF4EDA38722}", "Objects3D"},
    {"{3214FAB5-9757-4298-BB61-92A9DEAA44FF}", "PublicMusic"},
    {"{339719B5-8C47-4894-94C2-D8F77ADD44A6}", "SkyDrivePictures"},
    {"{33E28130-4E1E-4676-835A-98395C3BC3BB}", "Pictures"},
    {"{352481E8-33BE-4251-BA85-6007CAEDCF9D}", "InternetCache"},
    {"{35286A68-3C57-41A1-BBB1-0EAE73D76C95}", "LocalVideos"},
    {"{374DE290-123F-4565-9164-39C4925E467B}", "Downloads"},
    {"{3B193882-D3AD-4EAB-965A-69829D1FB59F}", "SavedPictures"},
    {"{3D644C9B-1FB8-4F30-9B45-F670235F79C0}", "PublicDownloads"},
    {"{3DB40B20-2A30-4DBE-917E-771DD21DD099}", "CurrentAppMods"},
    {"{3EB685DB-65F9-4CF6-A03A-E3EF65729F3D}", "RoamingAppData"},
    {"{43668BF8-C14E-49B2-97C9-747784D784B7}", "SyncManagerFolder"},
    {"{48DAF80B-E6CF-4F4E-B800-0E69D84EE384}", "PublicLibraries"},
    {"{491E922F-5643-4AF4-A7EB-4E7A138D8174}", "VideosLibrary"},
    {"{4BD8D571-6D19-48D3-BE97-422220080E43}", "Music"},
    {"{4BFEFB45-347D-4006-A5BE-AC0CB0567192}", "ConflictFolder"},
    {"{4C5C32FF-BB9D-43B0-B5B4-2D72E54EAAA4}", "SavedGames"},
    {"{4D9F7874-4E0C-4904-967B-40B0D20C3E4B}", "InternetFolder"},
    {"{52528A6B-B9E3-4ADD-B60D-588C2DBA842D}", "HomeGroup"},
    {"{52A4F021-7B75-48A9-9F6B-4B87A210BC8F}", "QuickLaunch"},
    {"{559D40A3-A036-40FA-AF61-84CB430A4D34}", "AppDataProgramData"},
    {"{56784854-C6CB-462B-8169-88E350ACB882}", "Contacts"},
    {"{5CD7AEE2-2219-4A67-B85D-6C9CE15660CB}", "UserProgramFiles"},
    {"{5CE4A5E9-E4EB-479D-B89F-130C02886155}", "DeviceMetadataStore"},
    {"{5E6C858F-0E22-4760-9AFE-EA3317B67173}", "Profile"},
    {"{625B53C3-AB48-4EC1-BA1F-A1EF4146FC19}", "StartMenu"},
    {"{62AB5D82-FDC1-4DC3-A9DD-070D1D495D97}", "ProgramData"},
    {"{6365D5A7-0F0D-45E5-87F6-0DA56B6A4F7D}", "ProgramFilesCommonX64"},
    {"{69D2CF90-FC33-4FB7-9A0C-EBB0F0FCB43C}", "PhotoAlbums"},
    {"{6D809377-6AF0-444B-8957-A3773F02200E}", "ProgramFilesX64"},
    {"{6F0CD92B-2E97-45D1-88FF-B0D186B8DEDD}", "ConnectionsFolder"},
    {"{724EF170-A42D-4FEF-9F26-B60E846FBA4F}", "AdminTools"},
    {"{767E6811-49CB-4273-87C2-20F355E1085B}", "SkyDriveCameraRoll"},
    {"{76FC4E2D-D6AD-4519-A663-37BD56068185}", "PrintersFolder"},
    {"{7AD67899-66AF-43BA-9156-6AAD42E6C596}", "AllAppMods"},
    {"{7B0DB17D-9CD2-4A93-9733-46CC89022E7C}", "DocumentsLibrary"},
    {"{7B396E54-9EC5-4300-BE0A-2482EBAE1A26}", "SidebarDefaultParts"},
    {"{7BE16610-1F7F-44AC-BFF0-83E15F2FFCA1}", "AppDataDocuments"},
    {"{7C5A40EF-A0FB-4BFC-874A-C0F2E0B9FA8E}", "ProgramFilesX86"},
    {"{7CFBEFBC-DE1F-45AA-B843-A542AC536CC9}", "AppDataFavorites"},
    {"{7D1D3A04-DEBB-4115-95CF-2F29DA2920DA}", "SavedSearches"},
    {"{7D83EE9B-2244-4E70-B1F5-5393042AF1E4}", "LocalDownloads"},
    {"{7E636BFE-DFA9-4D5E-B456-D7B39851D8A9}", "SearchTemplates"},
    {"{82A5EA35-D9CD-47C5-9629-E15D2F714E6E}", "CommonStartup"},
    {"{82A74AEB-AEB4-465C-A014-D097EE346D63}", "ControlPanelFolder"},
    {"{859EAD94-2E85-48AD-A71A-0969CB56A6CD}", "SampleVideos"},
    {"{8983036C-27C0-404B-8F08-102D10DCFD74}", "SendTo"},
    {"{8AD10C31-2ADB-4296-A8F7-E4701232C972}", "ResourceDir"},
    {"{905E63B6-C1BF-494E-B29C-65B732D3D21A}", "ProgramFiles"},
    {"{9274BD8D-CFD1-41C3-B35E-B13F55A758F4}", "PrintHood"},
    {"{98EC0E18-2098-4D44-8644-66979315A281}", "SEARCH_MAPI"},
    {"{9B74B6A3-0DFD-4F11-9E78-5F7800F2E772}", "HomeGroupCurrentUser"},
    {"{9E3995AB-1F9C-4F13-B827-48B24B6C7174}", "UserPinned"},
    {"{9E52AB10-F80D-49DF-ACB8-4330F5687855}", "CDBurning"},
    {"{A0C69A99-21C8-4671-8703-7934162FCF1D}", "LocalMusic"},
    {"{A302545D-DEFF-464B-ABE8-61C8648D939B}", "UsersLibraries"},
    {"{A305CE99-F527-492B-8B1A-7E76FA98D6E4}", "AppUpdates"},
    {"{A3918781-E5F2-4890-B3D9-A7E54332328C}", "ApplicationShortcuts"},
    {"{A4115719-D62E-491D-AA7C-E74B8BE3B067}", "CommonStartMenu"},
    {"{A440879F-87A0-4F7D-B700-0207B966194A}", "CommonStartMenuPlaces"},
    {"{A520A1A4-1780-4FF6-BD18-167343C5AF16}", "LocalAppDataLow"},
    {"{A52BBA46-E9E1-435F-B3D9-28DAA648C0F6}", "OneDrive"},
    {"{A63293E8-664E-48DB-A079-DF759E0509F7}", "Templates"},
    {"{A75D362E-50FC-4FB7-AC2C-A8BEAA314493}", "SidebarParts"},
    {"{A77F5D77-2E2B-44C3-A6A2-ABA601054A51}", "Start Menu"},
    {"{A990AE9F-A03B-4E80-94BC-9912D7504104}", "PicturesLibrary"},
    {"{AAA8D5A5-F1D6-4259-BAA8-78E7EF60835E}", "RoamedTileImages"},
    {"{AB5FB87B-7CE2-4F83-915D-550846C9537B}", "CameraRoll"},
    {"{AE50C081-EBD2-438A-8655-8A092E34987A}", "Recent"},
    {"{B250C668-F57D-4EE1-A63C-290EE7D1AA1F}", "SampleMusic"},
    {"{B2C5E279-7ADD-439F-B28C-C41FE1BBF672}", "AppDataDesktop"},
    {"{B4BFCC3A-DB2C-424C-B029-7FE99A87C641}", "Desktop"},
    {"{B6EBFB86-6907-413C-9AF7-4FC2ABF07CC5}", "PublicPictures"},
    {"{B7534046-3ECB-4C18-BE4E-64CD4CB7D6AC}", "RecycleBinFolder"},
    {"{B7BEDE81-DF94-4682-A7D8-57A52620B86F}", "Screenshots"},
    {"{B94237E7-57AC-4347-9151-B08C6C32D1F7}", "CommonTemplates"},
    {"{B97D20BB-F46A-4C97-BA10-5E3608430854}", "Startup"},
    {"{BCB5256F-79F6-4CEE-B725-DC34E402FD46}", "ImplicitAppShortcuts"},
    {"{BCBD3057-CA5C-4622-B42D-BC56DB0AE516}", "UserProgramFilesCommon"},
    {"{BFB9D5E0-C6A9-404C-B2B2-AE6DB6AF4968}", "Links"},
    {"{C1BAE2D0-10DF-4334-BEDD-7AA20B227A9D}", "CommonOEMLinks"},
    {"{C3F2459E-80D6-45DC-BFEF-1F769F2BE730}", "SkyDriveMusic"},
    {"{C4900540-2379-4C75-844B-64E6FAF8716B}", "SamplePictures"},
    {"{C4AA340D-F20F-4863-AFEF-F87EF2E6BA25}", "PublicDesktop"},
    {"{C5ABBF53-E17F-4121-8900-86626FC2C973}", "NetHood"},
    {"{C870044B-F49E-4126-A9C3-B52A1FF411E8}", "Ringtones"},
    {"{CAC52C1A-B53D-4EDC-92D7-6B2E8AC19434}", "Games"},
    {"{D0384E7D-BAC3-4797-8F14-CBA229B392B5}", "CommonAdminTools"},
    {"{D20BEEC4-5CA8-4905-AE3B-BF251EA09B53}", "NetworkFolder"},
    {"{D65231B0-B2F1-4857-A4CE-A8E7C6EA7D27}", "SystemX86"},
    {"{D9DC8A3B-B784-432E-A781-5A1130A75963}", "History"},
    {"{DBE8E08E-3053-4BBC-B183-2A7B2B191E59}", "DevelopmentFiles"},
    {"{DE61D971-5EBC-4F02-A3A9-6C82895E5C04}", "AddNewPrograms"},
    {"{DE92C1C7-837F-4F69-A3BB-86E631204A23}", "Playlists"},
    {"{DE974D24-D9C6-4D3E-BF91-F4455120B917}", "ProgramFilesCommonX86"},
    {"{DEBF2536-E1A8-4C59-B6A2-414586476AEA}", "PublicGameTasks"},
    {"{DF7266AC-9274-4867-8D55-3BD661DE872D}", "ChangeRemovePrograms"},
    {"{DFDF76A2-C82A-4D63-906A-5644AC457385}", "Public"},
    {"{E25B5812-BE88-4BD9-94B0-29233477B6C3}", "SavedPicturesLibrary"},
    {"{E555AB60-153B-4D17-9F04-A5FE99FC15EC}", "PublicRingtones"},
    {"{ED4824AF-DCE4-45A8-81E2-FC7965083634}", "PublicDocuments"},
    {"{EDC0FE71-98D8-4F4A-B920-C8DC133CB165}", "AppCaptures"},
    {"{EE32E446-31CA-4ABA-814F-A5EBD2FD6D5E}", "SEARCH_CSC"},
    {"{F1B32785-6FBA-4FCF-9D55-7B8E7F157091}", "LocalAppData"},
    {"{F26305EF-6948-40B9-B255-81453D09C785}", "StartMenuAllPrograms"},
    {"{F38BF404-1D43-42F2-9305-67DE0B28FC23}", "Windows"},
    {"{F3CE0F7C-4901-4ACC-8648-D5D44B04EF8F}", "UsersFiles"},
    {"{F42EE2D3-909F-4907-8871-4C22FC0BF756}", "LocalDocuments"},
    {"{F7F1ED05-9F6D-47A2-AAAE-29D317C6F066}", "ProgramFilesCommon"},
    {"{FD228CB7-AE11-4AE3-864C-16F3910AB8FE}", "Fonts"},
    {"{FDD39AD0-238F-46AF-ADB4-6C85480369C7}", "Documents"},
};

static_assert(std::is_sorted(std::begin(KnownFolders), std::end(KnownFolders),
                             [](const KnownFolder& a, const KnownFolder& b) { return a.Guid < b.Guid; }));

constexpr std::size_t BracedGuidLength = 38;

}  // namespace

std::optional<std::string_view> KnownFolderName(std::string_view bracedGuid)
{
    if (bracedGuid.size() != BracedGuidLength)
        return std::nullopt;
    const std::string guid = UpperAsciiLetters(std::string(bracedGuid));
    const auto found =
        std::lower_bound(std::begin(KnownFolders), std::end(KnownFolders), guid,
                         [](const KnownFolder& folder, const std::string& key) { return folder.Guid < key; });
    if (found == std::end(KnownFolders) || found->Guid != guid)
        return std::nullopt;
    return found->Name;
}

std::string ReplaceKnownFolder(const std::string& name)
{
    if (name.size() < BracedGuidLength || name.front() != '{')
        return name;
    const std::optional<std::string_view> folder = KnownFolderName(std::string_view(name).substr(0, BracedGuidLength));
    if (!folder)
        return name;
    return "[" + std::string(*folder) + "]" + name.substr(BracedGuidLength);
}
