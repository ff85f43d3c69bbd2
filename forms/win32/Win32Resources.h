#pragma once

// Resource numbers of the Win32 front end, read by its resource script and its code. The
// program icon is number 1 of the program's own script (app/kelbrin.rc.in).
#define KELBRIN_PROGRAM_ICON 1
#define KELBRIN_SAMPLE_EXPANDED_BITMAP 101
#define KELBRIN_SAMPLE_ORIGINAL_BITMAP 102
