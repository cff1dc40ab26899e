#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace install {

// How much of the marker file is ever read. Its real content is a handful of bytes; one 4 KiB
// read covers any hand-written marker with room to spare, and a huge or binary file placed under
// its name costs no more than that read.
inline constexpr std::size_t markerReadLimit = 4096;

// The first field of delimited-field text: leading blanks skipped; a field opening with a double
// quote runs to the closing quote and loses its quotes; any other field runs to the first comma
// or line end. Nothing when no field starts in `data`, or when `data` is only the start of a longer
// file (`wholeFile` false) and the field is not ended within it.
std::optional<std::string> firstDelimitedField(std::string_view data, bool wholeFile);

// `field` written as one quoted record: the field in double quotes followed by CR LF.
std::string quotedFieldRecord(std::string_view field);

} // namespace install
