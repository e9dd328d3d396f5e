// Splits arbitrary bytes into lines and checks them against a byte-by-byte
// reading of the line-end rules, then checks that the saved image reads back
// as the same lines.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Property.h"
#include "common/LineList.h"

namespace {

using iwv::LineList;
using iwv::fuzz::CountOf;
using iwv::fuzz::Require;

// The straightforward reading that the fast splitter must agree with: CR LF,
// a lone CR or a lone LF ends a line, a NUL ends the text, and a line end at
// the very end opens no further line.
std::vector<std::string> ReferenceLines(std::string_view bytes) {
    std::vector<std::string> lines;
    std::string current;
    bool open = false;
    for (std::size_t i = 0; i < bytes.size() && bytes[i] != '\0'; ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(current);
            current.clear();
            open = false;
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        } else {
            current.push_back(c);
            open = true;
        }
    }
    if (open) lines.push_back(current);
    return lines;
}

bool SameLines(const LineList& a, const LineList& b) {
    if (a.Count() != b.Count()) return false;
    for (std::size_t i = 0; i < a.Count(); ++i) {
        if (a[i] != b[i]) return false;
    }
    return true;
}

void CheckShape(std::string_view bytes, const LineList& list) {
    const std::string_view text = bytes.substr(0, bytes.find('\0'));
    const std::size_t lineEnds = CountOf(text, '\r') + CountOf(text, '\n');
    Require(list.Count() <= lineEnds + 1, "no more lines than line-end bytes + 1");
    Require(list.Empty() == (list.Count() == 0), "Empty agrees with Count");

    std::size_t textSize = 0;
    for (std::size_t i = 0; i < list.Count(); ++i) {
        const std::string_view line = list[i];
        Require(line.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos,
                "no line holds CR, LF or NUL");
        textSize += line.size();
    }
    Require(textSize == list.TextSize(), "TextSize is the sum of the line lengths");
}

void CheckAgainstReference(std::string_view bytes, const LineList& list) {
    const std::vector<std::string> expected = ReferenceLines(bytes);
    Require(list.Count() == expected.size(), "line count matches the reference reading");
    for (std::size_t i = 0; i < expected.size(); ++i) {
        Require(list[i] == expected[i], "line bytes match the reference reading");
    }
}

void CheckRoundTrip(const LineList& list) {
    const std::string image = list.ToBytes();
    Require(image.size() == list.TextSize() + 2 * list.Count(), "every saved line ends with CR LF");
    Require(SameLines(LineList::FromBytes(image), list), "the saved image reads back as the same lines");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = iwv::fuzz::Bytes(data, size);
    const LineList list = LineList::FromBytes(bytes);
    CheckShape(bytes, list);
    CheckAgainstReference(bytes, list);
    CheckRoundTrip(list);
    return 0;
}
