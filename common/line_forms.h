// The value forms of the register files and the item reader that every register reader
// shares.
//
// A register line is a key and a value ("姓$(12)=,山田"). Integers are written with a sign
// position (a space, or "-") and one trailing space; numbers likewise, in the shortest
// decimal form that reads back to the same single-precision value; texts verbatim and
// unquoted. Readers take values by position: a line is a sequence of items separated by
// half-width commas and colons, an item may be quoted, and the line order is binding.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace common {

// " 12 ", "-1 ".
std::string formatInteger(long value);

// " 16 ", " 1.5 ", " .25 ", "-.5 ": whole values as integers, fractional ones in the
// shortest form that reads back to the same float, without the zero before the point.
std::string formatNumber(float value);

// Reads the whole lines and the items of one register file, keeping the line number for
// messages. Every failure throws FileError naming the file and the line.
class ItemReader {
public:
    // `bytes` are the file's raw (Shift-JIS) bytes; `fileName` is used in messages.
    ItemReader(std::string bytes, std::string fileName);

    // The next item as raw bytes: spaces before it skipped; quoted up to the next double
    // quote (commas and colons included, anything up to the next separator dropped);
    // otherwise up to a comma, a colon or the end of the line, trailing spaces dropped.
    // An item that ends at the end of a line moves the reader to the next line. The view
    // stays valid as long as the reader.
    std::string_view rawItem();
    // The next item decoded from Shift-JIS to UTF-8.
    std::string textItem();
    // The next item as a 16-bit integer; an empty item reads as 0. Refuses anything that
    // is not a whole number within -32768..32767.
    std::int16_t integerItem();
    // The next item as a 32-bit integer (person numbers of registers larger than tsubaki
    // reads); an empty item reads as 0.
    long longItem();
    // The next item as a single-precision number; an empty item reads as 0.
    float numberItem();

    // The rest of the current line as raw bytes (the whole line when at its start); moves
    // to the next line.
    std::string_view rawLine();

    // True when nothing is left to read.
    bool atEnd() const;
    // Whether the rest of the file can still give `needed` items (every item but the last
    // ends at a comma, a colon or a line break); reads no further than that.
    bool hasItems(std::uint64_t needed) const;
    // Refuses a count read from the file before anything is allocated for it: `count`
    // records of at least `itemsEach` items each must fit in what is left of the file.
    // `what` names the count in the message ("人数").
    void requireItems(long long count, long long itemsEach, std::string_view what) const;
    // 1-based number of the line the reader is on.
    int lineNumber() const { return line_; }
    const std::string& fileName() const { return fileName_; }

    // Throws FileError for the line of the last item or line read.
    [[noreturn]] void fail(const std::string& what) const;

private:
    // Refuses `raw` where a value of `kind` ("整数", "数値") belongs.
    [[noreturn]] void refuseValue(std::string_view raw, std::string_view kind) const;
    void requireData(const char* what);
    void nextLine();
    std::size_t lineEnd() const; // position of the end of the current line (before CR LF)

    std::string bytes_;
    std::string fileName_;
    std::size_t pos_ = 0;
    int line_ = 1;
    int itemLine_ = 1;
};

// Builds the bytes of a register file line by line: UTF-8 in, Shift-JIS with CR LF out.
// A text value that would not read back as written (see readsBackUnquoted) or that
// Shift-JIS cannot hold is refused with FileError naming the file and the key, so a
// register is never saved in a form it cannot be read from.
class LineWriter {
public:
    explicit LineWriter(std::string fileName) : fileName_(std::move(fileName)) {}

    // A line of fixed text (keys, headers); refused only when it cannot be encoded.
    void line(std::string_view utf8);
    // key + integer form: "当事者NO%(12)=," + " 12 ".
    void integer(std::string_view key, long value);
    // key + number form.
    void number(std::string_view key, float value);
    // key + text verbatim, checked to read back unquoted.
    void text(std::string_view key, std::string_view value);
    // A text in double quotes (may hold commas and colons, but no double quote or line
    // break) + "," + integer form; `label` names the value in messages.
    void quotedPair(std::string_view label, std::string_view value, long flag);

    const std::string& bytes() const { return bytes_; }
    std::string take() { return std::move(bytes_); }

private:
    [[noreturn]] void refuse(std::string_view key, std::string_view value,
                             const std::string& why) const;
    std::string encode(std::string_view key, std::string_view utf8) const;

    std::string fileName_;
    std::string bytes_;
};

// Parses a whole integer text with surrounding spaces (" 12 ", "-3"); empty is 0.
// Returns false for anything else or a value outside the 16-bit range.
bool parseInteger16(std::string_view text, std::int16_t& value);
// The same within the 32-bit range.
bool parseLong(std::string_view text, long& value);
// Parses a decimal number with surrounding spaces (" 1.5 ", ".5", "16"); empty is 0.
bool parseNumber(std::string_view text, float& value);

} // namespace common
