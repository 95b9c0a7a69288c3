// Arbitrary bytes as a symbol file (a .sym list, a linker map or an ELF file): the readers
// end without a crash, every message names the file, and every name read is found again.
#include "FuzzPanel.h"
#include "debug/SymbolFiles.h"

using namespace hexmoor;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const fuzz::TMemoryFile file(data, size);
    const TSymbolLoad load = LoadSymbolFile(file.Path());
    for (const std::string& message : load.Messages)
        if (message.find(file.Path()) == std::string::npos) fuzz::Fail("a message that names no file: " + message);
    for (const TSymbol& symbol : load.Table.All()) {
        if (symbol.Name.empty()) fuzz::Fail("a symbol without a name");
        if (load.Table.Find(symbol.Name) != symbol.Address)
            fuzz::Fail("a symbol not found by its name: " + symbol.Name);
    }
    return 0;
}
