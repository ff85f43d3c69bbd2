#include "HeaderWriter.h"

#include "General_Routines.h"
#include "RuleMessages.h"
#include "RunFailure.h"
#include "ScriptFields.h"

namespace kelbrin {

void WriteHeader(const ScriptHead& head, ImageOutput& expanded, std::vector<std::uint8_t>* listed) {
    std::int32_t position = head.HeaderBytesAt;
    std::int32_t count = 0;
    // The first entry is examined even when it is empty, so a header asked for with no
    // bytes listed breaks the hex rule.
    std::string field = NextField(head.HeaderLine, position);
    do {
        ++count;
        if (count > head.HeaderSize) {
            Break(RuleMessage::HeaderTooLong(field, head.HeaderSize));
        }
        const auto value = ScriptNumber(field);
        if (!value) {
            Break(RuleMessage::HeaderByteNotHex(field));
        }
        if (*value > 0xFF) {
            Break(RuleMessage::HeaderByteTooBig(field));
        }
        expanded.WriteByte(static_cast<std::uint8_t>(*value));
        if (listed != nullptr) {
            listed->push_back(static_cast<std::uint8_t>(*value));
        }
        field = NextField(head.HeaderLine, position);
    } while (!field.empty());
    expanded.WriteRepeated(0x00, head.HeaderSize - count);
}

std::optional<std::vector<std::uint8_t>> HeaderBytes(const ScriptHead& head) {
    if (head.HeaderSize == 0) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    NoImageOutput nowhere;
    try {
        WriteHeader(head, nowhere, &bytes);
    } catch (const BrokenRule&) {
        return std::nullopt;
    }
    bytes.resize(static_cast<std::size_t>(head.HeaderSize), 0x00);
    return bytes;
}

} // namespace kelbrin
