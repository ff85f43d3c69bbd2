// The help window's format page against the two pictures under it, which are kept as files:
// the page's sample script must expand the original the page describes into the bytes that
// forms/resources/SampleExpanded.bmp shows.

#include <gtest/gtest.h>
#include <string>

#include "Expand.h"
#include "HelpTexts.h"
#include "MD5.h"
#include "RecordingWindow.h"
#include "TempFolder.h"

namespace kelbrin::test {
namespace {

// The first script on the page: the lines between its first two rules of "-".
std::string SampleScript() {
    const std::string& text = FormatHelpText();
    const std::string rule = std::string(79, '-') + "\r\n";
    const std::size_t start = text.find(rule) + rule.size();
    return text.substr(start, text.find(rule, start) - start);
}

TEST(HelpPictures, FormatPageSampleMakesTheBytesItsPictureShows) {
    // An NES header, then 40 KB in which every byte holds the low byte of its own address.
    std::string original("NES\x1A\x02\x01\x01", 7);
    original.resize(16, '\0');
    for (int i = 0; i < 0xA000; ++i) {
        original += static_cast<char>(i & 0xFF);
    }
    TempFolder folder;
    folder.Write("Zephyr Saga.nes", original);
    folder.Write("Kelbrin.txt", SampleScript());
    RecordingWindow window;
    // A box (the digest's warning among them) means the page no longer fits this original.
    EXPECT_TRUE(Expand(HeaderChoice::AddOrReplace, folder.Path(), window).Done() &&
                window.Boxes.empty())
        << ::testing::PrintToString(window.Log);
    // After a change of the sample, draw the pictures anew (forms/resources/README.md) and
    // write the new digest here.
    EXPECT_EQ(MD5().DigestStrToHexStr(folder.Read("Zephyr Saga (expanded).nes").value_or("")),
              "8C89F0C89AECB24AD2AAE306F5BB1D3E");
}

} // namespace
} // namespace kelbrin::test
