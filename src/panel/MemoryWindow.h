// TMemoryWindow: the Memory window. The 64 KiB as a program would read them now (peeked:
// showing a port takes no input and clears no flag), the chip's own memories tinted where
// they sit, the bytes changed since the stop before in red, a cursor that can follow a
// register, and bytes typed in while the machine is stopped, stored as a program would.
#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

#include "panel/DebugWindow.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace hexmoor {

class TMemoryView;

class TMemoryWindow : public TDebugWindow {
public:
    TMemoryWindow(TDebugContext& context, QWidget* owner);

    void Refresh() override;
    // Puts the cursor on `address`, scrolling its row to the top when it is out of sight.
    void GoTo(uint16_t address);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void CreateWidgets();
    void ConnectWidgets();
    void GoToTyped();
    void Write(uint16_t address, uint8_t value);
    // Goes back to the last instruction that wrote the byte, or says why it cannot.
    void WhoWrote(uint16_t address);
    void Follow();
    void Say(const QString& note);
    void ShowStatus();
    void ShowLegend();
    QString Where(uint16_t address) const;
    void TakeSnapshots(bool newStop);

    TMemoryView* view_ = nullptr;
    QLineEdit* goTo_ = nullptr;
    QComboBox* follow_ = nullptr;
    std::vector<QLabel*> legend_;  // one label for each chip memory
    QLabel* status_ = nullptr;

    // The bytes at the last stop and at the stop before it: the view shows in red what
    // differs from the one before, so a step's changes stay red until the next stop.
    std::vector<uint8_t> atLastStop_, atStopBefore_;
    uint64_t stopsSeen_ = 0;
    std::optional<uint16_t> followed_;  // the register's value the cursor was last put on
    QString note_;                      // said in place of the cursor's place until the cursor moves
};

}  // namespace hexmoor
