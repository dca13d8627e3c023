#include "support/WebLauncher.h"

#include <gtest/gtest.h>

#include <functional>

#include "RecordingShell.h"
#include "registry/MemoryRegistrySource.h"

namespace {

constexpr const char* CommandKey = "http\\shell\\open\\command";
constexpr const char* Url = "http://www.fernwick-software.example/products/Tallyglass/";
constexpr std::intptr_t FileNotFound = 2;  // SE_ERR_FNF

TEST(BrowserPathOfCommand, TakesTheTextBetweenTheFirstTwoQuotes)
{
    const struct {
        const char* Command;
        const char* Path;
    } cases[] = {
        {R"("C:\Program Files\Mozilla Firefox\firefox.exe" -requestPending -osint -url "%1")",
         R"(C:\Program Files\Mozilla Firefox\firefox.exe)"},
        {R"("C:\windows\system32\winebrowser.exe" "%1")", R"(C:\windows\system32\winebrowser.exe)"},
        {R"("C:\Browser\b.exe")", R"(C:\Browser\b.exe)"},
        {R"(C:\PROGRA~1\INTERN~1\iexplore.exe -nohome "%1")", "%1"},
        {R"(C:\Browser\b.exe -nohome)", ""},
        {R"("C:\Browser\b.exe -nohome)", ""},
        {R"(""x)", ""},
        {R"(  " C:\b.exe " x)", " C:\\b.exe "},
        {"", ""},
    };
    for (const auto& test : cases)
        EXPECT_EQ(BrowserPathOfCommand(test.Command), test.Path) << test.Command;
}

class OpenWebPageTest : public testing::Test {
protected:
    MemoryRegistrySource registry_;
    RecordingShell shell_;
    ScopedRegistrySource useRegistry_{registry_};
    ScopedShell useShell_{shell_};

    MemoryRegistrySource::Key& CommandKeyOfHttp() { return registry_.CreateKey(RegistryRoot::ClassesRoot, CommandKey); }

    static ShellCall BrowserCall(const std::string& file) {
        return {RecordingShell::DefaultDesktop, "open", file, Url, "", 1};
    }
    static ShellCall ShellFallBack() { return {RecordingShell::DefaultDesktop, "open", Url, "", "", 1}; }
};

TEST_F(OpenWebPageTest, StartsTheRegisteredBrowserWithTheAddressAlone)
{
    CommandKeyOfHttp().SetString("", R"("C:\Program Files\Mozilla Firefox\firefox.exe" -osint -url "%1")");
    OpenWebPage(Url);
    EXPECT_EQ(shell_.Calls, std::vector<ShellCall>{BrowserCall(R"(C:\Program Files\Mozilla Firefox\firefox.exe)")});
}

TEST_F(OpenWebPageTest, ReadsTheCommandWithFullAccessByItsPathFromTheRoot)
{
    CommandKeyOfHttp().SetString("", R"("C:\b.exe")", RegistryType::ExpandString);
    OpenWebPage(Url);
    ASSERT_EQ(registry_.OpenCalls().size(), 1u);
    const MemoryRegistrySource::OpenCall& open = registry_.OpenCalls()[0];
    EXPECT_EQ(open.Root, RegistryRoot::ClassesRoot);
    EXPECT_EQ(open.Path, CommandKey);
    EXPECT_EQ(open.Access, RegistryAccess::AllAccess);
    EXPECT_EQ(registry_.OpenHandleCount(), 0);
    EXPECT_EQ(shell_.Calls, std::vector<ShellCall>{BrowserCall(R"(C:\b.exe)")});
}

TEST_F(OpenWebPageTest, FallsBackOnTheShellWhenTheBrowserDoesNotStart)
{
    const char* commands[] = {
        R"(C:\PROGRA~1\INTERN~1\iexplore.exe -nohome "%1")",  // the quoted %1 is taken as the program
        R"(C:\Browser\b.exe -nohome)",                          // no quote: empty path
        R"("C:\Browser\b.exe -nohome)",                         // no closing quote: empty path
        R"("C:\Gone\b.exe" "%1")",                              // a registered browser that fails to start
    };
    for (const char* command : commands) {
        shell_.Calls.clear();
        shell_.Results = {FileNotFound};
        CommandKeyOfHttp().SetString("", command);
        OpenWebPage(Url);
        ASSERT_EQ(shell_.Calls.size(), 2u) << command;
        EXPECT_EQ(shell_.Calls[0], BrowserCall(BrowserPathOfCommand(command))) << command;
        EXPECT_EQ(shell_.Calls[1], ShellFallBack()) << command;
    }
}

TEST_F(OpenWebPageTest, TreatsThirtyTwoAsFailureAndThirtyThreeAsSuccess)
{
    CommandKeyOfHttp().SetString("", R"("C:\b.exe")");
    shell_.Results = {32};
    OpenWebPage(Url);
    EXPECT_EQ(shell_.Calls.size(), 2u);
    shell_.Calls.clear();
    shell_.Results = {33};
    OpenWebPage(Url);
    EXPECT_EQ(shell_.Calls.size(), 1u);
}

TEST_F(OpenWebPageTest, PassesAnAddressWithBlanksUnquoted)
{
    CommandKeyOfHttp().SetString("", R"("C:\b.exe" "%1")");
    OpenWebPage("http://host.example/a page?q=two words");
    ASSERT_EQ(shell_.Calls.size(), 1u);
    EXPECT_EQ(shell_.Calls[0].Parameters, "http://host.example/a page?q=two words");
}

TEST_F(OpenWebPageTest, DoesNothingWithoutAReadableCommand)
{
    const std::function<void(MemoryRegistrySource&)> setups[] = {
        [](MemoryRegistrySource&) {},  // no "http" key at all
        [](MemoryRegistrySource& r) { r.CreateKey(RegistryRoot::ClassesRoot, CommandKey); },  // no value
        [](MemoryRegistrySource& r) { r.CreateKey(RegistryRoot::ClassesRoot, CommandKey).SetString("", ""); },
        [](MemoryRegistrySource& r) {
            r.CreateKey(RegistryRoot::ClassesRoot, CommandKey).SetValue("", RegistryType::Binary, {'"', 'x', '"'});
        },
        [](MemoryRegistrySource& r) {
            r.CreateKey(RegistryRoot::ClassesRoot, CommandKey).SetValue("", RegistryType::DWord, {1, 0, 0, 0});
        },
        [](MemoryRegistrySource& r) {
            r.CreateKey(RegistryRoot::ClassesRoot, CommandKey).SetString("", R"("C:\b.exe")").Fault =
                MemoryRegistrySource::ValueFault::DataReadFails;
        },
        [](MemoryRegistrySource& r) {  // readable, but not with full access
            auto& key = r.CreateKey(RegistryRoot::ClassesRoot, CommandKey);
            key.SetString("", R"("C:\b.exe")");
            key.Access = MemoryRegistrySource::KeyAccess::ReadOnly;
        },
        [](MemoryRegistrySource& r) {  // a value in the wrong root
            r.CreateKey(RegistryRoot::CurrentUser, CommandKey).SetString("", R"("C:\b.exe")");
        },
    };
    for (std::size_t i = 0; i < std::size(setups); ++i) {
        MemoryRegistrySource registry;
        ScopedRegistrySource use(registry);
        setups[i](registry);
        EXPECT_NO_THROW(OpenWebPage(Url)) << "setup " << i;
        EXPECT_TRUE(shell_.Calls.empty()) << "setup " << i;
        EXPECT_EQ(registry.OpenHandleCount(), 0) << "setup " << i;
    }
}

}  // namespace
