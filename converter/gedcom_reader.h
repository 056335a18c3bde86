// Reading a GEDCOM file (5.5.1 or 7.0) into its lines, before anything is made of them.
//
// The bytes are decoded as the file declares them: UTF-8 (with or without a byte-order
// mark; always for 7.0), or, as older 5.5.1 files declare in HEAD's CHAR, ANSEL, ASCII or
// Shift-JIS. A file whose bytes do not match its declaration is refused with the line
// where they part, never read as something else.
//
// Each line is "level [@xref@] TAG [value]". The lines become nodes in file order; a node's
// subtree is the run of nodes after it up to `end`. CONC and CONT lines are folded into the
// value of the line they continue (CONT with a line break), and the escaped "@@" of a text
// is undone (everywhere in 5.5.1, at the start of a line in 7.0).
//
// What the reader finds wrong is collected, each with its line: a damaged line (no level,
// no tag, a level that jumps), a missing TRLR, a pointer to no record, a cross-reference
// used twice (errors), a 5.5.1 line longer than 255 characters (read whole) and a tag that
// is neither standard nor a user tag (notices).
#pragma once

#include "converter/gedcom_export.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace converter {

enum class GedcomCharset { Utf8, Ansel, Ascii, ShiftJis };

// Something to tell about one line of the file.
struct GedcomFinding {
    int line = 0;      // 1-based line of the file; 0 for the file as a whole
    std::string about; // the person or family concerned ("@I3@ 山田太郎"); may be empty
    std::string text;
    // "12 行目（@I3@ 山田太郎）：text".
    std::string message() const;
};

struct GedcomNode {
    std::string_view value;        // continuation lines folded in, escapes undone
    const char* tagData = nullptr; // the tag and the cross-reference lie in the file's text
    const char* xrefData = nullptr;
    int line = 0;
    std::uint32_t end = 0;    // one past the last node of this node's subtree
    std::int32_t target = -1; // the node of the record the value points at; -1 for none
    std::uint8_t tagSize = 0;
    std::uint8_t xrefSize = 0;
    std::uint8_t level = 0;
    bool pointer = false; // the value points at a record ("@F2@")

    std::string_view tag() const { return {tagData, tagSize}; }    // "INDI", "_TSUBAKI_NO"
    std::string_view xref() const { return {xrefData, xrefSize}; } // "@I1@" on a record
};

class GedcomFile;
GedcomFile readGedcom(std::string bytes, const std::string& fileName);

class GedcomFile {
public:
    GedcomVersion version = GedcomVersion::V551;
    GedcomCharset charset = GedcomCharset::Utf8;
    std::string source; // HEAD's SOUR: the program that wrote the file
    std::vector<GedcomNode> nodes;
    std::vector<GedcomFinding> errors;
    std::vector<GedcomFinding> notices;
    int lines = 0; // lines of the file

    // The node of the record `pointer` names ("@I1@"); -1 for none (and for 7.0's @VOID@).
    long record(std::string_view pointer) const;
    // The first child of node `i` with `tag`; -1 for none.
    long child(std::size_t i, std::string_view tag) const;
    // Calls f(j) for every child j of node `i`.
    template <class F> void forChildren(std::size_t i, F&& f) const {
        for (std::size_t j = i + 1; j < nodes[i].end; j = nodes[j].end) {
            f(j);
        }
    }
    // Calls f(j) for every record (level 0).
    template <class F> void forRecords(F&& f) const {
        for (std::size_t j = 0; j < nodes.size(); j = nodes[j].end) {
            f(j);
        }
    }

private:
    friend class GedcomParser;
    friend GedcomFile readGedcom(std::string bytes, const std::string& fileName);
    std::unique_ptr<std::string> text_;              // the decoded text the views point into
    std::unique_ptr<std::deque<std::string>> owned_; // values assembled from several lines
    std::unordered_map<std::string_view, std::uint32_t> records_;
};

// Reads GEDCOM bytes. Throws common::FileError naming `fileName` (and the line, where there
// is one) for a file that cannot be read at all: not GEDCOM, a version other than 5.5.x or
// 7.x, UTF-16, or bytes that do not match the declared encoding.
GedcomFile readGedcom(std::string bytes, const std::string& fileName);

// True for a tag of GEDCOM 5.5.1 or 7.0.
bool isStandardGedcomTag(std::string_view tag);

} // namespace converter
