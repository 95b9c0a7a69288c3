// hexmoor-window-bench: the desktop window's speed and idleness, measured on the real
// window (any Qt platform; offscreen by default). Prints one line per figure:
//   untraced run          instructions per second of an untraced run of the sieve
//   ... Watch shown       the same with the Watch window open on ten expressions, and how
//                         many times a second its values change on the screen (at least 4)
//   traced run            the same with the panel following every pass
//   idle CPU ...          the process's CPU use while nothing runs, while a program waits
//                         for a key (reading the data port, polling the status port or
//                         SCSR, in WAI for an SCI interrupt),
//                         in STOP, and in a WAI only a click can end, untraced and traced
//   chip speed            E cycles per second of an untraced run at chip speed (10 s)
#include <QApplication>
#include <QTimer>
#include <QTreeWidget>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>

#include "panel/DebugWindows.h"
#include "panel/HexmoorForm.h"

using namespace hexmoor;
using Clock = std::chrono::steady_clock;

namespace {

double CpuSeconds() {
    timespec time{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &time);
    return double(time.tv_sec) + double(time.tv_nsec) / 1e9;
}

// Runs the loaded program for `seconds` (started by Run, stopped by Run from a timer) and
// returns the instructions and cycles it went through.
std::pair<double, double> TimedRun(THexmoorForm& form, double seconds) {
    TMachine& m = form.Machine();
    const uint64_t instructions = m.InstructionCount;
    QTimer::singleShot(int(seconds * 1000), &form, [&m] { m.RunClick(); });
    const auto start = Clock::now();
    const int64_t firstCycles = m.CycleCount;
    m.RunClick();
    const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    return {double(m.InstructionCount - instructions) / elapsed, double(m.CycleCount - firstCycles) / elapsed};
}

void Load(THexmoorForm& form, const std::string& path) {
    form.AnswerNextFileQuestion(path);
    form.Machine().LoadClick();
    form.Machine().StepLedClick();  // the reset
}

// The CPU the process uses in `seconds` while `start` has something waiting in a loop.
double IdleCpu(THexmoorForm& form, double seconds, const std::function<void()>& start,
               const std::function<void()>& end) {
    double used = 0;
    QTimer::singleShot(200, &form, [&] {
        const double before = CpuSeconds();
        QTimer::singleShot(int(seconds * 1000), &form, [&, before] {
            used = CpuSeconds() - before;
            end();
        });
    });
    start();
    return used / (seconds - 0.0) * 100;
}

}  // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const std::string programs = HEXMOOR_BENCH_PROGRAMS_DIR;
    THexmoorForm form;
    form.SetMessageAnswerer([](TMessageKind, TMessageButtons, std::string_view) { return TMessageResult::Ok; });
    form.show();
    while (!form.Machine().Panel.Activated) QApplication::processEvents();
    TMachine& m = form.Machine();
    m.Panel.WarningsMenu.Checked = false;

    Load(form, programs + "/sieve.s19");
    std::printf("untraced run        %12.0f instructions/s\n", TimedRun(form, 3).first);
    {
        TDebugWindow& watch = form.Debug().Show(TDebugView::Watch);
        for (const char* text : {"X", "A", "B", "Y", "SP", "[0]", "[[0]]", "[[2]] + 3", "[[4]] == $076B", "[$3000]"})
            form.Debug().Session().AddWatch(text);
        watch.Refresh();
        const QTreeWidgetItem* x = watch.findChild<QTreeWidget*>("WatchList")->topLevelItem(0);
        int changes = 0;
        QString shown = x->text(1);
        QTimer look;
        look.callOnTimeout([&] {
            if (x->text(1) != shown) ++changes;
            shown = x->text(1);
        });
        look.start(5);
        const double speed = TimedRun(form, 3).first;
        std::printf("untraced run, Watch shown %6.0f instructions/s, values shown %.1f times/s\n", speed, changes / 3.0);
        watch.close();
    }
    m.Panel.TraceMenu.Checked = true;
    std::printf("traced run          %12.0f instructions/s\n", TimedRun(form, 3).first);
    m.Panel.TraceMenu.Checked = false;

    std::printf("idle CPU, nothing   %11.1f %%\n",
                IdleCpu(form, 3, [] { QEventLoop loop; QTimer::singleShot(3300, &loop, &QEventLoop::quit); loop.exec(); }, [] {}));
    struct Idle {
        const char* name;
        std::vector<uint8_t> code;
    } idles[] = {
        {"waiting for a key", {0xB6, 0x10, 0x37, 0x20, 0xFB}},  // LDAA $1037; BRA back
        {"polling for a key", {0xB6, 0x10, 0x36, 0x27, 0xFB}},  // LDAA $1036; BEQ back
        // LDAA #RE; STAA SCCR2; LDAA SCSR; BITA #RDRF; BEQ back to LDAA SCSR
        {"polling SCSR", {0x86, 0x04, 0xB7, 0x10, 0x2D, 0xB6, 0x10, 0x2E, 0x85, 0x20, 0x27, 0xF9}},
        // LDAA #RIE+RE; STAA SCCR2; CLI; WAI
        {"in WAI for RDRF", {0x86, 0x24, 0xB7, 0x10, 0x2D, 0x0E, 0x3E}},
        {"in STOP", {0x0F, 0xCF}},                              // SEI; STOP
        {"in WAI, I set", {0x0F, 0x3E}},                        // SEI; WAI
    };
    for (bool traced : {false, true}) {
        for (const Idle& idle : idles) {
            Load(form, programs + "/sieve.s19");
            std::copy(idle.code.begin(), idle.code.end(), &m.MemoryImage[m.RegisterPC]);
            m.FlagS = false;
            m.Panel.TraceMenu.Checked = traced;
            const double cpu = IdleCpu(form, 3, [&m] { m.RunClick(); }, [&m] { m.RunClick(); });
            std::printf("idle CPU, %-18s %-8s %.1f %%\n", idle.name, traced ? "traced" : "", cpu);
        }
    }
    m.Panel.TraceMenu.Checked = false;

    Load(form, programs + "/timed_sieve.s19");
    m.Panel.ChipSpeedMenu.Checked = true;
    std::printf("chip speed          %12.0f E cycles/s (2,000,000 wanted)\n", TimedRun(form, 10).second);
    return 0;
}
