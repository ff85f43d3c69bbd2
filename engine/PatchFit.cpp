#include "PatchFit.h"

#include <algorithm>
#include <array>

#include "ContextTexts.h"
#include "Crc32.h"
#include "Expand.h"
#include "General_Routines.h"
#include "HeaderWriter.h"
#include "NumberText.h"
#include "Patch.h"
#include "PatchFiles.h"
#include "RunFailure.h"

namespace kelbrin {

namespace {

std::string Bytes(std::uint64_t count) {
    return "0x" + ScriptHex(count) + (count == 1 ? " byte" : " bytes");
}

std::string SumText(const RomSum& sum) {
    return Bytes(sum.Size) + " with the CRC32 " + Crc32::Text(sum.Crc32);
}

std::string Named(std::string_view name, const PatchDescription& patch,
                  const char* article = "The ") {
    std::string text = article;
    text.append(PatchFormatName(patch.Format)).append(" patch '").append(name).append("'");
    return text;
}

HeaderChoice Other(HeaderChoice button) {
    return button == HeaderChoice::AddOrReplace ? HeaderChoice::IgnoreOrRemove
                                                : HeaderChoice::AddOrReplace;
}

std::string Caption(HeaderChoice button) {
    return std::string(ButtonCaption(button));
}

std::string NeitherText(std::string_view name, const PatchDescription& patch,
                        const ButtonFiles& files, HeaderChoice pressed) {
    std::string text = Named(name, patch) + " fits neither button's ROM: it was made for " +
                       SumText({*patch.SourceSize, *patch.SourceCrc32}) + ", and " +
                       Caption(pressed) + " writes " + SumText(*files.Of(pressed));
    if (const std::optional<RomSum> other = files.Of(Other(pressed))) {
        text += " (" + Caption(Other(pressed)) + ": " + SumText(*other) + ")";
    }
    return text + ". That usually means another revision of the game than the patch's, a ROM "
                  "that is patched already, or a header the patch does not expect.";
}

// The output of a look that wants only the image's checksum.
class ChecksumOutput final : public ImageOutput {
public:
    void WriteByte(std::uint8_t value) override {
        crc_.Update({&value, 1});
        ++size_;
    }
    void WriteRepeated(std::uint8_t value, std::int64_t count) override {
        const std::array<std::uint8_t, 4096> run = Filled(value);
        for (std::int64_t left = count; left > 0; left -= run.size()) {
            crc_.Update(std::span(run).first(static_cast<std::size_t>(
                std::min<std::int64_t>(left, static_cast<std::int64_t>(run.size())))));
        }
        size_ += static_cast<std::uint64_t>(count);
    }
    void CopyFrom(BinaryReader& source, std::int64_t count) override {
        std::vector<std::uint8_t> piece(
            static_cast<std::size_t>(std::min<std::int64_t>(count, std::int64_t{1} << 20)));
        for (std::int64_t left = count; left > 0;) {
            const auto take = static_cast<std::size_t>(
                std::min<std::int64_t>(left, static_cast<std::int64_t>(piece.size())));
            source.Read(std::span(piece).first(take));
            crc_.Update(std::span(piece).first(take));
            left -= static_cast<std::int64_t>(take);
        }
        size_ += static_cast<std::uint64_t>(count);
    }
    void Flush() override {}
    void Finish() override {}
    std::optional<RuntimeError> Abandon() noexcept override { return std::nullopt; }

    RomSum Sum() const { return {size_, crc_.Value()}; }

private:
    static std::array<std::uint8_t, 4096> Filled(std::uint8_t value) {
        std::array<std::uint8_t, 4096> run;
        run.fill(value);
        return run;
    }

    Crc32 crc_;
    std::uint64_t size_ = 0;
};

// A window that shows nothing, keeping the last box's text.
class QuietWindow final : public RunWindow {
public:
    void SetStatus(const std::string&) override {}
    void ShowMD5(const std::string&) override {}
    void HideMD5() override {}
    void LetEventsRun() override {}
    void ShowMessageBox(const std::string&, const std::string&, MessageBoxIcon) override {}
};

PatchFitting Unanswered(const std::string& text) {
    return {{ButtonFit::NoFile, text}, {ButtonFit::NoFile, text}};
}

} // namespace

ButtonFiles FilesOfButtons(const std::optional<std::vector<std::uint8_t>>& header, RomSum image) {
    ButtonFiles files{std::nullopt, image};
    if (header && !header->empty()) {
        Crc32 crc;
        crc.Update(*header);
        files.AddOrReplace =
            RomSum{header->size() + image.Size,
                   Crc32::Combine(crc.Value(), image.Crc32, static_cast<std::int64_t>(image.Size))};
    }
    return files;
}

ButtonFit FitOf(const PatchDescription& patch, const std::optional<RomSum>& file) {
    if (!file) {
        return ButtonFit::NoFile;
    }
    if (!patch.SourceSize || !patch.SourceCrc32) {
        return ButtonFit::CannotTell;
    }
    if (RomSum{*patch.SourceSize, *patch.SourceCrc32} == *file) {
        return ButtonFit::Fits;
    }
    if (patch.TargetSize && patch.TargetCrc32 &&
        RomSum{*patch.TargetSize, *patch.TargetCrc32} == *file) {
        return ButtonFit::AlreadyPatched;
    }
    return ButtonFit::DoesNotFit;
}

std::string_view ButtonCaption(HeaderChoice button) {
    return button == HeaderChoice::AddOrReplace ? "Expand and Add/Replace Header"
                                                : "Expand and Ignore/Remove Header";
}

std::string FitText(std::string_view name, const PatchDescription& patch, const ButtonFiles& files,
                    HeaderChoice button) {
    const std::optional<RomSum> file = files.Of(button);
    switch (FitOf(patch, file)) {
    case ButtonFit::Fits:
        return Named(name, patch) + " fits the ROM that " + Caption(button) + " writes.";
    case ButtonFit::AlreadyPatched:
        return "The ROM that " + Caption(button) + " writes (" + SumText(*file) +
               ") is already what " + Named(name, patch, "the ") +
               " makes: it is patched already, and a patch is not applied twice.";
    case ButtonFit::CannotTell:
        return Named(name, patch) +
               " holds no checksum, so Kelbrin cannot tell which button it fits: the author's "
               "script or notes say which.";
    case ButtonFit::NoFile:
        return Caption(button) + " writes no ROM: the script declares no header.";
    case ButtonFit::DoesNotFit: break;
    }
    if (FitOf(patch, files.Of(Other(button))) == ButtonFit::Fits) {
        return Named(name, patch) + " does not fit the ROM that " + Caption(button) +
               " writes: it fits the one of the other button. Press " + Caption(Other(button)) +
               " instead.";
    }
    return NeitherText(name, patch, files, button);
}

std::string RequireFit(std::string_view name, const PatchDescription& patch,
                       const ButtonFiles& files, HeaderChoice pressed) {
    switch (FitOf(patch, files.Of(pressed))) {
    case ButtonFit::Fits: return {};
    case ButtonFit::CannotTell: return FitText(name, patch, files, pressed);
    case ButtonFit::AlreadyPatched:
        throw RuntimeError(ErrPatchAlreadyApplied, FitText(name, patch, files, pressed));
    case ButtonFit::NoFile:
    case ButtonFit::DoesNotFit: break;
    }
    throw RuntimeError(FitOf(patch, files.Of(Other(pressed))) == ButtonFit::Fits
                           ? ErrPatchFitsOtherButton
                           : ErrPatchFitsNeitherButton,
                       FitText(name, patch, files, pressed));
}

PatchFitting FitPatch(const std::string& folder, const RunExtras& extras,
                      const std::string& patch) {
    try {
        const PatchDescription description = Under(ContextText::Patch(patch), [&] {
            return DescribePatch(PatchName(patch), ReadPatch(patch).Bytes());
        });
        ScriptSource source;
        source.Original = extras.Original.value_or("");
        const ScriptHead head = OpenScript(folder, source, ExpandedFileUse::Leave).Head;
        ChecksumOutput image;
        QuietWindow quiet;
        Rehearsal rehearsal{image, nullptr, source, nullptr, ExpandedFileUse::Leave};
        const RunResult result = Rehearse(HeaderChoice::IgnoreOrRemove, folder, quiet, rehearsal);
        if (!result.Done()) {
            return Unanswered(result.BoxText);
        }
        const ButtonFiles files = FilesOfButtons(HeaderBytes(head), image.Sum());
        const std::string name = PatchName(patch);
        return {{FitOf(description, files.AddOrReplace),
                 FitText(name, description, files, HeaderChoice::AddOrReplace)},
                {FitOf(description, files.IgnoreOrRemove),
                 FitText(name, description, files, HeaderChoice::IgnoreOrRemove)}};
    } catch (...) {
        const RunFailure failure = CaughtFailure();
        return Unanswered(ErrorBoxMessage(failure.Shown(), failure.FileName, failure.Error));
    }
}

} // namespace kelbrin
