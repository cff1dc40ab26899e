#include "MarkerField.h"

namespace install {

namespace {

std::optional<std::string> fieldUpTo(std::string_view data, std::size_t begin, std::size_t end,
                                     bool wholeFile) {
    if (end != std::string_view::npos)
        return std::string(data.substr(begin, end - begin));
    // Unended at the end of a cut-off prefix: the field may go on beyond what was read.
    if (!wholeFile)
        return std::nullopt;
    return std::string(data.substr(begin));
}

} // namespace

std::optional<std::string> firstDelimitedField(std::string_view data, bool wholeFile) {
    const std::size_t start = data.find_first_not_of(" \t");
    if (start == std::string_view::npos)
        return std::nullopt;
    if (data[start] == '"')
        return fieldUpTo(data, start + 1, data.find('"', start + 1), wholeFile);
    return fieldUpTo(data, start, data.find_first_of(",\r\n", start), wholeFile);
}

std::string quotedFieldRecord(std::string_view field) {
    std::string record;
    record.reserve(field.size() + 4);
    record += '"';
    record += field;
    record += "\"\r\n";
    return record;
}

} // namespace install
