#include "HelpTexts.h"

#include <initializer_list>
#include <string_view>

namespace kelbrin {

namespace {

// The text boxes show 79 characters of the fixed-pitch font per line.
constexpr std::size_t kWidth = 79;

// MD5 of the sample original's image (its header left out); the handlers' tests run the sample
// below on that original and fail when the digest does not match.
constexpr std::string_view kSampleDigest = "9A36EACB09F8E98E103E9EE897F8E31C";

std::string FrameRule() {
    std::string rule;
    for (std::size_t i = 0; i < kWidth; ++i) {
        rule += i % 2 == 0 ? '-' : '=';
    }
    return rule;
}

std::string Rule(char c) {
    return std::string(kWidth, c);
}

std::string Centred(std::string_view title) {
    return std::string((kWidth - title.size()) / 2, ' ') + std::string(title);
}

std::string Join(std::initializer_list<std::string> lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

// How a person starts the program from a command line on this system.
#ifdef _WIN32
constexpr std::string_view kStartCommand = "Kelbrin.exe";
#else
constexpr std::string_view kStartCommand = "kelbrin";
#endif

// The NAME and HEADER lines are shared by both scripts of the format page.
const std::string kNameLine = "NAME\tZephyr Saga.nes\tZephyr Saga (expanded).nes";
const std::string kHeaderLine = "HEADER\t10\t4E\t45\t53\t1A\t4\t1\t40\t40";

} // namespace

const std::string& UsageHelpText() {
    static const std::string text = Join({
        FrameRule(),
        Centred("How to Use Kelbrin"),
        "",
        "Easy as 1, 2, 3...",
        "",
        "1) The script file \"Kelbrin.txt\" must be in the same directory as the",
        "   program itself, \"Kelbrin.exe\" (plain \"kelbrin\" on Linux).  The maker of",
        "   the patch gives you this file together with the patch.",
        "   Is Kelbrin installed, or kept elsewhere?  Choose File > Choose Folder...,",
        "   drop the directory (or a file in it) on the window, or start the program",
        "   as \"" + std::string(kStartCommand) +
            " FOLDER\".  Kelbrin remembers the directory for next time.",
        "",
        "2) The original ROM file must be in that same directory too, and its name",
        "   must be exactly the name in the first column after NAME on the first",
        "   line of Kelbrin.txt, with the same letter case, blanks and extension.",
        "   Rename your copy of the ROM if it is called differently.",
        "",
        "3) You do not need to know whether your original ROM file has a header:",
        "   Kelbrin finds that out by itself from the file's size.  Whether the",
        "   expanded ROM needs a header is up to the maker of the IPS patch, who",
        "   will tell you.  Then press one of the two buttons,",
        "      \"Expand and Add/Replace Header\"  or",
        "      \"Expand and Ignore/Remove Header\",",
        "   or choose the matching item of the File menu (\"Expand and Add Header\"",
        "   or \"Expand and Remove Header\"), and Kelbrin expands the ROM accordingly.",
        "",
        "The expanded ROM is written into the same directory, under the name in the",
        "second column after NAME; your original ROM is only read, never changed.",
        "When the status line says \"Expansion Done\", apply the patch to the expanded",
        "ROM.  If something is wrong, an error box tells you what, and the status",
        "line says \"Ended due to Error\".  Kelbrin can also apply the patch for you:",
        "see \"Applying a Patch\".",
        FrameRule(),
    });
    return text;
}

const std::string& FormatHelpText() {
    static const std::string text = Join({
        FrameRule(),
        Centred("How to Format the Kelbrin.txt file"),
        "",
        "Below is a sample Kelbrin.txt that shows everything the file can do.  The",
        "two pictures under this text go with it: in YELLOW, the first bytes of the",
        "original ROM, which has an NES header; in WHITE, the whole expanded ROM",
        "(here smaller than the original) as \"Expand and Add/Replace Header\"",
        "writes it.  Every byte of this original holds the low byte of its own",
        "address, so you can see where each copied byte comes from.  The pictures",
        "count from the start of each file, header included: an address of the",
        "script shows up 10 hex bytes further on in them.  The sample is only an",
        "illustration, not a real file.",
        Rule('-'),
        kNameLine,
        "SIZE\tA000\tA0\t" + std::string(kSampleDigest),
        kHeaderLine,
        "COPY\t0\t20",
        "REPLACE\t20\t11\t22\t33",
        "REPLACE\t30\t44\t55\t66",
        "FILL\t40\tFF",
        "COPY\t50\t60",
        "FILL\t80\tF0",
        "REPLACE\t90\t77\t88\t99",
        Rule('-'),
        "",
        "General rules:",
        " - All entries are tab-delimited: one TAB character, not blanks, separates",
        "   each entry from the next.  Blanks are never skipped; they count as part",
        "   of the entry.",
        " - All numbers are hexadecimal, with one to seven digits and no prefix or",
        "   suffix.  They may be padded with zeros: 0010 is the same as 10.",
        " - All addresses refer to a ROM WITHOUT a header, the original as well as",
        "   the expanded ROM, even when the expanded ROM is to have a header.",
        " - The row names (NAME, SIZE, HEADER, COPY, FILL, REPLACE) are required",
        "   and may be written in any letter case.",
        " - Empty lines are not allowed, not even after the last line (a line break",
        "   at the end of the last line is fine).",
        "",
        "A realistic Kelbrin.txt for the same game is simpler.  This one expands the",
        "40 KB original to 72 KB: it copies the original's first 16 KB twice, then",
        "the whole original.",
        Rule('-'),
        kNameLine,
        "SIZE\tA000\t12000\t" + std::string(kSampleDigest),
        kHeaderLine,
        "COPY\t0\t0",
        "COPY\t4000\t0",
        "COPY\t8000\t0",
        Rule('-'),
        "",
        "Line Explanation:",
        "",
        "1st Line - Required",
        "   NAME <TAB> original ROM name <TAB> expanded ROM name",
        "   Both are file names in the program's directory and may contain blanks.",
        "   The two names must differ.  An expanded ROM that already exists is",
        "   overwritten; the original ROM is only ever read.",
        Rule('.'),
        "2nd Line - Required",
        "   SIZE <TAB> original size <TAB> expanded size <TAB> MD5 (optional)",
        "   Both sizes are in bytes, WITHOUT a header.  The MD5 is the checksum of",
        "   the original ROM, ignoring its header bytes.",
        "",
        "   Notes on the MD5 checksum feature:",
        "    - Without an MD5, no checksum is computed or compared.",
        "    - If the original ROM's MD5 does not match, the user is told so, but",
        "      the ROM is expanded all the same.",
        "    - To learn the MD5 of your ROM, put any text in the MD5's place (XXX,",
        "      for example) and run Kelbrin.  It shows the ROM's MD5 in the box below",
        "      the status line: copy it into Kelbrin.txt exactly as shown, in upper",
        "      case.  File > ROM Information shows it too, with a ready SIZE line,",
        "      before anything is written.",
        "    - CAUTION: FDS games that use save files may not match, because the",
        "      user's saved data differs from yours.",
        Rule('.'),
        "3rd Line - Required",
        "   HEADER <TAB> header size <TAB> 1st header byte <TAB> 2nd header byte ...",
        "   The header bytes come one per entry; header bytes that are not given are",
        "   written as 00.  Kelbrin needs the header size to tell whether the",
        "   original ROM has a header, so give it even if the expanded ROM is to",
        "   have none.  An original of exactly the size on the SIZE line has no",
        "   header; one that is longer by the header size has one, which Kelbrin",
        "   skips.  An original of any other size is reported as an error.",
        "",
        "   Some header size standards:",
        "      NES      10    required for both emulators and copiers",
        "      FDS      10    optional for emulators, not allowed for copiers",
        "      SNES    200    optional for copiers and emulators",
        "",
        "   For systems that never use a header, write HEADER, a TAB and 0:",
        "HEADER\t0",
        "   If a user then asks for a header anyway, an error box says that this is",
        "   not possible and points to the \"Expand and Ignore/Remove Header\" button.",
        Rule('.'),
        "4th Line - Required",
        "   COPY <TAB> start address in the expanded ROM <TAB> start address in the",
        "   original ROM",
        "      or",
        "   FILL <TAB> start address in the expanded ROM <TAB> byte value (typically",
        "   00 or FF)",
        "   This first COPY or FILL line must start at address 0.  Copying or",
        "   filling goes on up to the start address of the next COPY or FILL line,",
        "   or to the end of the expanded ROM as the SIZE line gives it.  A COPY's",
        "   address in the original ROM may not lie beyond the original's end;",
        "   bytes copied from past that end come out as 00.",
        Rule('.'),
        "5+ Lines - Optional",
        "   COPY or FILL, as above",
        "      or",
        "   REPLACE <TAB> start address in the expanded ROM <TAB> byte <TAB> byte ...",
        "   REPLACE only replaces bytes that would otherwise be copied or filled;",
        "   after them the copying or filling from before simply goes on.  In a",
        "   copy the original's bytes under the replaced ones are skipped, so the",
        "   rest of the copy does not shift.  This serves, for example, FDS",
        "   expansions, where bytes that give the size of a file or the number of",
        "   files must change.  The IPS patch could make such changes too, but",
        "   making them here lets you test the expanded ROM before the patch is",
        "   applied.",
        "   Start addresses never go back: each line starts at or after the start",
        "   of the line before it, and after a REPLACE line, past its last byte.",
        Rule('.'),
        "Checking your Kelbrin.txt",
        "   File > Check Script... (or kelbrin-cli --check) runs both buttons'",
        "   expansions without writing anything, shows how each would end, and",
        "   says line by line what a run reads differently from what you meant:",
        "   spaces for TABs, numbers typed in decimal, a start that goes back.",
        "   kelbrin-cli --layout lists where every byte of the expanded ROM comes",
        "   from.  kelbrin-cli --make-script writes the whole file for you from",
        "   the original and an expanded ROM you already have.",
        Rule('.'),
        "Making the patch",
        "   File > Make Patch... makes the patch that takes the expanded ROM on to",
        "   your hack, as kelbrin-cli --make-patch does.  Choose the expanded ROM",
        "   and the hacked ROM with the buttons beside them, type their names, or",
        "   drop them on the box (the first file dropped is the expanded ROM), and",
        "   the format: BPS, IPS (for ROMs of up to 16 MiB) or UPS.  The patch goes",
        "   beside the hacked ROM under its name with the format's extension",
        "   (hack.sfc gives hack.bps), unless you name another place, and never",
        "   over either ROM.  It is applied to the expanded ROM in memory first,",
        "   and written only when it gives the hacked ROM byte for byte; the",
        "   status line then names it and its size.",
        FrameRule(),
    });
    return text;
}

const std::string& PatchHelpText() {
    static const std::string text = Join({
        FrameRule(),
        Centred("Applying a Patch"),
        "",
        "Kelbrin applies the patch itself once it has expanded the ROM, so that you",
        "need no patcher of your own.",
        "",
        "1) Put the patch file (.ips, .bps or .ups) into the directory with",
        "   Kelbrin.txt and the original ROM, as the maker of the patch gives it.",
        "   The patch line under the status line shows the patch the buttons apply,",
        "   \"Patch: hack.ips\" for example.  When the directory holds one patch,",
        "   that one is chosen; of several, the one made for the ROM of a button",
        "   is chosen when only one is, and otherwise none until you pick one",
        "   with \"Patch...\".  \"Patch...\" also picks a patch kept anywhere",
        "   else, and so does dropping the patch file on the window.  \"None\"",
        "   expands without applying a patch.",
        "",
        "2) Press one of the two buttons, as you would without a patch.  Kelbrin",
        "   expands the ROM, applies the patch to the expanded ROM and writes the",
        "   patched ROM beside it, under the patch's name with the expanded ROM's",
        "   extension: hack.ips and a ROM ending in .nes give hack.nes.",
        "",
        "3) A BPS or UPS patch knows the ROM it was made for, and the line under",
        "   the patch line says which button writes that ROM (\"Fits: ...\").",
        "   Pressing the other button writes nothing: a box names the button to",
        "   press.  When neither fits, the patch was made for another version of",
        "   the game, or the ROM is patched already; the maker of the patch can",
        "   tell you which.  An IPS patch holds no checksum: the maker's notes say",
        "   which button to press.",
        "",
        "A ROM that needs no expansion:",
        "   File > Apply Patch... applies a patch to any ROM.  Choose the patch and",
        "   the ROM with the buttons beside them, type their names, or drop the",
        "   files on the box.  The patched ROM goes beside the patch under the",
        "   patch's name with the ROM's extension, unless you name another place.",
        "   A file that is there already is replaced only when you choose",
        "   \"Replace a file that is there already\".  Your ROM and the patch are",
        "   only read.  The status line then names the patched ROM and its CRC32,",
        "   which you can compare with the one the maker of the patch gives.",
        FrameRule(),
    });
    return text;
}

} // namespace kelbrin
