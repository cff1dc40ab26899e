// Any bytes as the marker file, whole or as the start of a longer file.
#include "FuzzInput.h"
#include "install/MarkerField.h"

#include <optional>
#include <string>
#include <string_view>

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// The field rule written out character by character: blanks skipped, a quoted field up to its
// closing quote, any other up to a comma or line end; a cut-off start of a file ends no field.
std::optional<std::string> referenceField(std::string_view data, bool wholeFile) {
    std::size_t at = 0;
    while (at < data.size() && isBlank(data[at]))
        ++at;
    if (at == data.size())
        return std::nullopt;
    const bool quoted = data[at] == '"';
    std::string field;
    for (at += quoted ? 1 : 0; at < data.size(); ++at) {
        const char c = data[at];
        if (quoted ? c == '"' : (c == ',' || c == '\r' || c == '\n'))
            return field;
        field += c;
    }
    if (!wholeFile)
        return std::nullopt;
    return field;
}

bool startsWithNej(std::string_view data) {
    if (data.substr(0, 3) != "nej")
        return false;
    return data.size() == 3 || data[3] == ',' || data[3] == '\r' || data[3] == '\n';
}

void checkField(std::string_view data, bool wholeFile) {
    const std::optional<std::string> field = install::firstDelimitedField(data, wholeFile);
    fuzz::require(field == referenceField(data, wholeFile), "the field follows the rule");
    // A cut-off start ending in nej may go on as a longer field.
    if (startsWithNej(data) && (wholeFile || data.size() > 3))
        fuzz::require(field == "nej", "nej asks for the installation");
    if (!field)
        return;
    fuzz::require(field->size() <= data.size(), "a field is never longer than the file");
    fuzz::require(data.find(*field) != std::string_view::npos, "a field is a piece of the file");
    const std::size_t start = data.find_first_not_of(" \t");
    if (data[start] != '"')
        fuzz::require(field->find_first_of(",\r\n") == std::string::npos,
                      "an unquoted field holds no comma or line break");
}

// What the start of a file yields, the whole file yields too.
void checkPrefix(std::string_view data) {
    const std::string_view start = data.substr(0, data.size() / 2);
    if (const auto early = install::firstDelimitedField(start, false))
        fuzz::require(early == install::firstDelimitedField(data, true),
                      "the start of a file decides as the whole file");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    checkField(text, true);
    checkField(text, false);
    checkPrefix(text);
    return 0;
}
