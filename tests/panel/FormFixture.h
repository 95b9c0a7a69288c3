// The real main window on the offscreen platform, its message dialogs answered by script,
// with helpers to click its controls and to act from inside a run. A watchdog ends
// whatever hangs, so a fault fails the test instead of stopping the test run.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>
#include <QToolButton>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "panel/FormControls.h"
#include "panel/HexmoorForm.h"
#include "panel/widgets/DigDisp.h"
#include "panel/widgets/Led.h"
#include "panel/widgets/Lumocrt.h"

namespace hexmoor::testing {

inline std::string ProgramPath(const std::string& name, const char* extension = ".s19") {
    return std::string(HEXMOOR_TEST_PROGRAMS_DIR) + "/" + name + extension;
}

class FormTest : public ::testing::Test {
public:
    void SetUp() override {
        // Each test remembers debug sessions in a folder of its own.
        qputenv("XDG_CONFIG_HOME", configuration_.path().toLocal8Bit());
        form = std::make_unique<THexmoorForm>();
        form->SetMessageAnswerer([this](TMessageKind, TMessageButtons, std::string_view text) {
            Messages.emplace_back(text);
            if (OnMessage) OnMessage(Messages.back());
            std::optional<TMessageResult> answer = TMessageResult::Ok;
            if (!Answers.empty()) {
                answer = Answers.front();
                Answers.pop_front();
            }
            return answer;
        });
        watchdog_.setSingleShot(true);
        QObject::connect(&watchdog_, &QTimer::timeout, [this] { Rescue(); });
        watchdog_.start(kTimeLimitMs);
        form->show();
        for (int i = 0; i < 200 && !M().Panel.Activated; ++i) QApplication::processEvents();
        ASSERT_TRUE(M().Panel.Activated) << "the window was never activated";
        Messages.clear();
    }

    void TearDown() override {
        watchdog_.stop();
        form.reset();
    }

    TMachine& M() { return form->Machine(); }
    const THexmoorForm::TControls& C() const { return form->Controls(); }

    // Loads a test program through the Load LED and the file question; its ELF file brings
    // every name it has.
    void Load(const std::string& name, const char* extension = ".s19") {
        form->AnswerNextFileQuestion(ProgramPath(name, extension));
        Click(C().RunLeds[0]);
    }

    static void Click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton); }
    void Trigger(const char* menuItem) {
        QAction* action = form->MenuAction(menuItem);
        ASSERT_NE(action, nullptr) << menuItem;
        action->trigger();
    }
    QWidget* RunLed() const { return C().RunLeds[1]; }
    QWidget* StepLed() const { return C().RunLeds[2]; }

    // Runs `action` from the event loop after `ms` milliseconds: a user acting while a
    // handler (a run, a wait) is on the stack.
    void Later(int ms, std::function<void()> action) { QTimer::singleShot(ms, form.get(), std::move(action)); }

    // Runs `action` from the event loop as soon as `ready` holds (looked at every 10 ms).
    void When(std::function<bool()> ready, std::function<void()> action) {
        auto* timer = new QTimer(form.get());
        QObject::connect(timer, &QTimer::timeout, timer, [timer, ready, action] {
            if (!ready()) return;
            timer->deleteLater();
            timer->stop();
            action();
        });
        timer->start(10);
    }

    // Opens `widget`'s context menu at `at` and chooses the entry captioned `choice` (none
    // such: closes the menu); the captions it showed, without their keys.
    QStringList ContextMenu(QWidget* widget, QPoint at, const QString& choice) {
        QStringList captions;
        When([] { return QApplication::activePopupWidget() != nullptr; }, [&captions, choice] {
            QWidget* menu = QApplication::activePopupWidget();
            QAction* chosen = nullptr;
            for (QAction* action : menu->actions()) {
                if (action->isSeparator()) continue;
                captions << action->text().section('\t', 0, 0);
                if (captions.last() == choice) chosen = action;
            }
            if (!chosen) {
                menu->close();
                return;
            }
            static_cast<QMenu*>(menu)->setActiveAction(chosen);
            QTest::keyClick(menu, Qt::Key_Return);
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, widget->mapToGlobal(at));
        QApplication::sendEvent(widget, &event);
        return captions;
    }

    // Handles events until `done`, or until a time that only a hang reaches.
    bool Until(const std::function<bool()>& done) {
        QElapsedTimer timer;
        timer.start();
        while (!done() && timer.elapsed() < kTimeLimitMs / 2) QApplication::processEvents(QEventLoop::AllEvents, 10);
        return done();
    }

    // Ends what hangs: the run, a wait for input, the I/O pause; the test then fails.
    void Rescue() {
        ADD_FAILURE() << "the test did not end within " << kTimeLimitMs << " ms";
        if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
        if (M().Panel.RunningLed.Lit) M().RunClick();
        M().ReleaseInputWait();
        if (C().IOPanel->isVisible()) C().IOOKButton->click();
    }

    std::unique_ptr<THexmoorForm> form;
    std::vector<std::string> Messages;
    std::deque<TMessageResult> Answers;  // the next dialogs' buttons; OK when empty
    std::function<void(const std::string&)> OnMessage;

protected:
    // Generous: it catches a hang, even in a debug build on a busy machine.
    static constexpr int kTimeLimitMs = 60000;
    QTimer watchdog_;
    QTemporaryDir configuration_;
};

}  // namespace hexmoor::testing
