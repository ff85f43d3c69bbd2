#include "engine/HeaderWriter.h"

#include "common/General_Routines.h"
#include "engine/BrokenRule.h"
#include "engine/RuleMessages.h"
#include "engine/ScriptFields.h"

namespace kelbrin {

void WriteHeader(ExpansionRun& run, const std::string& headerLine, std::int32_t& position) {
    std::int32_t count = 0;
    // The first entry is examined even when it is empty, so a header asked for with no
    // bytes listed breaks the hex rule.
    std::string field = NextField(headerLine, position);
    do {
        ++count;
        if (count > run.HeaderSize) {
            Break(RuleMessage::HeaderTooLong(field, run.HeaderSize));
        }
        const auto value = ScriptNumber(field);
        if (!value) {
            Break(RuleMessage::HeaderByteNotHex(field));
        }
        if (*value > 0xFF) {
            Break(RuleMessage::HeaderByteTooBig(field));
        }
        run.Expanded->WriteByte(static_cast<std::uint8_t>(*value));
        field = NextField(headerLine, position);
    } while (!field.empty());
    run.Expanded->WriteRepeated(0x00, run.HeaderSize - count);
}

} // namespace kelbrin
