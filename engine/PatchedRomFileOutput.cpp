#include "PatchedRomFileOutput.h"

#include <utility>

#include "RunFailure.h"

namespace kelbrin {

PatchedRomFileOutput::PatchedRomFileOutput(std::optional<ReplacementFile>& file, std::string path,
                                           std::vector<std::string> inputs, std::string context)
    : file_(file), path_(std::move(path)), inputs_(std::move(inputs)),
      context_(std::move(context)) {}

void PatchedRomFileOutput::Start(std::uint64_t) {
    Under(context_, [&] {
        writer_.emplace(file_.emplace(ReplacementFile::NamesFor(path_), inputs_).File());
    });
}

void PatchedRomFileOutput::Take(std::span<const std::uint8_t> bytes) {
    Under(context_, [&] { writer_->Write(bytes); });
}

void PatchedRomFileOutput::ReadBack(std::uint64_t offset, std::span<std::uint8_t> into) {
    Under(context_, [&] {
        if (writer_->Landed() != writer_->Given()) {
            writer_->Flush();
        }
        // Every byte asked for was written: a shorter file was cut by someone else meanwhile.
        if (file_->File().ReadAt(static_cast<std::int64_t>(offset), into.data(), into.size()) !=
            into.size()) {
            throw RuntimeError(ErrInputPastEndOfFile);
        }
    });
}

void PatchedRomFileOutput::Finish() {
    Under(context_, [&] {
        writer_->Close();
        file_->FlushToDisk();
    });
}

} // namespace kelbrin
