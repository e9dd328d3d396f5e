#pragma once

// The two file conversions, each with a small input and the output the rules
// give for it, so that one test can run over both.

#include <ostream>
#include <string>


namespace iwv::test {

struct Conversion {
    const char* name;
    const char* outputName;  // the file the library writes
    const char* input;
    const char* output;  // what the rules give for input
    void (*convert)(const std::string& inputPath, const std::string& outputPath);
};

inline void PrintTo(const Conversion& c, std::ostream* out) { *out << c.name; }
inline void PrintTo(const Conversion* c, std::ostream* out) { *out << c->name; }

// The goods file to the lookup file, with the default name length and price
// level, and the terminal data file to the count file.
const Conversion& LookupConversion();
const Conversion& CountConversion();

}  // namespace iwv::test
