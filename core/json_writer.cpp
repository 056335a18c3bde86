#include "core/json_writer.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace core {

std::string jsonQuote(std::string_view s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    out += '"';
    return out;
}

void JsonWriter::separate() {
    if (needComma_) {
        out_ += ',';
    }
    needComma_ = true;
}

void JsonWriter::beginObject() {
    separate();
    out_ += '{';
    needComma_ = false;
}

void JsonWriter::endObject() {
    out_ += '}';
    needComma_ = true;
}

void JsonWriter::beginArray() {
    separate();
    out_ += '[';
    needComma_ = false;
}

void JsonWriter::endArray() {
    out_ += ']';
    needComma_ = true;
}

void JsonWriter::key(std::string_view name) {
    separate();
    out_ += jsonQuote(name);
    out_ += ':';
    needComma_ = false;
}

void JsonWriter::value(std::string_view s) {
    separate();
    out_ += jsonQuote(s);
}

void JsonWriter::value(long n) {
    separate();
    out_ += std::to_string(n);
}

void JsonWriter::value(double n) {
    separate();
    if (std::isfinite(n) && n == std::floor(n) && std::fabs(n) < 1e15) {
        out_ += std::to_string(static_cast<long long>(n));
        return;
    }
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, n);
    out_.append(buf, end);
}

void JsonWriter::value(float n) {
    separate();
    if (std::isfinite(n) && n == std::floor(n) && std::fabs(n) < 1e7f) {
        out_ += std::to_string(static_cast<long>(n));
        return;
    }
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, n);
    out_.append(buf, end);
}

void JsonWriter::value(bool b) {
    separate();
    out_ += b ? "true" : "false";
}

} // namespace core
