// The About dialog when the running program's own file cannot be read. It
// moves this test program's file away for a while, so it has an executable of
// its own: no other test may start from that file or read it meanwhile.
#include <optional>

#include "AboutFixture.h"

namespace {

// Moves this test program's file away for a while: the running image stays,
// but its file can no longer be mapped.
class ExecutableMovedAway {
public:
    ExecutableMovedAway() : path_(ExePath()), moved_(path_ + ".away")
    {
        renamed_ = MoveFileA(path_.c_str(), moved_.c_str()) != FALSE;
    }
    ~ExecutableMovedAway()
    {
        if (renamed_)
            MoveFileA(moved_.c_str(), path_.c_str());
    }
    ExecutableMovedAway(const ExecutableMovedAway&) = delete;
    ExecutableMovedAway& operator=(const ExecutableMovedAway&) = delete;
    bool Renamed() const { return renamed_; }

private:
    std::string path_, moved_;
    bool renamed_ = false;
};

TEST_F(AboutDialogTest, LinkDateThatCannotBeReadIsReportedAndTheDialogShownAllTheSame)
{
    std::optional<ExecutableMovedAway> away;
    away.emplace();
    if (!away->Renamed())
        GTEST_SKIP() << "this system does not let a running program's file be renamed";
    ShowAbout([&](TAbout& about) {
        away.reset();
        EXPECT_EQ(about.lblVersion->Caption(), "lblVersion");
        Press(*about.btnOK);
    });
    ASSERT_EQ(reports_.size(), 1u);
    EXPECT_EQ(reports_[0].rfind("System Error.  Code: ", 0), 0u) << reports_[0];
}

}  // namespace
