// A small writer of JSON text for the program's machine-readable outputs.
#pragma once

#include <string>
#include <string_view>

namespace core {

// Appends JSON tokens to a string, inserting the commas. Strings are UTF-8.
class JsonWriter {
public:
    void beginObject();
    void endObject();
    void beginArray();
    void endArray();
    void key(std::string_view name);
    void value(std::string_view s);
    void value(const char* s) { value(std::string_view(s)); }
    void value(long n);
    void value(int n) { value(static_cast<long>(n)); }
    void value(double n);
    void value(float n); // shortest form that reads back as the same float
    void value(bool b);

    const std::string& str() const { return out_; }

private:
    void separate();
    std::string out_;
    bool needComma_ = false;
};

std::string jsonQuote(std::string_view s);

} // namespace core
