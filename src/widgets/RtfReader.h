#pragma once
// A reader for the RTF that the log window's blocks are written in: groups, the font and
// colour tables, \f \fs \cf \b \i \ul \ulnone \plain \par \line \tab, the escapes \\ \{ \}
// \~ \_ \- , \'hh (Windows-1252), \uN with \ucN, and ignorable \* destinations.
// Raw bytes above 127 in the source are read as UTF-8 where they form a valid sequence,
// otherwise as Windows-1252.

#include "widgets/StyledText.h"

#include <string>
#include <string_view>

namespace quorvel {

// The text of an RTF document, starting from `initial` (Helvetica 12, default colour).
StyledText readRtf(std::string_view rtf, const TextStyle& initial = TextStyle());

// RTF source for plain text: \ \{ \} escaped, tabs and line ends as control words,
// characters beyond ASCII as \uN followed by the fallback '?'.
std::string escapeRtf(std::string_view utf8Text);

} // namespace quorvel
