// The front panel the fuzz targets run the machine with: every dialog answered OK, every
// wait for input ended at once (the read is abandoned), the messages kept for checking.
#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/Machine.h"

namespace hexmoor::fuzz {

class TFuzzPanel : public TFrontPanel {
public:
    void Attach(TMachine& machine) { machine_ = &machine; }

    void PanelChanged(TPanelItem) override {}
    TMessageResult ShowMessage(TMessageKind, TMessageButtons buttons, std::string_view text) override {
        if (Messages.size() < kMessagesKept) Messages.emplace_back(text);
        return buttons == TMessageButtons::YesNo ? TMessageResult::Yes : TMessageResult::Ok;
    }
    std::optional<std::string> AskFileName(const TFileQuestion&) override { return {}; }
    std::optional<std::string> AskBreakPointAddress(const std::string&) override { return {}; }
    void PumpEvents() override {}
    TMessageResult WaitForIoPause() override { return TMessageResult::Ok; }
    void WaitForEvents() override {
        ++Waits;
        machine_->ReleaseInputWait();
    }
    void Beep() override {}
    void FocusTerminal() override {}
    void HardCopy(const std::vector<std::string>&) override {}
    std::string PrinterWrite(uint8_t) override { return ""; }
    void PrinterClose() override {}

    // The first messages: a program can raise one every pass.
    static constexpr std::size_t kMessagesKept = 1000;
    std::vector<std::string> Messages;
    int Waits = 0;

private:
    TMachine* machine_ = nullptr;
};

// A file in memory holding `size` bytes, named by a path the machine can open.
class TMemoryFile {
public:
    TMemoryFile(const uint8_t* data, std::size_t size) : fd_(memfd_create("hexmoor-fuzz", 0)) {
        if (fd_ < 0 || write(fd_, data, size) != ssize_t(size)) std::abort();
    }
    ~TMemoryFile() { close(fd_); }
    TMemoryFile(const TMemoryFile&) = delete;
    TMemoryFile& operator=(const TMemoryFile&) = delete;
    std::string Path() const { return "/proc/self/fd/" + std::to_string(fd_); }

private:
    int fd_;
};

// Stops the run with the reason, so the fuzzer keeps the input that showed it.
[[noreturn]] inline void Fail(const std::string& why) {
    std::fprintf(stderr, "fuzz check failed: %s\n", why.c_str());
    std::abort();
}

// A machine input: a memory image of up to 64 KiB, loaded and reset, then register writes
// from the bytes after it, an offset and a byte each.
inline void LoadImageAndRegisterWrites(TMachine& m, const uint8_t* data, std::size_t size) {
    const std::size_t imageSize = std::min<std::size_t>(size, 0x10000);
    std::copy(data, data + imageSize, m.MemoryImage.begin());
    std::copy(data, data + imageSize, m.ExternalImage.begin());
    m.ResetMoor(PowerOnReset);
    for (std::size_t i = imageSize; i + 1 < size; i += 2) {
        m.EffectiveAddress = uint16_t(m.IRegBeg + data[i] % 0x60);
        m.DataByte = data[i + 1];
        m.StoreByte();
    }
}

}  // namespace hexmoor::fuzz
