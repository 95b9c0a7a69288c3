#include "debug/DwarfCompileDirs.h"

#include <optional>
#include <vector>

namespace hexmoor {

namespace {

constexpr uint64_t kStatementList = 0x10,
                   kCompileDir = 0x1B;                 // DW_AT_stmt_list, DW_AT_comp_dir
constexpr uint32_t kFirstReservedLength = 0xFFFFFFF0;  // 64-bit DWARF and reserved values

struct TAttribute {
    uint64_t Name = 0, Form = 0;
};

// The attributes of abbreviation `code` in the table at the cursor; nothing when the table
// does not hold it whole.
std::optional<std::vector<TAttribute>> FindAbbreviation(TDwarfCursor abbrevs, uint64_t code) {
    while (!abbrevs.Failed()) {
        const uint64_t found = abbrevs.Unsigned();
        if (found == 0) return std::nullopt;
        abbrevs.Unsigned();  // the tag
        abbrevs.Byte();      // whether it has children
        std::vector<TAttribute> attributes;
        for (;;) {
            TAttribute attribute{abbrevs.Unsigned(), abbrevs.Unsigned()};
            if (abbrevs.Failed()) return std::nullopt;
            if (attribute.Name == 0 && attribute.Form == 0) break;
            if (attribute.Form == kFormImplicitConst) abbrevs.Signed();  // a value no unit entry holds
            attributes.push_back(attribute);
        }
        if (found == code) return attributes;
    }
    return std::nullopt;
}

}  // namespace

std::map<uint64_t, std::string_view> ReadCompileDirs(const TDwarfInfoSections& sections) {
    std::map<uint64_t, std::string_view> dirs;
    TDwarfCursor info(sections.Info, sections.BigEndian);
    while (!info.AtEnd()) {
        const uint32_t length = info.Word();
        if (length >= kFirstReservedLength) break;
        TDwarfCursor unit = info.Part(length);
        if (info.Failed()) break;
        TDwarfUnitShape shape{unit.Half(), 4, sections.Strings, sections.LineStrings};
        // Version 5 line programs name their compilation directory themselves.
        if (shape.Version < 2 || shape.Version > 4) continue;
        const uint32_t abbrevOffset = unit.Word();
        shape.AddressSize = unit.Byte();
        const uint64_t code = unit.Unsigned();
        if (unit.Failed() || abbrevOffset >= sections.Abbrev.size()) continue;
        const auto attributes =
            FindAbbreviation(TDwarfCursor(sections.Abbrev.subspan(abbrevOffset), sections.BigEndian), code);
        if (!attributes) continue;
        std::optional<uint64_t> lines;
        std::optional<std::string_view> dir;
        for (const TAttribute& attribute : *attributes) {
            const std::optional<TDwarfValue> value = ReadDwarfForm(unit, attribute.Form, shape);
            if (!value) break;
            if (attribute.Name == kStatementList) lines = value->Number;
            if (attribute.Name == kCompileDir) dir = value->Text;
        }
        if (lines && dir) dirs.emplace(*lines, *dir);
    }
    return dirs;
}

}  // namespace hexmoor
