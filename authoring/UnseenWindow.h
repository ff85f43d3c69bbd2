#pragma once

#include <string>

#include "RunWindow.h"

namespace kelbrin {

// A run's window for a rehearsal that nobody watches. The run's failure box comes back in its
// result; only the digest of a checksum mismatch is kept.
class UnseenWindow final : public RunWindow {
public:
    void SetStatus(const std::string&) override {}
    void ShowMD5(const std::string& digest) override { Digest = digest; }
    void HideMD5() override {}
    void LetEventsRun() override {}
    void ShowMessageBox(const std::string&, const std::string&, MessageBoxIcon) override {}

    std::string Digest;
};

} // namespace kelbrin
