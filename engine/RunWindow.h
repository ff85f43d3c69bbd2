#pragma once

#include <string>

#include "common/MessageBox.h"

namespace kelbrin {

// All that an expansion run sees of its window: the status line, the MD5 row, message
// boxes, and a moment for pending window events. The run reads nothing back.
class RunWindow : public MessageBox {
public:
    virtual void SetStatus(const std::string& text) = 0;
    // Puts the digest into the MD5 box and shows the box with its label.
    virtual void ShowMD5(const std::string& digest) = 0;
    virtual void HideMD5() = 0;
    virtual void LetEventsRun() = 0;
};

} // namespace kelbrin
