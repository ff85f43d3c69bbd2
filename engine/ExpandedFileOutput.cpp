#include "ExpandedFileOutput.h"

namespace kelbrin {

void ExpandedFileOutput::Finish() {
    writer_.Close();
    // A disk that runs out of room only now (delayed allocation, a network share) fails here,
    // as the last writes would have.
    file_.FlushToDisk();
}

std::optional<RuntimeError> ExpandedFileOutput::Abandon() noexcept {
    std::optional<RuntimeError> writeError;
    if (writer_.IsOpen()) {
        try {
            writer_.Flush();
        } catch (const RuntimeError& error) {
            writeError = error;
        } catch (...) {
        }
        writer_.Abandon();
    }
    return writeError;
}

} // namespace kelbrin
