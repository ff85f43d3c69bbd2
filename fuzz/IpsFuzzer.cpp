// Fuzzes the IPS and IPS32 reader: the input is the patch (its first bytes stand for the magic,
// unchecked), applied to a ROM of 64 bytes.

#include <algorithm>
#include <cstdint>
#include <vector>

#include "IpsPatch.h"
#include "PatchContract.h"
#include "PatchedRomInMemory.h"

using kelbrin::fuzz::Check;
using kelbrin::fuzz::Refusal;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> patch(data, size);
    std::vector<std::uint8_t> source(64);
    for (std::size_t i = 0; i < source.size(); ++i) {
        source[i] = static_cast<std::uint8_t>(i);
    }
    for (const kelbrin::PatchFormat format :
         {kelbrin::PatchFormat::Ips, kelbrin::PatchFormat::Ips32}) {
        kelbrin::PatchDescription description;
        const std::int32_t described =
            Refusal([&] { description = kelbrin::DescribeIps("fuzz", patch, format); });
        if (described == 0 && description.Reach > kelbrin::fuzz::kLargestFuzzedRom) {
            continue;
        }
        kelbrin::PageBuffer target;
        const std::int32_t applied = Refusal([&] {
            kelbrin::PatchedRomInMemory patched;
            kelbrin::ApplyIps("fuzz", patch, format, source, patched);
            target = patched.TakeBytes();
        });
        if (described != 0) {
            Check(applied == described, "a patch refused alone is refused with the ROM alike");
            continue;
        }
        if (applied != 0) {
            Check(applied == kelbrin::ErrPatchWrongSource && description.Truncation.has_value(),
                  "a readable IPS patch fails only by cutting the ROM longer");
            continue;
        }
        const std::uint64_t length = std::max<std::uint64_t>(source.size(), description.Reach);
        Check(target.Size() == description.Truncation.value_or(length),
              "the patched ROM is as long as the records reach, or as the patch cuts it");
        if (description.Records == 0) {
            Check(std::equal(target.Bytes().begin(), target.Bytes().end(), source.begin()),
                  "a patch without records changes nothing but the length");
        }
    }
    return 0;
}
