// The locale's date settings and the web launcher over the real Windows API
// (Wine's under test). Shell calls are recorded, never made.
#include <windows.h>

#include <gtest/gtest.h>

#include "RecordingShell.h"
#include "ScratchRegistry.h"
#include "registry/Registry.h"
#include "support/DateTime.h"
#include "support/WebLauncher.h"

namespace {

constexpr const char* Url = "http://www.fernwick-software.example/";
constexpr const char* CommandKey = "http\\shell\\open\\command";

// Switches the thread's locale for a test and restores it, with the format
// settings, afterwards.
class ThreadLocale {
public:
    explicit ThreadLocale(LCID locale) : previous_(GetThreadLocale()), settings_(FormatSettings()) {
        SetThreadLocale(locale);
    }
    ~ThreadLocale() {
        SetThreadLocale(previous_);
        FormatSettings() = settings_;
    }

private:
    LCID previous_;
    TFormatSettings settings_;
};

TEST(LoadFormatSettingsFromLocale, ReadsTheSeparatorsAndMonthNamesOfTheThreadLocale)
{
    const TDateTime value = EncodeDateTime({2006, 3, 22, 17, 5, 9, 999});
    {
        ThreadLocale german(MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT));
        LoadFormatSettingsFromLocale();
        EXPECT_EQ(FormatSettings().DateSeparator, ".");
        EXPECT_EQ(FormatSettings().TimeSeparator, ":");
        EXPECT_EQ(FormatSettings().LongMonthNames[0], "Januar");
        EXPECT_EQ(FormatSettings().LongMonthNames[2], "M\xe4rz") << "in the system code page";
        EXPECT_EQ(FormatDateTime("mm/dd/yyyy hh:nn:ss", value), "03.22.2006 17:05:09");
        EXPECT_EQ(FormatDateTime("mmmm d, yyyy", value), "M\xe4rz 22, 2006");
    }
    {
        ThreadLocale english(MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT));
        LoadFormatSettingsFromLocale();
        EXPECT_EQ(FormatDateTime("mm/dd/yyyy hh:nn:ss", value), "03/22/2006 17:05:09");
        EXPECT_EQ(FormatDateTime("mmmm d, yyyy", value), "March 22, 2006");
        EXPECT_EQ(FormatSettings().LongMonthNames[11], "December");
    }
}

class Win32OpenWebPageTest : public testing::Test {
protected:
    ScratchRegistry scratch_{ScratchRegistry::CurrentUser | ScratchRegistry::ClassesRoot};
    RecordingShell shell_;
    ScopedShell useShell_{shell_};

    static ShellCall Call(const std::string& file, const std::string& parameters) {
        return {RecordingShell::DefaultDesktop, "open", file, parameters, "", 1};
    }
};

TEST_F(Win32OpenWebPageTest, HandlesEveryFormOfRegisteredCommand)
{
    const struct {
        const char* Command;
        std::vector<ShellCall> Calls;  // with the first call failing
    } cases[] = {
        {R"("C:\Program Files\Browser\browser.exe" -osint -url "%1")",
         {Call(R"(C:\Program Files\Browser\browser.exe)", Url), Call(Url, "")}},
        {R"("C:\Program Files\Browser\browser.exe")", {Call(R"(C:\Program Files\Browser\browser.exe)", Url), Call(Url, "")}},
        {R"(C:\PROGRA~1\Browser\browser.exe -nohome "%1")", {Call("%1", Url), Call(Url, "")}},
        {R"(C:\PROGRA~1\Browser\browser.exe -nohome)", {Call("", Url), Call(Url, "")}},
        {R"("C:\PROGRA~1\Browser\browser.exe -nohome)", {Call("", Url), Call(Url, "")}},
        {"", {}},
    };
    for (const auto& test : cases) {
        scratch_.SetString(ScratchRegistry::ClassesRoot, CommandKey, "", test.Command);
        shell_.Calls.clear();
        shell_.Results = {2};
        OpenWebPage(Url);
        EXPECT_EQ(shell_.Calls, test.Calls) << test.Command;
    }
    // A browser that starts needs no fall-back.
    scratch_.SetString(ScratchRegistry::ClassesRoot, CommandKey, "", R"("C:\b.exe" "%1")", REG_EXPAND_SZ);
    shell_.Calls.clear();
    shell_.Results.clear();
    OpenWebPage(Url);
    EXPECT_EQ(shell_.Calls, std::vector<ShellCall>{Call(R"(C:\b.exe)", Url)});
}

TEST_F(Win32OpenWebPageTest, DoesNothingWithoutAStringCommand)
{
    OpenWebPage(Url);  // no "http" key
    scratch_.CreateKey(ScratchRegistry::ClassesRoot, CommandKey);
    OpenWebPage(Url);  // no default value
    scratch_.SetValue(ScratchRegistry::ClassesRoot, CommandKey, "", REG_BINARY, {'"', 'x', '"'});
    EXPECT_NO_THROW(OpenWebPage(Url));
    scratch_.SetValue(ScratchRegistry::ClassesRoot, CommandKey, "", REG_DWORD, {1, 0, 0, 0});
    EXPECT_NO_THROW(OpenWebPage(Url));
    EXPECT_TRUE(shell_.Calls.empty());
}

TEST(Win32OpenWebPage, StartsWinesOwnRegisteredBrowser)
{
    // The prefix's own registration, unmapped (read only: nothing is written).
    TRegistry registry(RegistryAccess::Read);
    registry.SetRootKey(RegistryRoot::ClassesRoot);
    ASSERT_TRUE(registry.OpenKey("\\http\\shell\\open\\command")) << "Wine registers an http handler";
    const std::string command = registry.ReadString("");
    EXPECT_NE(command.find("winebrowser.exe"), std::string::npos) << command;

    RecordingShell shell;
    ScopedShell use(shell);
    OpenWebPage(Url);
    ASSERT_EQ(shell.Calls.size(), 1u);
    EXPECT_EQ(shell.Calls[0], (ShellCall{RecordingShell::DefaultDesktop, "open", BrowserPathOfCommand(command), Url, "", 1}));
    EXPECT_EQ(shell.Calls[0].File.substr(shell.Calls[0].File.size() - 15), "winebrowser.exe");
}

}  // namespace
