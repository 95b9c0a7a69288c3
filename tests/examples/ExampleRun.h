// An example program, loaded through the Load control and run on a machine with a scripted
// panel: what its LEDs and its terminal show.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/TestMachine.h"

namespace hexmoor::testing {

inline std::string ExamplePath(const std::string& file) {
    return std::string(HEXMOOR_EXAMPLES_DIR) + "/" + file;
}

class TExampleRun {
public:
    // With `bootstrap`, the mode LEDs are switched to special bootstrap mode first.
    explicit TExampleRun(const std::string& name, bool bootstrap = false) {
        if (bootstrap) m.ModeLedClick();
        t.Panel.FileName = ExamplePath(name + ".s19");
        m.LoadClick();
    }

    // Runs whole passes for `cycles` more E-clock cycles; a CPU that no longer counts
    // cycles fails the test instead of hanging it.
    void Run(int64_t cycles) {
        const int64_t end = m.CycleCount + cycles;
        for (int64_t passes = 0; m.CycleCount < end; ++passes) {
            if (passes > cycles) throw std::runtime_error("time stood still");
            if ((passes & 0xFFF) == 0) t.Panel.CheckTime();
            m.RunPass();
        }
    }

    // What the program wrote to the terminal while it ran for `cycles`.
    std::string Output(int64_t cycles) {
        const std::size_t from = t.Panel.Written.size();
        Run(cycles);
        return t.Panel.Written.substr(from);
    }

    void Type(const std::string& keys) {
        for (char key : keys) m.FormKeyPress(uint8_t(key));
    }

    uint8_t Leds(TPortGroup group) const {
        uint8_t value = 0;
        for (int bit = 0; bit < 8; ++bit)
            if (m.Panel.PortGroups[group].Leds[bit].Lit) value |= uint8_t(1 << bit);
        return value;
    }

    // A screen row without its trailing blanks.
    std::string Row(int row) const {
        std::string text = m.Screen.RowText(row);
        return text.erase(text.find_last_not_of(' ') + 1);
    }

    std::vector<std::string> Warnings() const {
        std::vector<std::string> texts;
        for (const TShownMessage& message : t.Panel.Messages)
            if (message.Kind == TMessageKind::Warning) texts.push_back(message.Text);
        return texts;
    }

    TTestMachine t;
    TMachine& m = *t.Machine;
};

}  // namespace hexmoor::testing
