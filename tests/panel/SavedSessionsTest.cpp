// Debug sessions remembered per program: what comes back when a program is loaded again,
// a damaged session file, and the setting that turns it off.
#include <gmock/gmock.h>

#include <QFile>

#include "debug/Debugger.h"
#include "panel/DebugWindows.h"
#include "panel/FormFixture.h"
#include "panel/SavedSessions.h"

namespace hexmoor::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

class SavedSessionsTest : public FormTest {
public:
    TDebugWindows& Debug() { return form->Debug(); }
    // The points as the Breakpoints window lists them, one text each.
    std::vector<std::string> Points() {
        std::vector<std::string> points;
        for (const TBreakpoint& b : Debug().Debugger().Breakpoints())
            points.push_back(b.Where + " if " + b.ConditionText + " from hit " + std::to_string(b.StopAtHit) +
                             (b.Enabled ? "" : " disabled"));
        for (const TWatchpoint& w : Debug().Debugger().Watchpoints())
            points.push_back("watch " + w.Where + " access " + std::to_string(int(w.Access)) +
                             (w.Value ? " value " + std::to_string(*w.Value) : "") + (w.Enabled ? "" : " disabled"));
        return points;
    }
    void SetUpPoints() {
        TDebugSession& session = Debug().Session();
        ASSERT_EQ(session.AddBreakpoint("twice", "[count] == 3", 2), "");
        ASSERT_EQ(session.AddBreakpoint("halt"), "");
        Debug().Debugger().EnableBreakpoint(Debug().Debugger().Breakpoints().back().Id, false);
        ASSERT_EQ(session.AddWatchpoint("count", TWatchAccess::ReadWrite, 4), "");
        ASSERT_EQ(session.AddWatchpoint("SP < $0100", TWatchAccess::Change), "");
        session.AddWatch("[count]");
        session.AddWatch("X+3");
    }
    QString SessionFile() const { return TSavedSessions().FileOf(ProgramPath("debug_target", ".elf")); }
};

TEST_F(SavedSessionsTest, PointsAndWindowsComeBackWithTheirProgram) {
    Load("debug_target", ".elf");
    SetUpPoints();
    QWidget& memory = Debug().Show(TDebugView::Memory);
    memory.setGeometry(40, 50, 720, 420);
    const std::vector<std::string> before = Points();
    Load("hello");
    EXPECT_THAT(Points(), IsEmpty()) << "another program's points are not this one's";
    EXPECT_THAT(Debug().Session().Watches().Texts(), IsEmpty());
    memory.close();
    Load("debug_target", ".elf");
    EXPECT_EQ(Points(), before);
    EXPECT_THAT(before, ElementsAre("twice if [count] == 3 from hit 2", "halt if  from hit 1 disabled",
                                    "watch count access 3 value 4", "watch SP < $0100 access 4"));
    EXPECT_THAT(Debug().Session().Watches().Texts(), ElementsAre("[count]", "X+3"));
    EXPECT_TRUE(memory.isVisible());
    EXPECT_EQ(memory.size(), QSize(720, 420));
    EXPECT_THAT(Messages, IsEmpty());
    // Closing the window remembers too: a new window brings the points back.
    form->close();
    TearDown();
    SetUp();
    Load("debug_target", ".elf");
    EXPECT_EQ(Points(), before);
}

TEST_F(SavedSessionsTest, ADamagedSessionIsSaidOnceAndIgnored) {
    Load("debug_target", ".elf");
    SetUpPoints();
    Load("hello");
    for (const char* damage : {"{\"version\": 1, \"breakpoints\": [{\"where\": 5}]}", "not json", "{\"version\": 7}"}) {
        SCOPED_TRACE(damage);
        QFile file(SessionFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(damage);
        file.close();
        Messages.clear();
        Load("debug_target", ".elf");
        EXPECT_THAT(Points(), IsEmpty());
        ASSERT_EQ(Messages.size(), 1u);
        EXPECT_THAT(Messages[0], HasSubstr(SessionFile().toStdString()));
        EXPECT_THAT(Messages[0], HasSubstr("is not used"));
        Load("hello");
        Load("debug_target", ".elf");  // the same file again: said once
        EXPECT_EQ(Messages.size(), 1u);
        Load("hello");
    }
}

TEST_F(SavedSessionsTest, TurnedOffNothingIsRemembered) {
    Trigger("RememberSessionsMenu");
    EXPECT_FALSE(form->MenuAction("RememberSessionsMenu")->isChecked());
    Load("debug_target", ".elf");
    SetUpPoints();
    Load("hello");
    Load("debug_target", ".elf");
    EXPECT_THAT(Points(), IsEmpty());
    EXPECT_FALSE(QFile::exists(SessionFile()));
}

}  // namespace
}  // namespace hexmoor::testing
