#pragma once
// The single-line changes the dialog makes to the buffer, and the texts its
// hex view shows. No toolkit here: the dialog only carries texts between these
// functions and its controls.

#include <optional>
#include <string>
#include <string_view>

#include "BufferState.h"

namespace pavok {

// Lines of 16 bytes in the whole image; any of them can be edited, also
// those beyond the current chip size.
inline constexpr int kImageLineCount = static_cast<int>(kImageSize) / kLineSize;

// How many lines the hex view shows: chipSize / 16.
int ViewLineCount(const BufferState& state);

// The hex-view line of line `line` of workImage ("07F0: FF FF ...").
std::string ViewLineText(const BufferState& state, int line);

// "КС: 7f800": the buffer's byte sum in lower-case hex.
std::string ChecksumText(const BufferState& state);

// Stores the line editor's text (one byte per character) into line
// editLineIndex of workImage and sets unsavedFlag. A text that does not parse
// changes nothing and gives the message the user must see. An editLineIndex
// outside the image also changes nothing.
std::optional<std::string> SaveLine(BufferState& state, std::string_view text);

// Sets the 16 bytes of `line` to 0xFF and unsavedFlag to 1; a line outside
// the image changes nothing.
void ClearLine(BufferState& state, int line);

}  // namespace pavok
