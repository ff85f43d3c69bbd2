#pragma once

#include <string>

#include "ChecksumMemo.h"
#include "ImageLayout.h"
#include "ImageOutput.h"
#include "ScriptHead.h"

namespace kelbrin {

// A run that leaves the folder as it is: it reads the script and the original exactly as a run
// does, with the same rules, boxes and statuses, but never makes or replaces the expanded file.
// Its image goes to `Output` instead: nowhere for a check of the script, or against bytes the
// caller already has for the proof of a script just made.
struct Rehearsal {
    ImageOutput& Output;
    // Filled with where every byte of the image comes from, when given.
    ImageLayout* Layout = nullptr;
    // The script to run, when it is not the folder's Kelbrin.txt. The names on its NAME line
    // are still taken in the folder.
    ScriptSource Script;
    // Shared by the rehearsals of one script, so that the original is digested once.
    ChecksumMemo* Checksums = nullptr;
    // What a run would refuse about the expanded file it makes is refused too, unless the
    // expanded file is to be left alone: it may lie elsewhere, as for a script made for
    // players' folders.
    ExpandedFileUse Expanded = ExpandedFileUse::Prove;
};

} // namespace kelbrin
